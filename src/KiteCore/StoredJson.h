#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <expected>
#include <optional>

// The value encodings shared by the JSON files: UUIDs as upper-case hyphenated text,
// dates as seconds since 2001-01-01 00:00:00 UTC, counts as whole numbers.
namespace StoredJson {
QString uuidText(const QUuid &uuid);
// Accepts the 8-4-4-4-12 form in either case; braces or other forms are refused.
std::optional<QUuid> uuid(const QJsonValue &value);

double referenceSeconds(const QDateTime &date);
std::optional<QDateTime> date(const QJsonValue &value);

std::optional<int> integer(const QJsonValue &value);

// The document as a JSON array, or Qt's description of why it is not one.
std::expected<QJsonArray, QString> parseArray(const QByteArray &data);
QByteArray compact(const QJsonArray &array);
} // namespace StoredJson

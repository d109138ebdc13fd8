#pragma once

#include "KiteCore/SafeFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
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

// A whole stored list: every entry must decode, or the list is refused with the first fault.
template <typename Item>
std::expected<QList<Item>, QString> decodeList(const QByteArray &data)
{
    const auto array = parseArray(data);
    if (!array)
        return std::unexpected(array.error());
    QList<Item> items;
    items.reserve(array->size());
    for (qsizetype i = 0; i < array->size(); ++i) {
        if (!array->at(i).isObject())
            return std::unexpected(QStringLiteral("entry %1: not an object").arg(i + 1));
        const auto item = Item::fromJson(array->at(i).toObject());
        if (!item)
            return std::unexpected(QStringLiteral("entry %1: %2").arg(i + 1).arg(item.error()));
        items.append(*item);
    }
    return items;
}

// The list kept in a file: empty when there is no file yet, the reason when it cannot be read.
template <typename Item>
std::expected<QList<Item>, QString> readList(const QString &fileName)
{
    SafeFile::removeStaleTemporaries(fileName);
    const auto data = SafeFile::read(fileName);
    if (!data)
        return std::unexpected(data.error());
    if (!*data)
        return QList<Item>{};
    return decodeList<Item>(**data);
}

template <typename Item>
QByteArray encodeList(const QList<Item> &items)
{
    QJsonArray array;
    for (const Item &item : items)
        array.append(item.toJson());
    return compact(array);
}
} // namespace StoredJson

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

// The JSON files of the local stores: their value encodings (UUIDs as upper-case hyphenated
// text, dates as seconds since 2001-01-01 00:00:00 UTC, counts as whole numbers) and the
// loading and saving of a whole stored list.
namespace StoredJson {
// Far more than any list a store writes (its entries are bounded in number and size); a
// larger file is damaged, and is never read into memory whole.
constexpr qint64 maxFileBytes = 4 * 1024 * 1024;

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

// Copies a file that cannot be read aside before the next save replaces it; the text says
// why it could not be read and where the copy went, in the interface language.
QString keepDamaged(const QString &fileName, const QDateTime &at, const QString &reason);

// The list kept in a store's file: empty when there is no file yet. A file that cannot be
// read or decoded is kept aside first (keepDamaged), whose text is the failure.
template <typename Item>
std::expected<QList<Item>, QString> loadList(const QString &fileName, const QDateTime &now)
{
    SafeFile::removeStaleTemporaries(fileName);
    const auto data = SafeFile::read(fileName, maxFileBytes);
    if (!data)
        return std::unexpected(keepDamaged(fileName, now, data.error()));
    if (!*data)
        return QList<Item>{};
    auto items = decodeList<Item>(**data);
    if (!items)
        return std::unexpected(keepDamaged(fileName, now, items.error()));
    return items;
}

// Replaces the store's file with the whole list, as one compact array.
template <typename Item>
std::expected<void, QString> saveList(const QString &fileName, const QList<Item> &items)
{
    QJsonArray array;
    for (const Item &item : items)
        array.append(item.toJson());
    return SafeFile::write(fileName, compact(array));
}
} // namespace StoredJson

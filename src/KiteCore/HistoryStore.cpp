#include "HistoryStore.h"

#include "SafeFile.h"
#include "StoredJson.h"

#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

std::expected<QList<HistoryItem>, QString> decode(const QByteArray &data)
{
    const auto array = StoredJson::parseArray(data);
    if (!array)
        return std::unexpected(array.error());
    QList<HistoryItem> items;
    items.reserve(array->size());
    for (qsizetype i = 0; i < array->size(); ++i) {
        if (!array->at(i).isObject())
            return std::unexpected(QStringLiteral("entry %1: not an object").arg(i + 1));
        const auto item = HistoryItem::fromJson(array->at(i).toObject());
        if (!item)
            return std::unexpected(QStringLiteral("entry %1: %2").arg(i + 1).arg(item.error()));
        items.append(*item);
    }
    return items;
}

QByteArray encode(const QList<HistoryItem> &items)
{
    QJsonArray array;
    for (const HistoryItem &item : items)
        array.append(item.toJson());
    return StoredJson::compact(array);
}

std::optional<double> validDuration(std::optional<double> duration)
{
    if (duration && std::isfinite(*duration) && *duration > 0)
        return duration;
    return std::nullopt;
}

} // namespace

HistoryStore::HistoryStore(QString fileName, Clock now)
    : m_fileName(std::move(fileName))
    , m_now(std::move(now))
{
    load();
}

std::optional<HistoryItem> HistoryStore::item(const QUrl &matching) const
{
    const QString key = matching.toString(QUrl::FullyEncoded);
    for (const HistoryItem &entry : m_items) {
        if (entry.urlString == key)
            return entry;
    }
    return std::nullopt;
}

HistoryItem HistoryStore::record(const MediaSource &source)
{
    const QString key = source.urlString();
    const QDateTime now = m_now();
    std::optional<QString> thumbnail;
    if (source.thumbnailURL())
        thumbnail = source.thumbnailURL()->toString(QUrl::FullyEncoded);

    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).urlString != key)
            continue;
        HistoryItem existing = m_items.takeAt(i);
        existing.lastOpened = now;
        // A count read from a hand-edited file may already sit at the top.
        if (existing.openCount < std::numeric_limits<int>::max())
            ++existing.openCount;
        existing.title = source.title();
        existing.subtitle = source.subtitle();
        existing.kind = source.kind();
        if (thumbnail)
            existing.thumbnailURLString = thumbnail;
        m_items.prepend(existing);
        persist();
        return existing;
    }

    HistoryItem fresh;
    fresh.id = QUuid::createUuid();
    fresh.urlString = key;
    fresh.title = source.title();
    fresh.subtitle = source.subtitle();
    fresh.kind = source.kind();
    fresh.lastOpened = now;
    fresh.thumbnailURLString = thumbnail;
    m_items.prepend(fresh);
    trimToLimit(fresh.id);
    persist();
    return fresh;
}

void HistoryStore::remove(const QUuid &id)
{
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    m_items.removeAt(index);
    persist();
}

void HistoryStore::clear()
{
    m_items.clear();
    persist();
}

void HistoryStore::setFavorite(const QUuid &id, bool isFavorite)
{
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    m_items[index].isFavorite = isFavorite;
    persist();
}

void HistoryStore::updateTitle(const QUuid &id, const QString &title)
{
    const QString trimmed = title.trimmed();
    const qsizetype index = indexOf(id);
    if (trimmed.isEmpty() || index < 0 || m_items.at(index).title == trimmed)
        return;
    m_items[index].title = trimmed;
    persist();
}

void HistoryStore::updateThumbnail(const QUuid &id, const QString &thumbnailURLString)
{
    const QString trimmed = thumbnailURLString.trimmed();
    const qsizetype index = indexOf(id);
    if (trimmed.isEmpty() || index < 0 || m_items.at(index).thumbnailURLString == trimmed)
        return;
    m_items[index].thumbnailURLString = trimmed;
    persist();
}

void HistoryStore::updateResume(const QUuid &id, double seconds, std::optional<double> duration)
{
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    const std::optional<double> length = validDuration(duration);
    double position = std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
    if (length && position > *length)
        position = *length;
    m_items[index].resumeSeconds = position;
    m_items[index].durationSeconds = length;
    persist();
}

void HistoryStore::load()
{
    if (const auto folder = SafeFile::ensureFolder(QFileInfo(m_fileName).absolutePath()); !folder) {
        m_persistenceError = QStringLiteral("无法创建历史记录目录：") + folder.error();
        return;
    }
    SafeFile::removeStaleTemporaries(m_fileName);
    const auto data = SafeFile::read(m_fileName);
    if (!data) {
        failLoad(data.error());
        return;
    }
    if (!*data)
        return;
    auto decoded = decode(**data);
    if (!decoded) {
        failLoad(decoded.error());
        return;
    }
    m_items = std::move(*decoded);
}

// The next save replaces the file, so the damaged one is kept aside first.
void HistoryStore::failLoad(const QString &reason)
{
    const auto copy = SafeFile::keepDamagedCopy(m_fileName, m_now());
    const QString kept = copy ? QStringLiteral("（原文件已另存为：%1）").arg(*copy)
                              : QStringLiteral("（原文件无法另存：%1）").arg(copy.error());
    m_persistenceError = QStringLiteral("历史记录读取失败：") + reason + kept;
}

void HistoryStore::persist()
{
    const auto written = SafeFile::write(m_fileName, encode(m_items));
    if (written)
        m_persistenceError.reset();
    else
        m_persistenceError = QStringLiteral("历史记录保存失败：") + written.error();
}

void HistoryStore::trimToLimit(const QUuid &protecting)
{
    while (m_items.size() > maxItems) {
        qsizetype victim = -1;
        for (qsizetype i = m_items.size() - 1; i >= 0 && victim < 0; --i) {
            if (!m_items.at(i).isFavorite && m_items.at(i).id != protecting)
                victim = i;
        }
        if (victim < 0)
            return;
        m_items.removeAt(victim);
    }
}

qsizetype HistoryStore::indexOf(const QUuid &id) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).id == id)
            return i;
    }
    return -1;
}

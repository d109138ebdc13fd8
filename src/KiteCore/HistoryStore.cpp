#include "KiteCore/HistoryStore.h"

#include "KiteCore/L10n.h"
#include "KiteCore/SafeFile.h"
#include "KiteCore/StoredJson.h"
#include "KiteCore/TextBounds.h"

#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

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

QUrl HistoryStore::fileURL() const
{
    return QUrl::fromLocalFile(m_fileName);
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
    const QString trimmed = TextBounds::title(title.trimmed());
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
    if (trimmed.isEmpty() || !TextBounds::fitsURL(trimmed) || index < 0
        || m_items.at(index).thumbnailURLString == trimmed)
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
        m_persistenceError = L("无法创建历史记录目录：", "Couldn't create the history folder: ",
                               "No se ha podido crear la carpeta del historial: ")
                             + folder.error();
        return;
    }
    auto items = StoredJson::loadList<HistoryItem>(m_fileName, m_now());
    if (items)
        m_items = std::move(*items);
    else
        m_persistenceError = L("历史记录读取失败：", "Couldn't read the history: ",
                               "No se ha podido leer el historial: ")
                             + items.error();
}

void HistoryStore::persist()
{
    const auto saved = StoredJson::saveList(m_fileName, m_items);
    if (saved)
        m_persistenceError.reset();
    else
        m_persistenceError = L("历史记录保存失败：", "Couldn't save the history: ",
                               "No se ha podido guardar el historial: ")
                             + saved.error();
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

#pragma once

#include "windows/PlaylistItem.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>

// The play queue, in play order, mirrored to one JSON file. At most 200 entries, one per
// URL. Never throws: the last load or save failure is kept in persistenceError().
class PlaylistStore final
{
public:
    using Clock = std::function<QDateTime()>;

    static constexpr qsizetype maxItems = 200;

    explicit PlaylistStore(QString fileName, Clock now = &QDateTime::currentDateTimeUtc);

    const QList<PlaylistItem> &items() const { return m_items; }
    const std::optional<QString> &persistenceError() const { return m_persistenceError; }
    // The JSON file, fixed at construction.
    QUrl fileURL() const;

    // Appends the entries whose URL is not queued yet, up to the limit; saves when any
    // was added. Returns how many were appended.
    int add(const QList<PlaylistItem> &newItems);
    // Removes every entry with this id and saves, also when none matched.
    void remove(const QUuid &id);
    // Empties the queue without saving; the caller saves with persist().
    void clearItems();
    void persist();

private:
    void load();
    bool contains(const QString &urlString) const;

    QString m_fileName;
    Clock m_now;
    QList<PlaylistItem> m_items;
    std::optional<QString> m_persistenceError;
};

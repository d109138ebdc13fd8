#pragma once

#include "KiteCore/HistoryItem.h"
#include "KiteCore/MediaSource.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>

// The recent-history list, most recently opened first, mirrored to one JSON file after
// every change. Holds at most maxItems entries but never drops a favourite. Never throws:
// the last load or save failure is kept in persistenceError(). Main thread only.
class HistoryStore final
{
public:
    using Clock = std::function<QDateTime()>;

    static constexpr int maxItems = 30;

    explicit HistoryStore(QString fileName, Clock now = &QDateTime::currentDateTimeUtc);

    const QList<HistoryItem> &items() const { return m_items; }
    const std::optional<QString> &persistenceError() const { return m_persistenceError; }
    // The JSON file, fixed at construction.
    QUrl fileURL() const;

    // The first entry recorded for exactly this URL.
    std::optional<HistoryItem> item(const QUrl &matching) const;

    HistoryItem record(const MediaSource &source);
    void remove(const QUuid &id);
    void clear();
    void setFavorite(const QUuid &id, bool isFavorite);
    void updateTitle(const QUuid &id, const QString &title);
    void updateThumbnail(const QUuid &id, const QString &thumbnailURLString);
    void updateResume(const QUuid &id, double seconds, std::optional<double> duration);

private:
    void load();
    void persist();
    void trimToLimit(const QUuid &protecting);
    qsizetype indexOf(const QUuid &id) const;

    QString m_fileName;
    Clock m_now;
    QList<HistoryItem> m_items;
    std::optional<QString> m_persistenceError;
};

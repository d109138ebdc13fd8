#pragma once

#include "KiteCore/HistoryItem.h"

#include <QAbstractListModel>
#include <QImage>
#include <QList>
#include <QTimer>

class ThumbnailLoader;

// History entries for a list view: the rows of Recent or Favorites. Thumbnails come from the
// loader as they arrive; the relative times are redrawn every minute.
class HistoryListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int tickMs = 60 * 1000;

    explicit HistoryListModel(ThumbnailLoader &thumbnails, QObject *parent = nullptr);

    void setItems(const QList<HistoryItem> &items);
    const HistoryItem &item(int row) const { return m_items.at(row); }
    // Null while there is none (yet).
    QImage thumbnail(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    void thumbnailReady(const QString &urlString);

    ThumbnailLoader &m_thumbnails;
    QList<HistoryItem> m_items;
    QTimer m_tick;
};

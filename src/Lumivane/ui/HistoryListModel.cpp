#include "ui/HistoryListModel.h"

#include "app/ThumbnailLoader.h"

HistoryListModel::HistoryListModel(ThumbnailLoader &thumbnails, QObject *parent)
    : QAbstractListModel(parent)
    , m_thumbnails(thumbnails)
{
    connect(&m_thumbnails, &ThumbnailLoader::ready, this, &HistoryListModel::thumbnailReady);
    m_tick.setInterval(tickMs);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        if (!m_items.isEmpty())
            Q_EMIT dataChanged(index(0), index(rowCount() - 1));
    });
    m_tick.start();
}

void HistoryListModel::setItems(const QList<HistoryItem> &items)
{
    beginResetModel();
    m_items = items;
    endResetModel();
}

QImage HistoryListModel::thumbnail(int row) const
{
    const std::optional<QString> &url = m_items.at(row).thumbnailURLString;
    return url ? m_thumbnails.image(*url) : QImage();
}

int HistoryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant HistoryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const HistoryItem &entry = m_items.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return entry.title;
    if (role == Qt::ToolTipRole)
        return entry.urlString;
    return {};
}

void HistoryListModel::thumbnailReady(const QString &urlString)
{
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row).thumbnailURLString == urlString)
            Q_EMIT dataChanged(index(row), index(row));
    }
}

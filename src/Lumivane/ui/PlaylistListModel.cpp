#include "ui/PlaylistListModel.h"

void PlaylistListModel::setItems(const QList<PlaylistItem> &items)
{
    beginResetModel();
    m_items = items;
    endResetModel();
}

void PlaylistListModel::setCurrent(const std::optional<QUuid> &id)
{
    m_current = id;
    if (!m_items.isEmpty())
        Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}

int PlaylistListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant PlaylistListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const PlaylistItem &entry = m_items.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return entry.title;
    if (role == Qt::ToolTipRole)
        return entry.urlString;
    return {};
}

#pragma once

#include "windows/PlaylistItem.h"

#include <QAbstractListModel>
#include <QList>
#include <QUuid>

#include <optional>

// Playlist entries for a list view, with the entry that plays now.
class PlaylistListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setItems(const QList<PlaylistItem> &items);
    void setCurrent(const std::optional<QUuid> &id);
    const PlaylistItem &item(int row) const { return m_items.at(row); }
    bool isCurrent(int row) const { return m_current == m_items.at(row).id; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QList<PlaylistItem> m_items;
    std::optional<QUuid> m_current;
};

#pragma once

#include "ui/ListRowDelegate.h"

class PlaylistListModel;

// A playlist row: two-digit position, a globe or film symbol, title and subtitle, "Playing"
// on the current entry; Play and remove.
class PlaylistRowDelegate final : public ListRowDelegate
{
    Q_OBJECT

public:
    enum ButtonIndex { playButton, removeButton };

    explicit PlaylistRowDelegate(const PlaylistListModel &model, QObject *parent = nullptr);

protected:
    QList<Button> buttons(const QModelIndex &index) const override;
    void paintContent(QPainter &painter, const QRect &rect, const QModelIndex &index) const override;
    int rowHeight() const override;

private:
    const PlaylistListModel &m_model;
};

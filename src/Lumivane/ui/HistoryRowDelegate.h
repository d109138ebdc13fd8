#pragma once

#include "ui/ListRowDelegate.h"

class HistoryListModel;

// A history row: thumbnail (or a placeholder with the kind's symbol and the host's initial),
// title, subtitle, kind, relative time and how much was watched; Open, star and remove.
class HistoryRowDelegate final : public ListRowDelegate
{
    Q_OBJECT

public:
    enum ButtonIndex { openButton, favoriteButton, removeButton };

    explicit HistoryRowDelegate(const HistoryListModel &model, QObject *parent = nullptr);

protected:
    QList<Button> buttons(const QModelIndex &index) const override;
    void paintContent(QPainter &painter, const QRect &rect, const QModelIndex &index) const override;
    int rowHeight() const override;

private:
    void paintThumbnail(QPainter &painter, const QRect &rect, int row) const;
    void paintProgress(QPainter &painter, const QRect &thumbnail, double progress) const;

    const HistoryListModel &m_model;
};

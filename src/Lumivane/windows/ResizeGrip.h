#pragma once

#include <QPoint>
#include <QWidget>

// An invisible strip along one edge or corner of a frameless window. Hovering it shows the
// matching resize cursor; pressing it asks the window to resize from those edges.
class ResizeGrip final : public QWidget
{
    Q_OBJECT

public:
    ResizeGrip(Qt::Edges edges, QWidget *parent);

    Qt::Edges edges() const { return m_edges; }
    // Where this grip sits in a window of the given size: edges a band thick, corners a
    // square of cornerLength.
    QRect area(const QSize &window, int band, int cornerLength) const;

Q_SIGNALS:
    void pressed(Qt::Edges edges, const QPoint &globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    Qt::Edges m_edges;
};

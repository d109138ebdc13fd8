#include "ui/ControlBar.h"

#include "ui/DesignSystem.h"

#include <QMouseEvent>
#include <QPainter>

ControlBar::ControlBar(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ControlBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DesignSystem::paintBar(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void ControlBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT backgroundPressed();
    event->accept();
}

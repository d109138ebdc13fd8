#include "ControlBar.h"

#include "DesignSystem.h"

#include <QMouseEvent>
#include <QPainter>

ControlBar::ControlBar(Style style, QWidget *parent)
    : QWidget(parent), m_style(style)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ControlBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_style == Style::bar)
        DesignSystem::paintBar(painter, area);
    else
        DesignSystem::paintPanel(painter, area);
}

void ControlBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT backgroundPressed();
    event->accept();
}

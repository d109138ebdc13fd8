#include "ui/ControlBar.h"

#include "ui/DesignSystem.h"

#include <QMouseEvent>
#include <QPainter>

ControlBar::ControlBar(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

// The bar is repainted with every video frame beneath it; its shape is drawn once per size.
void ControlBar::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_background.size() != size() * ratio || m_background.devicePixelRatio() != ratio) {
        m_background = QPixmap(size() * ratio);
        m_background.setDevicePixelRatio(ratio);
        m_background.fill(Qt::transparent);
        QPainter painter(&m_background);
        DesignSystem::paintBar(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    QPainter(this).drawPixmap(0, 0, m_background);
}

void ControlBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT backgroundPressed();
    event->accept();
}

#include "windows/ResizeGrip.h"

#include "windows/FloatingPanel.h"

#include <QMouseEvent>

#include <algorithm>

namespace {

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = edges == (Qt::TopEdge | Qt::LeftEdge)
            || edges == (Qt::BottomEdge | Qt::RightEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    return horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

} // namespace

ResizeGrip::ResizeGrip(Qt::Edges edges, QWidget *parent)
    : QWidget(parent)
    , m_edges(edges)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(cursorFor(edges));
    FloatingPanel::markInteractive(*this);
}

QRect ResizeGrip::area(const QSize &window, int band, int cornerLength) const
{
    const int w = window.width();
    const int h = window.height();
    const bool corner = (m_edges & (Qt::LeftEdge | Qt::RightEdge))
        && (m_edges & (Qt::TopEdge | Qt::BottomEdge));
    const int across = corner ? cornerLength : band;
    const int x = m_edges & Qt::LeftEdge ? 0 : m_edges & Qt::RightEdge ? w - across : cornerLength;
    const int y = m_edges & Qt::TopEdge ? 0 : m_edges & Qt::BottomEdge ? h - across : cornerLength;
    const int width = (m_edges & (Qt::LeftEdge | Qt::RightEdge)) ? across : w - 2 * cornerLength;
    const int height = (m_edges & (Qt::TopEdge | Qt::BottomEdge)) ? across : h - 2 * cornerLength;
    return {x, y, std::max(width, 0), std::max(height, 0)};
}

void ResizeGrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    Q_EMIT pressed(m_edges, event->globalPosition().toPoint());
}

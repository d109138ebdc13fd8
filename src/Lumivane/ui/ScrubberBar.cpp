#include "ui/ScrubberBar.h"

#include "ui/DesignSystem.h"
#include "KiteCore/L10n.h"
#include "ui/OverlayRules.h"

#include "windows/FloatingPanel.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr double trackHeight = 4;
constexpr double knobRadius = 6;
} // namespace

ScrubberBar::ScrubberBar(QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(L("播放位置", "Playback position", "Posición de reproducción"));
    setCursor(Qt::PointingHandCursor);
    // Scrubbing stays possible in drag mode.
    FloatingPanel::markInteractive(*this);
    setMinimumHeight(18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ScrubberBar::sizeHint() const
{
    return {200, 18};
}

void ScrubberBar::setProgress(double elapsed, double duration)
{
    m_duration = std::isfinite(duration) && duration > 0 ? duration : 0;
    if (!m_scrubbing)
        m_value = std::isfinite(elapsed) && elapsed > 0 ? elapsed : 0;
    update();
}

QRectF ScrubberBar::trackRect() const
{
    const double y = (height() - trackHeight) / 2;
    return {knobRadius, y, std::max(1.0, width() - 2 * knobRadius), trackHeight};
}

double ScrubberBar::fractionAt(double x) const
{
    const QRectF track = trackRect();
    return (x - track.left()) / track.width();
}

void ScrubberBar::dragTo(double x)
{
    m_value = OverlayRules::scrubSeconds(fractionAt(x), m_duration);
    Q_EMIT valueChanged(m_value);
    update();
}

void ScrubberBar::mousePressEvent(QMouseEvent *event)
{
    // Without a known length (live streams) there is nowhere to seek to.
    if (event->button() != Qt::LeftButton || m_duration <= 0) {
        event->ignore();
        return;
    }
    m_scrubbing = true;
    Q_EMIT scrubbingChanged(true);
    dragTo(event->position().x());
}

void ScrubberBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_scrubbing)
        dragTo(event->position().x());
}

void ScrubberBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_scrubbing || event->button() != Qt::LeftButton)
        return;
    dragTo(event->position().x());
    m_scrubbing = false;
    Q_EMIT scrubbingChanged(false);
    Q_EMIT seekRequested(m_value);
}

void ScrubberBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        cancelDrag();
}

void ScrubberBar::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    cancelDrag();
}

void ScrubberBar::cancelDrag()
{
    if (!m_scrubbing)
        return;
    m_scrubbing = false;
    Q_EMIT scrubbingChanged(false);
    update();
}

void ScrubberBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(DesignSystem::disabledOpacity);
    const QRectF track = trackRect();
    const double fraction = m_duration > 0 ? std::clamp(m_value / m_duration, 0.0, 1.0) : 0.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 70));
    painter.drawRoundedRect(track, trackHeight / 2, trackHeight / 2);
    QRectF played = track;
    played.setWidth(track.width() * fraction);
    painter.setBrush(DesignSystem::accent());
    painter.drawRoundedRect(played, trackHeight / 2, trackHeight / 2);
    const double radius = m_scrubbing || underMouse() ? knobRadius : knobRadius - 1.5;
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(played.right(), track.center().y()), radius, radius);
}

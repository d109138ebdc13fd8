#include "ui/ToggleSwitch.h"

#include "ui/DesignSystem.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int trackWidth = 38;
constexpr int trackHeight = 22;
constexpr int knobMargin = 3;
} // namespace

ToggleSwitch::ToggleSwitch(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

void ToggleSwitch::setOffColor(const QColor &color)
{
    m_offColor = color;
    update();
}

QSize ToggleSwitch::sizeHint() const
{
    return {trackWidth + 4, trackHeight + 4};
}

void ToggleSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(2, 2, trackWidth, trackHeight);
    if (hasFocus()) {
        painter.setPen(QPen(DesignSystem::accent(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-1.5, -1.5, 1.5, 1.5), trackHeight / 2.0 + 1.5,
                                trackHeight / 2.0 + 1.5);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? DesignSystem::accent() : m_offColor);
    painter.drawRoundedRect(track, trackHeight / 2.0, trackHeight / 2.0);
    const double knob = trackHeight - 2 * knobMargin;
    const double x = isChecked() ? track.right() - knobMargin - knob : track.left() + knobMargin;
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QRectF(x, track.top() + knobMargin, knob, knob));
    if (!isEnabled()) {
        painter.setBrush(QColor(128, 128, 128, 120));
        painter.drawRoundedRect(track, trackHeight / 2.0, trackHeight / 2.0);
    }
}

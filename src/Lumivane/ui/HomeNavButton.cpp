#include "ui/HomeNavButton.h"

#include "ui/DesignSystem.h"
#include "ui/HomeLook.h"

#include <QFocusEvent>
#include <QPainter>

namespace {
constexpr int rowHeight = 38;
constexpr int symbolSize = 18;
} // namespace

HomeNavButton::HomeNavButton(const QString &icon, const QString &title, QWidget *parent)
    : QAbstractButton(parent)
    , m_icon(icon)
    , m_palette(ShellLook::palette(true))
{
    setText(title);
    setAccessibleName(title);
    setCheckable(true);
    setAutoExclusive(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setLook(m_palette);
}

void HomeNavButton::setLook(const ShellLook::Palette &palette)
{
    m_palette = palette;
    m_normal = ShellLook::tintedIcon(m_icon, palette.secondary, symbolSize);
    m_selected = ShellLook::tintedIcon(m_icon, DesignSystem::accent(), symbolSize);
    update();
}

void HomeNavButton::setBadge(int count)
{
    if (m_badge == count)
        return;
    m_badge = count;
    update();
}

QSize HomeNavButton::sizeHint() const
{
    return {180, rowHeight};
}

void HomeNavButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void HomeNavButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void HomeNavButton::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void HomeNavButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (isChecked() || m_hovered) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(isChecked() ? HomeLook::accentTint(m_palette) : m_palette.cardHover);
        painter.drawRoundedRect(box, 9, 9);
    }
    const QRect iconRect(12, (rowHeight - symbolSize) / 2, symbolSize, symbolSize);
    (isChecked() ? m_selected : m_normal).paint(&painter, iconRect);

    QFont font = painter.font();
    font.setPixelSize(13);
    font.setWeight(isChecked() ? QFont::DemiBold : QFont::Normal);
    painter.setFont(font);
    painter.setPen(m_palette.text);
    int right = width() - 10;
    if (m_badge > 0) {
        QFont small = font;
        small.setPixelSize(11);
        small.setWeight(QFont::DemiBold);
        const QString count = QString::number(m_badge);
        const int badgeWidth = std::max(22, QFontMetrics(small).horizontalAdvance(count) + 12);
        const QRectF badge(right - badgeWidth, (rowHeight - 18) / 2.0, badgeWidth, 18);
        painter.setPen(Qt::NoPen);
        painter.setBrush(isChecked() ? DesignSystem::accent() : m_palette.cardHover);
        painter.drawRoundedRect(badge, 9, 9);
        painter.setFont(small);
        painter.setPen(isChecked() ? QColor(Qt::white) : m_palette.secondary);
        painter.drawText(badge, Qt::AlignCenter, count);
        painter.setFont(font);
        painter.setPen(m_palette.text);
        right = int(badge.left()) - 6;
    }
    const QRect textRect(iconRect.right() + 12, 0, right - iconRect.right() - 12, rowHeight);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     painter.fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
    if (hasFocus() && m_keyboardFocus) {
        painter.setPen(QPen(DesignSystem::accent(), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 8, 8);
    }
}

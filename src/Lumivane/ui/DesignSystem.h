#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class QAbstractButton;
class QLabel;
class QPainter;
class QPushButton;
class QRectF;
class QToolButton;
class QWidget;

// The overlay's look in one place: colours, sizes, icons and the widgets built from them.
namespace DesignSystem {
// Colours.
QColor accent();
QColor barTop();
QColor barBottom();
QColor panelBackground();
QColor textPrimary();
QColor textSecondary();
QColor danger();

// Sizes in device-independent pixels.
inline constexpr int spacing = 8;
inline constexpr int smallSpacing = 4;
inline constexpr int barMargin = 8;
inline constexpr int barPadding = 6;
inline constexpr int barRadius = 12;
inline constexpr int panelRadius = 14;
inline constexpr int buttonSize = 30;
inline constexpr int iconSize = 18;
// Controls that cannot act now are drawn at this opacity.
inline constexpr double disabledOpacity = 0.35;
inline constexpr int failureIconSize = 18;
inline constexpr double failureTintOpacity = 0.16;
// Durations in milliseconds.
inline constexpr int fadeMs = 180;

// A bundled icon by its file name without suffix, e.g. "play".
QIcon icon(const QString &name);
QString iconPath(const QString &name);

// A flat round icon button with a hover state; checkable ones light up when checked.
QToolButton *iconButton(const QString &iconName, const QString &toolTip, QWidget *parent);
void setButtonIcon(QAbstractButton &button, const QString &iconName);
// A rounded text button; primary ones use the accent colour.
QPushButton *pillButton(const QString &text, bool primary, QWidget *parent);
QLabel *caption(const QString &text, QWidget *parent);

// Dark translucent rounded background of the bars and panels.
void paintBar(QPainter &painter, const QRectF &rect);
// Opaque panels sit over other controls (popovers), translucent ones over the picture.
void paintPanel(QPainter &painter, const QRectF &rect, bool opaque = false);

// Style sheet for the overlay's widgets (buttons, sliders, menus, popovers).
QString styleSheet();
} // namespace DesignSystem

#include "ui/DesignSystem.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>

// The icons sit in a static library; their resource must be registered by hand. The macro
// declares a global function, so this cannot live inside a namespace.
static void registerIconResource()
{
    Q_INIT_RESOURCE(icons);
}

namespace DesignSystem {

QColor accent() { return QColor(0x4d, 0x9c, 0xff); }
QColor barTop() { return QColor(0, 0, 0, 150); }
QColor barBottom() { return QColor(0, 0, 0, 200); }
QColor panelBackground() { return QColor(20, 22, 26, 225); }
QColor textPrimary() { return QColor(255, 255, 255); }
QColor textSecondary() { return QColor(255, 255, 255, 170); }
QColor danger() { return QColor(0xff, 0x5f, 0x57); }

QString iconPath(const QString &name)
{
    static const bool registered = (registerIconResource(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/ui/icons/%1.svg").arg(name);
}

QIcon icon(const QString &name)
{
    // Drawn from the symbol once per screen scale, with a dimmed copy for the disabled
    // state: the style's own disabled look hardly changes a white symbol on the dark bars.
    const QIcon symbol(iconPath(name));
    QIcon drawn;
    for (const int scale : {1, 2}) {
        const QSize size(iconSize * scale, iconSize * scale);
        const QPixmap normal = symbol.pixmap(size);
        QPixmap dimmed(size);
        dimmed.fill(Qt::transparent);
        QPainter painter(&dimmed);
        painter.setOpacity(disabledOpacity);
        painter.drawPixmap(0, 0, normal);
        painter.end();
        drawn.addPixmap(normal, QIcon::Normal);
        drawn.addPixmap(dimmed, QIcon::Disabled);
    }
    return drawn;
}

void setButtonIcon(QAbstractButton &button, const QString &iconName)
{
    // Buttons are told their symbol on every playback update; drawing it is not free.
    if (button.property("iconName").toString() == iconName)
        return;
    button.setIcon(icon(iconName));
    // Tests and accessibility read which symbol is showing.
    button.setProperty("iconName", iconName);
}

QToolButton *iconButton(const QString &iconName, const QString &toolTip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    setButtonIcon(*button, iconName);
    button->setIconSize(QSize(iconSize, iconSize));
    button->setFixedSize(buttonSize, buttonSize);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    button->setObjectName(QStringLiteral("overlayIconButton"));
    return button;
}

QPushButton *pillButton(const QString &text, bool primary, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setProperty("overlayStyle", primary ? QStringLiteral("primary") : QStringLiteral("pill"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("overlayCaption"));
    label->setWordWrap(true);
    return label;
}

void paintBar(QPainter &painter, const QRectF &rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, barTop());
    gradient.setColorAt(1, barBottom());
    QPainterPath path;
    path.addRoundedRect(rect, barRadius, barRadius);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, gradient);
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
    painter.drawPath(path);
}

void paintPanel(QPainter &painter, const QRectF &rect, bool opaque)
{
    QPainterPath path;
    path.addRoundedRect(rect, panelRadius, panelRadius);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor background = panelBackground();
    if (opaque)
        background.setAlpha(255);
    painter.fillPath(path, background);
    painter.setPen(QPen(QColor(255, 255, 255, 36), 1));
    painter.drawPath(path);
}

QString styleSheet()
{
    return QStringLiteral(R"(
QToolButton#overlayIconButton { background: transparent; border: none; border-radius: 15px;
    color: white; font-weight: 600; }
QToolButton#overlayIconButton:hover { background: rgba(255,255,255,40); }
QToolButton#overlayIconButton:pressed { background: rgba(255,255,255,70); }
QToolButton#overlayIconButton:checked { background: rgba(77,156,255,150); }
QToolButton#overlayIconButton::menu-indicator { image: none; width: 0; }
QLabel { color: white; background: transparent; }
QLabel#overlayTitle, ElidedLabel#overlayTitle { color: white; font-weight: 600; }
QLabel#overlayTime { color: rgba(255,255,255,200); font-size: 11px; }
QLabel#overlayCaption { color: rgba(255,255,255,170); font-size: 11px; }
QLabel#overlayHeadline { font-size: 15px; font-weight: 600; }
QLabel#overlayToast { background: rgba(0,0,0,190); border-radius: 10px; padding: 7px 14px; }
QPushButton[overlayStyle="pill"], QPushButton[overlayStyle="primary"] {
    color: white; border-radius: 13px; padding: 5px 14px; min-height: 16px;
    background: rgba(255,255,255,36); border: 1px solid rgba(255,255,255,50); }
QPushButton[overlayStyle="pill"]:hover { background: rgba(255,255,255,64); }
QPushButton[overlayStyle="primary"] { background: #4d9cff; border: none; font-weight: 600; }
QPushButton[overlayStyle="primary"]:hover { background: #6aadff; }
QPushButton#overlayOptionButton { color: white; border: none; font-size: 11px;
    border-radius: 6px; padding: 4px 5px; background: rgba(255,255,255,18); }
QPushButton#overlayOptionButton:hover { background: rgba(255,255,255,40); }
QPushButton#overlayOptionButton:checked { background: rgba(77,156,255,150); }
QFrame#overlayPopover { background: rgb(28,30,35); border: 1px solid rgba(255,255,255,40);
    border-radius: 10px; }
QSlider::groove:horizontal { height: 4px; background: rgba(255,255,255,60); border-radius: 2px; }
QSlider::sub-page:horizontal { background: #4d9cff; border-radius: 2px; }
QSlider::handle:horizontal { background: white; width: 12px; height: 12px; margin: -4px 0;
    border-radius: 6px; }
QMenu { background: rgb(28,30,35); color: white; border: 1px solid rgba(255,255,255,40);
    padding: 4px; }
QMenu::item { padding: 5px 22px 5px 22px; border-radius: 5px; }
QMenu::item:selected { background: rgba(77,156,255,170); }
QMenu::item:disabled { color: rgba(255,255,255,120); }
QMenu::separator { height: 1px; background: rgba(255,255,255,40); margin: 4px 8px; }
)");
}

} // namespace DesignSystem

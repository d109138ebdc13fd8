#include "ui/ShellLook.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace ShellLook {


QString rgba(const QColor &color)
{
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

bool isDark(const QString &theme)
{
    if (theme == u"dark")
        return true;
    if (theme == u"light")
        return false;
    return QApplication::palette().color(QPalette::Window).lightness() < 128;
}

Palette palette(bool dark)
{
    if (dark) {
        return {true,
                QColor(24, 26, 31),
                QColor(255, 255, 255, 14),
                QColor(255, 255, 255, 30),
                QColor(255, 255, 255, 30),
                QColor(255, 255, 255),
                QColor(255, 255, 255, 150)};
    }
    return {false,
            QColor(248, 249, 251),
            QColor(0, 0, 0, 10),
            QColor(0, 0, 0, 22),
            QColor(0, 0, 0, 28),
            QColor(24, 26, 31),
            QColor(24, 26, 31, 150)};
}

QColor toneColor(PanelRules::Tone tone)
{
    switch (tone) {
    case PanelRules::Tone::playing: return QColor(0x34, 0xc7, 0x59);
    case PanelRules::Tone::loading: return QColor(0xf5, 0xa5, 0x24);
    case PanelRules::Tone::failed: return DesignSystem::danger();
    case PanelRules::Tone::hidden: return QColor(0x8e, 0x8e, 0x93);
    case PanelRules::Tone::idle: return DesignSystem::accent();
    }
    return DesignSystem::accent();
}

QIcon tintedIcon(const QString &name, const QColor &color, int size)
{
    const QIcon symbol(DesignSystem::iconPath(name));
    QIcon drawn;
    for (const int scale : {1, 2}) {
        QPixmap pixmap = symbol.pixmap(QSize(size * scale, size * scale));
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), color);
        painter.end();
        drawn.addPixmap(pixmap);
    }
    return drawn;
}

QIcon appIcon()
{
    return QIcon(DesignSystem::iconPath(QStringLiteral("lumivane")));
}

QString styleSheet(const Palette &p, const QString &rootName)
{
    return QStringLiteral(R"(
#%1 { background: %2; }
#%1 QLabel { color: %3; background: transparent; }
#%1 QLabel[shellRole="secondary"] { color: %4; font-size: 11px; }
#%1 QLabel[shellRole="title"], #%1 ElidedLabel { color: %3; font-weight: 600; }
#%1 QLabel[shellRole="heading"] { font-size: 20px; font-weight: 700; }
#%1 QLabel[shellRole="lead"] { font-size: 14px; }
#%1 QLabel[shellRole="keycap"] { background: %5; border: 1px solid %7; border-bottom-width: 2px;
    border-radius: 6px; padding: 3px 9px; font-weight: 600; }
#%1 QLabel[shellRole="section"] { color: %4; font-size: 11px; font-weight: 600; }
#%1 QFrame[shellRole="card"] { background: %5; border: 1px solid %7; border-radius: 10px; }
#%1 QFrame[shellRole="card"]:hover { background: %6; }
#%1 QFrame[shellRole="divider"] { background: %7; border: none; max-height: 1px; min-height: 1px; }
#%1 QToolButton { background: transparent; border: none; border-radius: 14px; color: %3; }
#%1 QToolButton:hover { background: %6; }
#%1 QToolButton[shellRole="text"] { border-radius: 8px; padding: 5px 10px; }
#%1 QPushButton { color: %3; background: %5; border: 1px solid %7; border-radius: 12px;
    padding: 4px 12px; min-height: 16px; }
#%1 QPushButton:hover { background: %6; }
#%1 QPushButton[shellRole="action"] { background: %5; border: 1px solid %7; border-radius: 10px;
    padding: 0; min-height: 74px; }
#%1 QPushButton[shellRole="action"]:hover { background: %6; }
#%1 QPushButton[shellRole="primary"] { color: white; background: #4d9cff; border: none;
    font-weight: 600; padding: 6px 18px; }
#%1 QPushButton[shellRole="primary"]:hover { background: #6aadff; }
#%1 QScrollArea, #%1 QScrollArea > QWidget > QWidget { background: transparent; border: none; }
#%1 QScrollBar:vertical { background: transparent; width: 8px; margin: 0; }
#%1 QScrollBar::handle:vertical { background: %7; border-radius: 4px; min-height: 24px; }
#%1 QScrollBar::add-line:vertical, #%1 QScrollBar::sub-line:vertical { height: 0; }
)")
        .arg(rootName, p.background.name(), p.text.name(), rgba(p.secondary), rgba(p.card),
             rgba(p.cardHover), rgba(p.border));
}

} // namespace ShellLook

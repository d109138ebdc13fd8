#include "ui/HomeLook.h"

#include "ui/DesignSystem.h"

#include <QLabel>

namespace HomeLook {

using ShellLook::rgba;

QColor accentTint(const ShellLook::Palette &palette)
{
    QColor tint = DesignSystem::accent();
    tint.setAlpha(palette.dark ? 46 : 34);
    return tint;
}

QString styleSheet(const ShellLook::Palette &p, const QString &rootName)
{
    const QColor sidebar = p.dark ? QColor(18, 20, 24) : QColor(238, 240, 244);
    const QColor field = p.dark ? QColor(255, 255, 255, 18) : QColor(255, 255, 255);
    const QColor danger = DesignSystem::danger();
    QColor dangerTint = danger;
    dangerTint.setAlpha(p.dark ? 30 : 22);
    return ShellLook::styleSheet(p, rootName) + QStringLiteral(R"(
#%1 QFrame#homeSidebar { background: %2; border: none; border-right: 1px solid %3; }
#%1 QLabel[shellRole="heading"] { font-size: 22px; font-weight: 700; }
#%1 QLabel[shellRole="cardTitle"] { font-size: 14px; font-weight: 600; }
#%1 QLabel[shellRole="brand"] { font-size: 15px; font-weight: 700; }
#%1 QLabel[shellRole="note"] { color: %4; font-size: 12px; }
#%1 QLabel[shellRole="pill"] { color: %5; background: %6; border-radius: 10px; padding: 2px 10px;
    font-size: 11px; font-weight: 600; }
#%1 QLabel[shellRole="emptyIcon"] { background: %6; border-radius: 28px; }
#%1 QFrame[shellRole="card"]:hover { background: %7; }
#%1 QFrame[shellRole="errorCard"] { background: %8; border: 1px solid %9; border-radius: 12px; }
#%1 QLineEdit { color: %5; background: %10; border: 1px solid %3; border-radius: 10px;
    padding: 8px 12px; font-size: 14px; selection-background-color: #4d9cff; }
#%1 QLineEdit:focus { border: 1px solid #4d9cff; }
#%1 QPushButton { border-radius: 10px; padding: 6px 14px; }
#%1 QPushButton:disabled { color: %4; }
#%1 QPushButton[shellRole="primary"]:disabled { background: %3; color: %4; }
#%1 QPushButton[shellRole="danger"] { color: %11; }
#%1 QListView { background: transparent; border: none; outline: none; }
)")
        .arg(rootName, sidebar.name(), rgba(p.border), rgba(p.secondary), p.text.name(),
             rgba(accentTint(p)), rgba(p.card), rgba(dangerTint), rgba(danger))
        .arg(rgba(field), danger.name());
}

QLabel *label(const QString &text, const QString &role, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setProperty("shellRole", role);
    result->setWordWrap(true);
    return result;
}

} // namespace HomeLook

#pragma once

#include "ui/DesignSystem.h"
#include "ui/PanelRules.h"

#include <QColor>
#include <QIcon>
#include <QString>

// The look of the shell's own surfaces (tray panel, onboarding): the overlay's design in a
// dark and a light variant.
namespace ShellLook {

struct Palette {
    bool dark = true;
    QColor background;
    QColor card;
    QColor cardHover;
    QColor border;
    QColor text;
    QColor secondary;
};

// "dark" and "light" as chosen; anything else follows the application's current palette.
bool isDark(const QString &theme);
Palette palette(bool dark);
QColor toneColor(PanelRules::Tone tone);

// A bundled symbol drawn in the given colour (the files are white).
QIcon tintedIcon(const QString &name, const QColor &color, int size = DesignSystem::iconSize);
// Lumivane's own icon: the tray, the brand mark, About.
QIcon appIcon();

// A colour in style-sheet form, alpha kept.
QString rgba(const QColor &color);

// Buttons, labels and cards of a surface whose root widget has the given object name.
QString styleSheet(const Palette &palette, const QString &rootName);

} // namespace ShellLook

#pragma once

#include "ui/ShellLook.h"

#include <QString>

class QLabel;
class QWidget;

// The home window's look on top of the shell's: sidebar, navigation, cards, the input field,
// badges and pills, in the dark and the light variant.
namespace HomeLook {

inline constexpr int sidebarWidth = 236;
inline constexpr int contentMargin = 28;
inline constexpr int cardPadding = 18;
inline constexpr int gap = 14;

QString styleSheet(const ShellLook::Palette &palette, const QString &rootName);
QColor accentTint(const ShellLook::Palette &palette);

// A label with a role of the shell's or this style sheet.
QLabel *label(const QString &text, const QString &role, QWidget *parent);

} // namespace HomeLook

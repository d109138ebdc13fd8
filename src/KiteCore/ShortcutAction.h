#pragma once

#include "KiteCore/ShortcutGroup.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

// The actions a global shortcut can be bound to. The order is fixed: it decides the
// hot-key ids, the order of conflict lists and the order of the settings screen.
enum class ShortcutAction {
    toggleAllWindows,
    playPause,
    pasteAndOpen,
    screenshot,
    windowSmall,
    windowStandard,
    windowLarge,
    windowPortrait,
    windowSquare,
    fitToVideo,
    moveTopLeft,
    moveTopRight,
    moveBottomLeft,
    moveBottomRight,
    moveCenter,
    opacityUp,
    opacityDown,
    togglePin,
    toggleCinema,
    windowScaleUp,
    windowScaleDown,
};

namespace ShortcutActions {
inline constexpr std::array<ShortcutAction, 21> allCases{
    ShortcutAction::toggleAllWindows, ShortcutAction::playPause,      ShortcutAction::pasteAndOpen,
    ShortcutAction::screenshot,       ShortcutAction::windowSmall,    ShortcutAction::windowStandard,
    ShortcutAction::windowLarge,      ShortcutAction::windowPortrait, ShortcutAction::windowSquare,
    ShortcutAction::fitToVideo,       ShortcutAction::moveTopLeft,    ShortcutAction::moveTopRight,
    ShortcutAction::moveBottomLeft,   ShortcutAction::moveBottomRight, ShortcutAction::moveCenter,
    ShortcutAction::opacityUp,        ShortcutAction::opacityDown,    ShortcutAction::togglePin,
    ShortcutAction::toggleCinema,     ShortcutAction::windowScaleUp,  ShortcutAction::windowScaleDown,
};

ShortcutGroup group(ShortcutAction action);
// The name the settings screen lists the action under, in the current language.
QString title(ShortcutAction action);
// 1-based position in allCases; the id the action is registered under with the hot-key service.
quint32 hotKeyID(ShortcutAction action);
// The action registered under hotKeyID; none for 0 and for ids past the last action.
std::optional<ShortcutAction> action(quint32 hotKeyID);
} // namespace ShortcutActions

QString toRaw(ShortcutAction action);
std::optional<ShortcutAction> shortcutActionFromRaw(const QString &raw);

size_t qHash(ShortcutAction action, size_t seed = 0) noexcept;

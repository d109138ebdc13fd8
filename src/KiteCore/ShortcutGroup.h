#pragma once

#include <QString>

#include <array>
#include <optional>

// The sections the settings screen lists the bindable actions under.
enum class ShortcutGroup { general, size, position, window };

namespace ShortcutGroups {
inline constexpr std::array<ShortcutGroup, 4> allCases{ShortcutGroup::general, ShortcutGroup::size,
                                                       ShortcutGroup::position, ShortcutGroup::window};

QString title(ShortcutGroup group);
} // namespace ShortcutGroups

QString toRaw(ShortcutGroup group);
std::optional<ShortcutGroup> shortcutGroupFromRaw(const QString &raw);

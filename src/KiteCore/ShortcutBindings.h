#pragma once

#include "KiteCore/KeyCombo.h"
#include "KiteCore/ShortcutAction.h"

#include <QList>
#include <QSet>
#include <QString>

#include <map>
#include <optional>

// A set of bindings; an action missing from the map is unbound.
using ShortcutBindingMap = std::map<ShortcutAction, KeyCombo>;

namespace ShortcutBindings {
// Ctrl+Alt+F toggles all windows, Ctrl+Alt+P plays/pauses, Ctrl+Alt+V pastes and opens.
ShortcutBindingMap defaults();

// The valid combinations bound to more than one action, each with its actions in allCases order.
std::map<KeyCombo, QList<ShortcutAction>> conflicts(const ShortcutBindingMap &bindings);
QSet<ShortcutAction> actionsInConflict(const ShortcutBindingMap &bindings);

// Compact JSON: {"playPause":{"keyCode":35,"modifiers":["control","option"]},...}
QString encode(const ShortcutBindingMap &bindings);
// None for empty text and for anything that is not a well-formed bindings object.
// Members with an unknown action name or without modifiers are dropped.
std::optional<ShortcutBindingMap> decode(const QString &text);
} // namespace ShortcutBindings

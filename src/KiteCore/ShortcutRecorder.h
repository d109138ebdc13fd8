#pragma once

#include "KiteCore/KeyCombo.h"
#include "KiteCore/ShortcutAction.h"
#include "KiteCore/ShortcutBindings.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// What the settings screen does with a key pressed while it records a new combination
// for one action. Kept free of widgets so the screen and the tests share one rule.
namespace ShortcutRecorder {

enum class Outcome {
    cancel, // Esc: stop recording, nothing changes
    clear,  // Backspace or Delete: unbind the action, stop recording
    reject, // not usable; show the hint and keep recording
    accept, // bind the combination, stop recording
};

struct Decision
{
    Outcome outcome = Outcome::cancel;
    // The combination pressed; bound on accept.
    KeyCombo combo;
    // The user-visible reason for a rejection, in the current language; empty otherwise.
    QString hint;
    // The action that already uses the combination, when that is why it was rejected.
    std::optional<ShortcutAction> usedBy;
};

Decision decide(ShortcutAction action, quint32 keyCode, const KeyCombo::ModifierSet &modifiers,
                const ShortcutBindingMap &bindings);

// The bindings after the decision has been carried out for action.
ShortcutBindingMap apply(const Decision &decision, ShortcutAction action,
                         ShortcutBindingMap bindings);

} // namespace ShortcutRecorder

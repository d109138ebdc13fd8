#include "KiteCore/ShortcutRecorder.h"

#include "KiteCore/L10n.h"

namespace {

constexpr quint32 escapeKey = 53;
constexpr quint32 backspaceKey = 51;
constexpr quint32 forwardDeleteKey = 117;
// Right Super (54) through Fn (63) are the modifier keys of the virtual key codes.
constexpr quint32 firstModifierKey = 54;
constexpr quint32 lastModifierKey = 63;

// Modifier keys (Super, Shift, Caps Lock, Alt, Ctrl, Fn) pressed on their own are not keys.
bool isModifierKey(quint32 keyCode)
{
    return keyCode >= firstModifierKey && keyCode <= lastModifierKey;
}

std::optional<ShortcutAction> firstOtherUser(ShortcutAction action, const KeyCombo &combo,
                                             const ShortcutBindingMap &bindings)
{
    for (ShortcutAction other : ShortcutActions::allCases) {
        if (other == action)
            continue;
        const auto bound = bindings.find(other);
        if (bound != bindings.end() && bound->second == combo)
            return other;
    }
    return std::nullopt;
}

} // namespace

namespace ShortcutRecorder {

Decision decide(ShortcutAction action, quint32 keyCode, const KeyCombo::ModifierSet &modifiers,
                const ShortcutBindingMap &bindings)
{
    const KeyCombo combo(keyCode, modifiers);
    if (keyCode == escapeKey)
        return {Outcome::cancel, combo, {}, std::nullopt};
    if (keyCode == backspaceKey || keyCode == forwardDeleteKey)
        return {Outcome::clear, combo, {}, std::nullopt};
    if (!combo.isValid() || isModifierKey(keyCode)) {
        return {Outcome::reject, combo,
                L("需要至少一个修饰键 + 普通键", "Use a modifier + a key",
                  "Usa un modificador + una tecla"),
                std::nullopt};
    }
    if (const std::optional<ShortcutAction> other = firstOtherUser(action, combo, bindings)) {
        const QString title = ShortcutActions::title(*other);
        return {Outcome::reject, combo,
                L(QStringLiteral("已被「") + title + QStringLiteral("」占用"),
                  QStringLiteral("Used by “") + title + QStringLiteral("”"),
                  QStringLiteral("Usado por «") + title + QStringLiteral("»")),
                other};
    }
    return {Outcome::accept, combo, {}, std::nullopt};
}

ShortcutBindingMap apply(const Decision &decision, ShortcutAction action,
                         ShortcutBindingMap bindings)
{
    switch (decision.outcome) {
    case Outcome::clear: bindings.erase(action); break;
    case Outcome::accept: bindings.insert_or_assign(action, decision.combo); break;
    case Outcome::cancel:
    case Outcome::reject: break;
    }
    return bindings;
}

} // namespace ShortcutRecorder

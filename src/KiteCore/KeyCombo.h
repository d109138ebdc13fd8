#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <compare>
#include <cstddef>
#include <optional>
#include <set>

// A key with the modifiers held with it. The key code is the portable virtual key code
// that stored bindings use (Return 36, Escape 53, "F" 3, ...); the platform's hot-key
// service maps it to its own key symbols.
class KeyCombo final
{
public:
    // Declaration order is the display order.
    enum class Modifier { control, option, shift, command };
    using ModifierSet = std::set<Modifier>;

    static constexpr std::array<Modifier, 4> allModifiers{Modifier::control, Modifier::option,
                                                          Modifier::shift, Modifier::command};

    KeyCombo() = default;
    KeyCombo(quint32 keyCode, ModifierSet modifiers);

    quint32 keyCode() const { return m_keyCode; }
    const ModifierSet &modifiers() const { return m_modifiers; }

    // A combination needs at least one modifier to be bound.
    bool isValid() const;
    // The OR of the modifiers' hot-key flags (control 4096, option 2048, shift 512, command 256).
    quint32 carbonModifiers() const;
    // As this desktop writes it: "Ctrl+Alt+F".
    QString displayString() const;

    static QString keyName(quint32 keyCode);
    static quint32 carbonFlag(Modifier modifier);
    static QString modifierName(Modifier modifier);

    friend bool operator==(const KeyCombo &, const KeyCombo &) = default;
    friend std::strong_ordering operator<=>(const KeyCombo &, const KeyCombo &) = default;

private:
    quint32 m_keyCode = 0;
    ModifierSet m_modifiers;
};

QString toRaw(KeyCombo::Modifier modifier);
std::optional<KeyCombo::Modifier> keyComboModifierFromRaw(const QString &raw);

size_t qHash(const KeyCombo &combo, size_t seed = 0) noexcept;

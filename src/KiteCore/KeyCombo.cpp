#include "KiteCore/KeyCombo.h"

#include "KiteCore/RawValue.h"

#include <QHashFunctions>
#include <QStringList>

#include <utility>

namespace {

// Names of the virtual key codes; gaps are codes without a name.
constexpr std::array<const char *, 127> keyNames = [] {
    std::array<const char *, 127> names{};
    constexpr std::array<const char *, 10> row0{"A", "S", "D", "F", "H", "G", "Z", "X", "C", "V"};
    for (std::size_t i = 0; i < row0.size(); ++i)
        names[i] = row0[i];
    constexpr std::array<const char *, 7> row11{"B", "Q", "W", "E", "R", "Y", "T"};
    for (std::size_t i = 0; i < row11.size(); ++i)
        names[11 + i] = row11[i];
    constexpr std::array<const char *, 18> row18{"1", "2", "3", "4", "6", "5", "=", "9", "7",
                                                 "-", "8", "0", "]", "O", "U", "[", "I", "P"};
    for (std::size_t i = 0; i < row18.size(); ++i)
        names[18 + i] = row18[i];
    names[36] = "Return";
    constexpr std::array<const char *, 11> row37{"L", "J", "'", "K", ";", "\\",
                                                 ",", "/", "N", "M", "."};
    for (std::size_t i = 0; i < row37.size(); ++i)
        names[37 + i] = row37[i];
    names[48] = "Tab";
    names[49] = "Space";
    names[50] = "`";
    names[51] = "Backspace";
    names[53] = "Esc";
    names[54] = names[55] = "Super";
    names[56] = names[60] = "Shift";
    names[57] = "Caps Lock";
    names[58] = names[61] = "Alt";
    names[59] = names[62] = "Ctrl";
    names[96] = "F5";
    names[97] = "F6";
    names[98] = "F7";
    names[99] = "F3";
    names[100] = "F8";
    names[101] = "F9";
    names[103] = "F11";
    names[109] = "F10";
    names[111] = "F12";
    names[114] = "Help";
    names[115] = "Home";
    names[116] = "Page Up";
    names[117] = "Delete";
    names[118] = "F4";
    names[119] = "End";
    names[120] = "F2";
    names[121] = "Page Down";
    names[122] = "F1";
    names[123] = "Left";
    names[124] = "Right";
    names[125] = "Down";
    names[126] = "Up";
    return names;
}();

} // namespace

KeyCombo::KeyCombo(quint32 keyCode, ModifierSet modifiers)
    : m_keyCode(keyCode)
    , m_modifiers(std::move(modifiers))
{
}

bool KeyCombo::isValid() const
{
    return !m_modifiers.empty();
}

quint32 KeyCombo::carbonModifiers() const
{
    quint32 flags = 0;
    for (Modifier modifier : m_modifiers)
        flags |= carbonFlag(modifier);
    return flags;
}

QString KeyCombo::displayString() const
{
    QStringList parts;
    // The set iterates in declaration order, which is the display order.
    for (Modifier modifier : m_modifiers)
        parts << modifierName(modifier);
    parts << keyName(m_keyCode);
    return parts.join(u'+');
}

QString KeyCombo::keyName(quint32 keyCode)
{
    if (keyCode < keyNames.size() && keyNames[keyCode] != nullptr)
        return QLatin1StringView(keyNames[keyCode]);
    return QStringLiteral("键码 ") + QString::number(keyCode);
}

quint32 KeyCombo::carbonFlag(Modifier modifier)
{
    switch (modifier) {
    case Modifier::control: return 4096;
    case Modifier::option: return 2048;
    case Modifier::shift: return 512;
    case Modifier::command: return 256;
    }
    return 0;
}

QString KeyCombo::modifierName(Modifier modifier)
{
    switch (modifier) {
    case Modifier::control: return QStringLiteral("Ctrl");
    case Modifier::option: return QStringLiteral("Alt");
    case Modifier::shift: return QStringLiteral("Shift");
    case Modifier::command: return QStringLiteral("Super");
    }
    return {};
}

QString toRaw(KeyCombo::Modifier modifier)
{
    switch (modifier) {
    case KeyCombo::Modifier::control: return QStringLiteral("control");
    case KeyCombo::Modifier::option: return QStringLiteral("option");
    case KeyCombo::Modifier::shift: return QStringLiteral("shift");
    case KeyCombo::Modifier::command: return QStringLiteral("command");
    }
    return QStringLiteral("control");
}

std::optional<KeyCombo::Modifier> keyComboModifierFromRaw(const QString &raw)
{
    return caseFromRaw(KeyCombo::allModifiers, raw);
}

size_t qHash(const KeyCombo &combo, size_t seed) noexcept
{
    return qHashMulti(seed, combo.keyCode(), combo.carbonModifiers());
}

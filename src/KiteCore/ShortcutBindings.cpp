#include "KiteCore/ShortcutBindings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <limits>

namespace {

using Modifier = KeyCombo::Modifier;

QJsonObject comboToJson(const KeyCombo &combo)
{
    QJsonArray modifiers;
    for (Modifier modifier : combo.modifiers())
        modifiers.append(toRaw(modifier));
    return QJsonObject{{QStringLiteral("keyCode"), static_cast<qint64>(combo.keyCode())},
                       {QStringLiteral("modifiers"), modifiers}};
}

// Only a whole number in range is a key code; anything else must not wrap into one.
std::optional<quint32> keyCodeFromJson(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < 0
        || number > static_cast<double>(std::numeric_limits<quint32>::max())
        || std::trunc(number) != number)
        return std::nullopt;
    return static_cast<quint32>(number);
}

std::optional<KeyCombo::ModifierSet> modifiersFromJson(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    KeyCombo::ModifierSet modifiers;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            return std::nullopt;
        const std::optional<Modifier> modifier = keyComboModifierFromRaw(item.toString());
        if (!modifier)
            return std::nullopt;
        modifiers.insert(*modifier);
    }
    return modifiers;
}

std::optional<KeyCombo> comboFromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const std::optional<quint32> keyCode = keyCodeFromJson(object.value(QStringLiteral("keyCode")));
    const std::optional<KeyCombo::ModifierSet> modifiers =
        modifiersFromJson(object.value(QStringLiteral("modifiers")));
    if (!keyCode || !modifiers)
        return std::nullopt;
    return KeyCombo(*keyCode, *modifiers);
}

} // namespace

namespace ShortcutBindings {

ShortcutBindingMap defaults()
{
    const KeyCombo::ModifierSet controlOption{Modifier::control, Modifier::option};
    return {
        {ShortcutAction::toggleAllWindows, KeyCombo(3, controlOption)},
        {ShortcutAction::playPause, KeyCombo(35, controlOption)},
        {ShortcutAction::pasteAndOpen, KeyCombo(9, controlOption)},
    };
}

std::map<KeyCombo, QList<ShortcutAction>> conflicts(const ShortcutBindingMap &bindings)
{
    std::map<KeyCombo, QList<ShortcutAction>> byCombo;
    for (ShortcutAction action : ShortcutActions::allCases) {
        const auto bound = bindings.find(action);
        if (bound != bindings.end() && bound->second.isValid())
            byCombo[bound->second].append(action);
    }
    std::erase_if(byCombo, [](const auto &entry) { return entry.second.size() < 2; });
    return byCombo;
}

QSet<ShortcutAction> actionsInConflict(const ShortcutBindingMap &bindings)
{
    QSet<ShortcutAction> actions;
    for (const auto &[combo, sharing] : conflicts(bindings)) {
        for (ShortcutAction action : sharing)
            actions.insert(action);
    }
    return actions;
}

QString encode(const ShortcutBindingMap &bindings)
{
    QJsonObject object;
    for (const auto &[action, combo] : bindings)
        object.insert(toRaw(action), comboToJson(combo));
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

std::optional<ShortcutBindingMap> decode(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;

    // Every member must be well formed, even one whose action is unknown; only then are
    // unknown actions and combinations without modifiers dropped.
    ShortcutBindingMap bindings;
    const QJsonObject object = document.object();
    for (auto member = object.begin(); member != object.end(); ++member) {
        const std::optional<KeyCombo> combo = comboFromJson(member.value());
        if (!combo)
            return std::nullopt;
        const std::optional<ShortcutAction> action = shortcutActionFromRaw(member.key());
        if (action && combo->isValid())
            bindings.insert_or_assign(*action, *combo);
    }
    return bindings;
}

} // namespace ShortcutBindings

#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Stored bindings keep the portable virtual key codes of KeyCombo; the desktop's hot-key
// services speak X key symbols. This is the one translation between the two.
namespace KeySymbols {

struct Symbol final
{
    // The X key symbol: the lower-case letter for letter keys.
    quint32 keysym = 0;
    // Its name as key-binding files write it: "f", "Return", "Page_Up".
    QString name;
};

// None for key codes that have no key on this desktop's keyboards, and for lone modifiers.
std::optional<Symbol> forKeyCode(quint32 keyCode);

} // namespace KeySymbols

#pragma once

#include "KiteCore/KeyCombo.h"

#include <QtGlobal>

#include <optional>

// A pressed Qt key in the stored form of bindings: the portable virtual key code and the
// modifier set. Shifted symbols count as their unshifted key ("!" is the 1 key), as on the
// keyboards the stored codes describe.
namespace KeyCapture {
std::optional<quint32> keyCode(int qtKey);
KeyCombo::ModifierSet modifiers(Qt::KeyboardModifiers modifiers);
} // namespace KeyCapture

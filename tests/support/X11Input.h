#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

// Real pointer and key input through the X server (xdotool), for tests that must see what a
// user's hand does rather than synthesised Qt events. Each call waits until xdotool is done.
namespace X11Input {
bool xdotool(const QStringList &arguments);
// Moves the pointer to a screen point.
bool pointerTo(const QPoint &point);
// "mousedown", "mouseup" or "click" of the left button.
bool button(const QString &action);
// A key or combination in xdotool's form, e.g. "ctrl+alt+f".
bool key(const QString &combination);
} // namespace X11Input

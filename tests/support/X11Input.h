#pragma once

#include <QPoint>
#include <QProcess>
#include <QStringList>

// Real pointer and key input through the X server (xdotool), for tests that must see what a
// user's hand does rather than synthesised Qt events. Each call waits until xdotool is done.
namespace X11Input {
inline bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}
// Moves the pointer to a screen point.
inline bool pointerTo(const QPoint &point)
{
    return xdotool({"mousemove", "--sync", QString::number(point.x()), QString::number(point.y())});
}
// "mousedown", "mouseup" or "click" of the left button.
inline bool button(const QString &action)
{
    return xdotool({action, "1"});
}
// A key or combination in xdotool's form, e.g. "ctrl+alt+f".
inline bool key(const QString &combination)
{
    return xdotool({"key", combination});
}
} // namespace X11Input

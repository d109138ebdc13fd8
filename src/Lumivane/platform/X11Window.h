#pragma once

#include <QWindow>

#include <optional>

class QWidget;

// Window-manager facing settings of a top-level window on X11. Flags are changed on the
// window's QWindow so that a mapped window keeps its native id and place; the widget's own
// flags are brought in line without telling the window system (setWindowFlags would
// destroy and recreate the native window). Every call does nothing off X11.
namespace X11Window {

bool isAvailable();

// Kept above normal windows (_NET_WM_STATE_ABOVE), enforced by the window manager.
void setStaysOnTop(QWidget &window, bool onTop);
// Pointer input passes through to what is below (an empty input shape).
void setClickThrough(QWidget &window, bool passThrough);
// Shown on every virtual desktop: _NET_WM_DESKTOP 0xFFFFFFFF, set as a property (read when
// the window is mapped) and asked of the window manager for a window already mapped.
void setOnAllDesktops(QWidget &window);

// Read back from the server, for checks: whether _NET_WM_STATE holds ABOVE, and the
// _NET_WM_DESKTOP value (absent when the property is missing).
bool hasStateAbove(WId window);
std::optional<quint32> desktop(WId window);

} // namespace X11Window

#pragma once

#include <QWindow>

#include <optional>

class QWidget;

// Window-manager facing settings of a top-level window on X11, changed without ever
// recreating the native window: it keeps its id, its place and its management. Every call
// does nothing off X11.
namespace X11Window {

// Kept above normal windows (_NET_WM_STATE_ABOVE), enforced by the window manager. Done in
// EWMH terms rather than with Qt's stay-on-top flag: Qt destroys and recreates the native
// window at the next show after that flag changed, and the recreated window may be left
// unmanaged. A manager removes the state when a window is withdrawn, so set it again after
// every show.
void setStaysOnTop(QWidget &window, bool onTop);
// Pointer input passes through to what is below (an empty input shape); the flag is changed
// on the QWindow, which updates the mapped window, and mirrored into the widget's flags
// without telling the window system (setWindowFlags would recreate the window).
void setClickThrough(QWidget &window, bool passThrough);
// Shown on every virtual desktop: _NET_WM_DESKTOP 0xFFFFFFFF, set as a property (read when
// the window is mapped) and asked of the window manager for a window already mapped.
void setOnAllDesktops(QWidget &window);

// Whether the left pointer button is down now, as the server has it: while a window manager
// moves or resizes a window it holds the pointer, and the window never sees the release.
bool leftButtonHeld();

// Read back from the server, for checks: whether _NET_WM_STATE holds ABOVE, and the
// _NET_WM_DESKTOP value (absent when the property is missing).
bool hasStateAbove(WId window);
std::optional<quint32> desktop(WId window);

} // namespace X11Window

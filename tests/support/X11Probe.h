#pragma once

#include <QList>
#include <QWindow>

// Reads the X server's view of the windows (through xprop and xwininfo), for checks that
// must not trust Qt's own state.
namespace X11Probe {
// Managed client windows from bottom to top (_NET_CLIENT_LIST_STACKING of the root window).
QList<WId> clientStacking();
// Whether the server has the window mapped (viewable).
bool isViewable(WId window);
} // namespace X11Probe

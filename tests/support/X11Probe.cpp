#include "X11Probe.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace X11Probe {

namespace {

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->connection();
}

xcb_window_t root(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

QList<quint32> rootCardinals(const char *name)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return {};
    const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<quint16>(std::strlen(name)), name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return {};
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root(c), atom->atom, XCB_ATOM_ANY, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return QList<quint32>(values, values + count);
}

} // namespace

bool windowManagerActive()
{
    return !rootCardinals("_NET_SUPPORTING_WM_CHECK").isEmpty();
}

QList<WId> clientStacking()
{
    QList<WId> windows;
    for (quint32 id : rootCardinals("_NET_CLIENT_LIST_STACKING"))
        windows.append(id);
    return windows;
}

bool isViewable(WId window)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return false;
    const Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, static_cast<xcb_window_t>(window)), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

} // namespace X11Probe

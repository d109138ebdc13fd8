#include "X11Window.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace X11Window {

namespace {

constexpr quint32 allDesktops = 0xFFFFFFFFu;

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->connection();
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<quint16>(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t *c, xcb_window_t window)
{
    const Reply<xcb_get_geometry_reply_t> reply(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    return reply ? reply->root : xcb_window_t(XCB_WINDOW_NONE);
}

Reply<xcb_get_property_reply_t> property(xcb_connection_t *c, xcb_window_t window,
                                         xcb_atom_t name)
{
    const auto cookie = xcb_get_property(c, 0, window, name, XCB_ATOM_ANY, 0, 1024);
    return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(c, cookie, nullptr));
}

// Changes one flag on the native window and mirrors it into the widget's flags.
void changeFlag(QWidget &widget, Qt::WindowType flag, bool on)
{
    widget.overrideWindowFlags(on ? widget.windowFlags() | flag : widget.windowFlags() & ~flag);
    if (QWindow *window = widget.windowHandle())
        window->setFlag(flag, on);
}

} // namespace

bool isAvailable()
{
    return connection() != nullptr;
}

void setStaysOnTop(QWidget &window, bool onTop)
{
    changeFlag(window, Qt::WindowStaysOnTopHint, onTop);
}

void setClickThrough(QWidget &window, bool passThrough)
{
    changeFlag(window, Qt::WindowTransparentForInput, passThrough);
}

void setOnAllDesktops(QWidget &window)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t desktopAtom = atom(c, "_NET_WM_DESKTOP");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, desktopAtom, XCB_ATOM_CARDINAL, 32, 1,
                        &allDesktops);

    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = desktopAtom;
    message.data.data32[0] = allDesktops;
    message.data.data32[1] = 1; // source: a normal application
    xcb_send_event(c, 0, rootOf(c, id),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);
}

bool hasStateAbove(WId window)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return false;
    const auto reply = property(c, static_cast<xcb_window_t>(window), atom(c, "_NET_WM_STATE"));
    if (!reply || reply->format != 32)
        return false;
    const xcb_atom_t above = atom(c, "_NET_WM_STATE_ABOVE");
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == above)
            return true;
    }
    return false;
}

std::optional<quint32> desktop(WId window)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return std::nullopt;
    const auto reply = property(c, static_cast<xcb_window_t>(window), atom(c, "_NET_WM_DESKTOP"));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
}

} // namespace X11Window

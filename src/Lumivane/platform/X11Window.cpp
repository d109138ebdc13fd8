#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QList>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace X11Window {

namespace {

constexpr quint32 allDesktops = 0xFFFFFFFFu;
constexpr quint32 stateRemove = 0;
constexpr quint32 stateAdd = 1;

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

// An EWMH request about the window to the window manager; the last number of each request
// names the source, 1 for a normal application.
void sendToRoot(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type,
                const std::array<quint32, 4> &data)
{
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(c, 0, rootOf(c, window),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
}

QList<xcb_atom_t> stateAtoms(xcb_connection_t *c, xcb_window_t window, xcb_atom_t state)
{
    const auto reply = property(c, window, state);
    if (!reply || reply->format != 32)
        return {};
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return QList<xcb_atom_t>(atoms, atoms + count);
}

// A window manager sets WM_STATE on every window it manages, mapped or iconic.
bool isManaged(xcb_connection_t *c, xcb_window_t window)
{
    const auto reply = property(c, window, atom(c, "WM_STATE"));
    return reply && reply->type != XCB_ATOM_NONE;
}

} // namespace

void setStaysOnTop(QWidget &window, bool onTop)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t above = atom(c, "_NET_WM_STATE_ABOVE");
    if (isManaged(c, id)) {
        // The window manager owns the state of a window it manages: ask it.
        sendToRoot(c, id, state, {onTop ? stateAdd : stateRemove, above, 0, 1});
    } else {
        // Not managed (yet): the manager reads the property when the window is mapped.
        QList<xcb_atom_t> atoms = stateAtoms(c, id, state);
        atoms.removeAll(above);
        if (onTop)
            atoms.append(above);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                            static_cast<quint32>(atoms.size()), atoms.constData());
    }
    xcb_flush(c);
}

void setClickThrough(QWidget &window, bool passThrough)
{
    constexpr Qt::WindowType flag = Qt::WindowTransparentForInput;
    window.overrideWindowFlags(passThrough ? window.windowFlags() | flag
                                           : window.windowFlags() & ~flag);
    if (QWindow *handle = window.windowHandle())
        handle->setFlag(flag, passThrough);
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

    sendToRoot(c, id, desktopAtom, {allDesktops, 1, 0, 0});
    xcb_flush(c);
}

bool leftButtonHeld()
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Reply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr));
    return reply && (reply->mask & XCB_BUTTON_MASK_1) != 0;
}

bool hasStateAbove(WId window)
{
    xcb_connection_t *c = connection();
    if (c == nullptr)
        return false;
    return stateAtoms(c, static_cast<xcb_window_t>(window), atom(c, "_NET_WM_STATE"))
        .contains(atom(c, "_NET_WM_STATE_ABOVE"));
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

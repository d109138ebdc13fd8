#include "platform/TrayServiceWait.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};

// The screen of DISPLAY (":1.2" is screen 2), which names the tray's selection.
QByteArray traySelection()
{
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype dot = display.lastIndexOf('.');
    const int screen = dot > display.lastIndexOf(':') ? display.mid(dot + 1).toInt() : 0;
    return "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
}
} // namespace

TrayServiceWait::TrayServiceWait(std::chrono::milliseconds bound, QObject *parent)
    : QObject(parent)
    , m_bound(bound)
{
    m_poll.setInterval(pollInterval);
    connect(&m_poll, &QTimer::timeout, this, &TrayServiceWait::check);
}

void TrayServiceWait::start()
{
    m_deadline.setRemainingTime(m_bound);
    check();
}

void TrayServiceWait::check()
{
    const bool found = statusNotifierHostPresent() || xembedTrayPresent();
    if (!found && !m_deadline.hasExpired()) {
        if (!m_poll.isActive())
            m_poll.start();
        return;
    }
    m_poll.stop();
    Q_EMIT finished(found);
}

// The same question Qt asks: the watcher is on the bus and a host has registered with it.
bool TrayServiceWait::statusNotifierHostPresent()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcherService))
        return false;
    QDBusInterface watcher(watcherService, QStringLiteral("/StatusNotifierWatcher"), watcherService,
                           bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool();
}

// An XEmbed tray owns the selection _NET_SYSTEM_TRAY_S<screen> (freedesktop system tray).
bool TrayServiceWait::xembedTrayPresent()
{
    auto *x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 == nullptr ? nullptr : x11->connection();
    if (c == nullptr)
        return false;
    const QByteArray name = traySelection();
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> atom(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<quint16>(name.size()), name.constData()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, FreeDeleter> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

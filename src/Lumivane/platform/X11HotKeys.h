#pragma once

#include "platform/HotKeyService.h"

#include <QAbstractNativeEventFilter>
#include <QList>

struct xcb_connection_t;

// Global hot keys of an X11 session: passive key grabs on the root window, one for every
// key code of the binding's key symbol and every combination of the lock keys (Caps Lock,
// Num Lock, Scroll Lock), so a lit Num Lock does not swallow the hot key. Each grab is
// checked on its own; a key another client already grabbed (BadAccess) is refused while the
// others stay. Presses reach the GUI thread through a native event filter, installed with
// the first registration. Errors come back through checked requests only: Xlib's error
// handler belongs to libmpv.
class X11HotKeys final : public HotKeyService, private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // The connection (Qt's own, so presses arrive in its event stream) must outlive this.
    explicit X11HotKeys(xcb_connection_t *connection, QObject *parent = nullptr);
    ~X11HotKeys() override;

    void registerHotKeys(const QList<HotKey> &hotKeys) override;
    void unregisterAll() override;

private:
    struct Grab final
    {
        quint32 id = 0;
        quint8 keyCode = 0;
        // Without the lock keys: the state a press is matched on.
        quint16 modifiers = 0;
        quint16 locks = 0;
    };
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    void installFilter();
    // The grabs made for the hot key, or none when any of them was refused.
    QList<Grab> grab(quint32 id, const QList<quint8> &keyCodes, quint16 modifiers,
                     const QList<quint16> &lockVariants);
    void ungrab(const Grab &grab);

    xcb_connection_t *m_connection;
    quint32 m_root = 0;
    QList<Grab> m_grabs;
    // The modifier bits a press is compared on; lock keys and mouse buttons are left out.
    quint16 m_relevantModifiers = 0;
    // The key of the hot key held down (0 when none), the last one pressed and when it
    // was last released.
    quint8 m_heldKey = 0;
    quint8 m_lastKey = 0;
    quint32 m_releaseTime = 0;
    bool m_filterInstalled = false;
};

#pragma once

#include "platform/HotKeyService.h"

#include <QDBusConnection>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class QDBusObjectPath;

// Global hot keys of a Wayland session, where the app runs on XWayland and X11 grabs only
// see keys while one of its own windows has focus: the GlobalShortcuts desktop portal
// (KDE Plasma, GNOME 48 and later, Hyprland). Every request opens a new portal session,
// because a session binds its shortcuts only once, and asks for the bindings as preferred
// triggers; the desktop may show them to the user, who can accept or change them. A desktop
// without the portal answers `unavailable`.
class PortalHotKeys final : public HotKeyService
{
    Q_OBJECT

public:
    explicit PortalHotKeys(const QDBusConnection &bus, QObject *parent = nullptr);
    ~PortalHotKeys() override;

    void registerHotKeys(const QList<HotKey> &hotKeys) override;
    void unregisterAll() override;

    // In the portal's trigger form, "CTRL+ALT+f"; empty for a key it cannot name.
    static QString preferredTrigger(const KeyCombo &combo);

private Q_SLOTS:
    void sessionCreated(uint response, const QVariantMap &results);
    void shortcutsBound(uint response, const QVariantMap &results);
    void shortcutActivated(const QDBusObjectPath &session, const QString &shortcutId,
                           qulonglong timestamp, const QVariantMap &options);

private:
    // Calls a portal method whose result comes as the Response signal of a request object,
    // which goes to the slot; the options follow the arguments.
    void request(const QString &method, QVariantList arguments, QVariantMap options,
                 const char *slot);
    void stopWaiting();
    void bindShortcuts();
    QString nextToken();
    // The object path the portal gives an object of this kind made under the token.
    QString handlePath(const QString &kind, const QString &token) const;

    QDBusConnection m_bus;
    QList<HotKey> m_wanted;
    // The session of the current request; empty when none is open.
    QString m_session;
    // The request whose Response is awaited, and its slot.
    QString m_waitingOn;
    const char *m_waitingSlot = nullptr;
    quint32 m_tokens = 0;
    bool m_listening = false;
};

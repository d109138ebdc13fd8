#pragma once

#include "KiteCore/ShortcutAction.h"
#include "KiteCore/ShortcutBindings.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

class HotKeyService;
class Preferences;

// Turns the shortcut bindings into global hot keys through the desktop's hot-key service and
// hands every press on as an action. After each registration pass it writes one line into
// Preferences::shortcutStatus for the settings window: what is active, what was refused,
// or why nothing is registered. Setting bindings, enabled or suspended registers nothing
// by itself; the owner calls reload() afterwards.
class ShortcutManager final : public QObject
{
    Q_OBJECT

public:
    // A null service means this desktop has no global hot keys. The service and the
    // preferences must outlive the manager.
    ShortcutManager(HotKeyService *service, Preferences &preferences, QObject *parent = nullptr);
    ~ShortcutManager() override;

    const ShortcutBindingMap &bindings() const { return m_bindings; }
    bool enabled() const { return m_enabled; }
    // True while a combination is being recorded in the settings window.
    bool suspended() const { return m_suspended; }
    void setBindings(const ShortcutBindingMap &bindings) { m_bindings = bindings; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    void setSuspended(bool suspended) { m_suspended = suspended; }

    // The actions whose hot keys are registered now, in action order.
    const QList<ShortcutAction> &registrations() const { return m_registrations; }

    // Releases everything, registers the valid bindings again unless switched off or
    // suspended, and publishes the status once the service has answered.
    void reload();
    void unregisterAll();

    // The action's name in the status line: "toggle", "play/pause"…
    static QString shortTitle(ShortcutAction action);

Q_SIGNALS:
    void actionTriggered(ShortcutAction action);

private:
    void registrationAnswered(const QList<quint32> &registered);
    void serviceUnavailable();
    void hotKeyPressed(quint32 id);
    void publish(const QString &status);
    // "Ctrl+Alt+F toggle"
    static QString entry(ShortcutAction action, const KeyCombo &combo);

    QPointer<HotKeyService> m_service;
    Preferences &m_preferences;
    QList<ShortcutAction> m_registrations;
    ShortcutBindingMap m_bindings;
    bool m_enabled = true;
    bool m_suspended = false;
    // The bindings of the request the service has not answered yet.
    std::optional<ShortcutBindingMap> m_requested;
};

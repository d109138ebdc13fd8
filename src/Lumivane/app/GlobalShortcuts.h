#pragma once

#include "windows/ShortcutManager.h"

#include <QObject>

class HotKeyService;
class Preferences;

// The application's side of the global shortcuts: registers the preferred bindings at once
// and after every change of them or of the on/off switch, and pauses every hot key while
// the settings window records a combination, so none can steal the key press.
class GlobalShortcuts final : public QObject
{
    Q_OBJECT

public:
    // A null service means this desktop has no global hot keys. Both must outlive this.
    GlobalShortcuts(HotKeyService *service, Preferences &preferences, QObject *parent = nullptr);

    ShortcutManager &manager() { return m_manager; }

Q_SIGNALS:
    // Sent by the settings window's shortcut recorder when it starts and stops listening.
    void recordingStarted();
    void recordingStopped();

private:
    void applyPreferences();
    void suspend(bool suspended);

    Preferences &m_preferences;
    ShortcutManager m_manager;
};

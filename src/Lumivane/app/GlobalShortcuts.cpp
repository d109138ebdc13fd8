#include "app/GlobalShortcuts.h"

#include "settings/Preferences.h"

GlobalShortcuts::GlobalShortcuts(HotKeyService *service, Preferences &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_manager(service, preferences)
{
    connect(&preferences, &Preferences::globalShortcutsChanged, this, &GlobalShortcuts::applyPreferences);
    connect(&preferences, &Preferences::shortcutBindingsChanged, this, &GlobalShortcuts::applyPreferences);
    connect(this, &GlobalShortcuts::recordingStarted, this, [this] { suspend(true); });
    connect(this, &GlobalShortcuts::recordingStopped, this, [this] { suspend(false); });
    applyPreferences();
}

void GlobalShortcuts::applyPreferences()
{
    m_manager.setBindings(m_preferences.shortcutBindings());
    m_manager.setEnabled(m_preferences.globalShortcuts());
    m_manager.reload();
}

void GlobalShortcuts::suspend(bool suspended)
{
    if (m_manager.suspended() == suspended)
        return;
    m_manager.setSuspended(suspended);
    m_manager.reload();
}

#pragma once

#include "ui/HomeWindow.h"
#include "ui/MainMenu.h"
#include "ui/TrayMenu.h"
#include "ui/TrayPanel.h"

#include "KiteCore/ShortcutAction.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class AboutDialog;
class AppCommands;
class AppModel;
class OnboardingWindow;
class Preferences;
class QMenuBar;
class SettingsWindow;
class StatusTray;
class ThumbnailLoader;
class WebDataStore;

// The windows around the model and the ways back to them: the home window with the main
// menu, the settings and onboarding windows, About, and the tray icon with its context menu
// and panel. Answers the commands that need a window; rebuilds menus and retitles windows
// when the language changes.
class Shell final : public QObject
{
    Q_OBJECT

public:
    // webData may be null where there is no web engine; the settings window then cannot
    // clear it.
    Shell(AppModel &model, AppCommands &commands, Preferences &preferences, StatusTray &tray,
          ThumbnailLoader &thumbnails, WebDataStore *webData, QObject *parent = nullptr);
    ~Shell() override;

    // The home window, and the onboarding until it has been finished once.
    void start();
    // Requests of this launch or of a later one handed over by the single-instance socket.
    void handle(const QStringList &arguments);

    void showHome();
    void showSettings();
    void showOnboarding();
    void showAbout();
    void togglePanel();

    bool hasTray() const;
    // The command actions with application-wide shortcuts, for every player window.
    const QList<QAction *> &applicationActions() const { return m_menu.applicationActions(); }

    HomeWindow &home() { return m_home; }
    TrayPanel &panel() { return m_panel; }
    TrayMenu &trayMenu() { return m_trayMenu; }
    QMenuBar *menuBar() const { return m_menuBar; }
    OnboardingWindow *onboarding() const { return m_onboarding.get(); }
    // Created on first use, hidden until shown.
    SettingsWindow &settingsWindow();

Q_SIGNALS:
    void trayAvailabilityChanged(bool available);
    // "--action <name>" of this launch or a forwarded one.
    void shortcutRequested(ShortcutAction action);
    // The settings window's shortcut recorder listens: global hot keys must pause.
    void shortcutRecordingStarted();
    void shortcutRecordingStopped();
    void webDataCleared();

private:
    void connectCommands();
    void finishOnboarding();
    void hideWindows();
    void retranslate();

    AppModel &m_model;
    AppCommands &m_commands;
    Preferences &m_preferences;
    StatusTray &m_tray;
    WebDataStore *m_webData;
    HomeWindow m_home;
    MainMenu m_menu;
    QMenuBar *m_menuBar;
    TrayMenu m_trayMenu;
    TrayPanel m_panel;
    std::unique_ptr<SettingsWindow> m_settings;
    std::unique_ptr<OnboardingWindow> m_onboarding;
    QPointer<AboutDialog> m_about;
};

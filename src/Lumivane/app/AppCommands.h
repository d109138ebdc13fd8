#pragma once

#include <QObject>

class AppModel;
class PlaybackSession;

// The application's commands in one place, for the main menu, the tray icon and its panel
// and the global shortcuts. Commands that need a window of the user interface only ask for
// it through a signal; the shell that owns the windows answers.
class AppCommands final : public QObject
{
    Q_OBJECT

public:
    explicit AppCommands(AppModel &model, QObject *parent = nullptr);

    void showHome();
    void showSettings();
    // The settings window opened on its account tab.
    void showAccounts();
    void showOnboarding();
    void showAbout();
    void openFile();
    void openClipboard();
    // The active player window's frame, else that of the first window that is not hidden.
    void captureFrame();
    void recoverAll();
    void toggleAll();
    void togglePlayback();
    // The active player window's source goes to the external player; the window stays.
    void openExternalForActiveWindow();
    // Every Lumivane window goes out of sight: the players (as hidden) and the shell's own.
    void hideApplication();
    // The window list is saved once before any window closes (QuitGuard), then playback stops.
    void quit();

    // The session whose window is the active window, if any.
    PlaybackSession *activeSession() const;

Q_SIGNALS:
    void homeRequested();
    void settingsRequested();
    void onboardingRequested();
    void aboutRequested();
    void applicationHideRequested();

private:
    AppModel &m_model;
};

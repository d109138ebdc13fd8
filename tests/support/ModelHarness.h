#pragma once

#include "FakeNativePlayer.h"
#include "FakeWorkspace.h"
#include "app/AppModel.h"
#include "settings/Preferences.h"

#include <QDateTime>
#include <QList>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// An AppModel on fakes: settings, history and playlist in a temporary folder, fake players,
// a fake desktop, a clock the test moves and an Open dialog that answers at once.
class ModelHarness final
{
public:
    ModelHarness();
    ~ModelHarness();

    // A fresh model over the same files and settings, as after a restart.
    void restart();

    AppModel &model() const { return *m_model; }
    Preferences &preferences() { return m_preferences; }
    QSettings &settings() { return m_settings; }
    FakeWorkspace &workspace() { return m_workspace; }
    const QTemporaryDir &folder() const { return m_folder; }
    QString historyFile() const;
    QString playlistFile() const;

    // The newest fake player made for the session, or null for web sessions.
    FakeNativePlayer *player(const PlaybackSession &session) const;
    // Opens "https://media.example/clip<n>.mp4" and returns its session.
    PlaybackSession *openClip(int n);
    static QString clipURL(int n);
    // A file of the given name (and folders on the way) below the temporary folder.
    QString touch(const QString &relativePath) const;

    void advanceClock(double seconds);

    // What the Open dialog is asked and answers.
    QList<OpenPanel> panels;
    QList<QUrl> panelAnswer;
    int showHomeCalls = 0;
    int menuUpdates = 0;

private:
    void build();

    QTemporaryDir m_folder;
    QSettings m_settings;
    Preferences m_preferences;
    FakeWorkspace m_workspace;
    QDateTime m_now;
    std::unique_ptr<AppModel> m_model;
};

#pragma once

#include "FakeNativePlayer.h"
#include "FakeWorkspace.h"
#include "TemporaryHome.h"
#include "app/AppModel.h"
#include "settings/Preferences.h"

#include <QSettings>

#include <functional>
#include <memory>

// An AppModel on fakes, in a temporary home: settings, history and playlist below it, fake
// players, a fake desktop, a clock the test moves and an Open dialog that answers at once.
// Texts are in English.
class ModelHarness final
{
public:
    // For tables of operations: what the test does, then the summary() it leads to.
    struct Operation {
        const char *name;
        std::function<void(ModelHarness &)> act;
        QString expected;
    };
    // The rows of such a table, and the check of the current row on a fresh harness.
    static void addRows(const QList<Operation> &operations);
    static void checkRow(const QList<Operation> &operations);

    ModelHarness();

    // A fresh model over the same files and settings, as after a restart.
    void restart();

    AppModel &model() const { return *m_model; }
    Preferences &preferences() { return m_preferences; }
    QSettings &settings() { return m_settings; }
    FakeWorkspace &workspace() { return m_workspace; }
    const TemporaryHome &home() const { return m_home; }
    QString historyFile() const { return m_home.filePath(QStringLiteral("data/history.json")); }
    QString playlistFile() const { return m_home.filePath(QStringLiteral("data/playlist.json")); }
    // The session's fake player; null for web sessions.
    static FakeNativePlayer *player(const PlaybackSession &session);
    // Opens "https://media.example/clip<n>.mp4" and returns its session.
    PlaybackSession *openClip(int n);
    static QString clipURL(int n);
    // A file of the given name (and folders on the way) below the home folder.
    QString touch(const QString &relativePath) const;
    void advanceClock(double seconds) { m_now = m_now.addMSecs(qint64(seconds * 1000.0)); }
    // The model's state in one line. The windows, named after their source's file ("-" marks a
    // hidden one, "!" one whose window shows while hidden or hides while not, "^" one that lets
    // clicks through); then, where there are any: the input ("~" for the home folder), the
    // message, the home window's calls, the section other than Open, the playlist ("*" marks
    // the current entry) and the saved one where they differ, history ("*" marks a favourite)
    // and remembered windows where they differ from the open ones, what went to the desktop
    // and to external players.
    QString summary() const;

    // What the Open dialog is asked and answers.
    QList<OpenPanel> panels;
    QList<QUrl> panelAnswer;
    int showHomeCalls = 0;
    int menuUpdates = 0;

private:
    TemporaryHome m_home;
    QSettings m_settings;
    Preferences m_preferences;
    FakeWorkspace m_workspace;
    QDateTime m_now;
    std::unique_ptr<AppModel> m_model;
};

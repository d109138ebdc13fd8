#pragma once

#include "KiteCore/AppError.h"
#include "app/HomeSection.h"
#include "app/OpenPanel.h"
#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"
#include "windows/PlaylistItem.h"
#include "windows/PlaylistStore.h"
#include "windows/WindowPlacement.h"

#include "KiteCore/HistoryItem.h"
#include "KiteCore/HistoryStore.h"
#include "KiteCore/MediaSource.h"
#include "KiteCore/SiteStatus.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <QVariant>

#include <functional>
#include <optional>

class Preferences;
class QMimeData;
class QSettings;
class Workspace;

// The one application model: runs the open flow, owns every playback session with its
// window controller, keeps history, resume positions and the playlist up to date, and is
// the one place where errors for the home window are raised. GUI thread only.
class AppModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString input READ input WRITE setInput NOTIFY inputChanged)
    Q_PROPERTY(std::optional<AppError> inputError READ inputError NOTIFY inputErrorChanged)
    Q_PROPERTY(QList<HistoryItem> history READ history NOTIFY historyChanged)
    Q_PROPERTY(QList<PlaylistItem> playlist READ playlist NOTIFY playlistChanged)
    Q_PROPERTY(std::optional<QUuid> currentPlaylistItemID READ currentPlaylistItemID NOTIFY
                   currentPlaylistItemIDChanged)
    Q_PROPERTY(QList<PlaybackSession *> sessions READ sessions NOTIFY sessionsChanged)
    Q_PROPERTY(HomeSection section READ section WRITE setSection NOTIFY sectionChanged)
    Q_PROPERTY(std::optional<QString> storageWarning READ storageWarning NOTIFY
                   storageWarningChanged)
    Q_PROPERTY(bool showingOnboarding READ showingOnboarding WRITE setShowingOnboarding NOTIFY
                   showingOnboardingChanged)
    Q_PROPERTY(std::optional<QString> settingsTabRequest READ settingsTabRequest WRITE
                   setSettingsTabRequest NOTIFY settingsTabRequestChanged)

public:
    using Clock = std::function<QDateTime()>;
    using OpenPanelRunner = std::function<QList<QUrl>(const OpenPanel &)>;

    static constexpr int maximumSessions = 8;
    static constexpr int restoredWindows = 3;
    static constexpr double resumeThrottleSeconds = 8.0;
    static constexpr double resumeMinimumSeconds = 1.0;
    static inline const QString lastWindowURLsKey = QStringLiteral("lastWindowURLs");

    struct Dependencies {
        Preferences &preferences;
        // The standard user-defaults store: "lastWindowURLs", window states, quick settings.
        QSettings &defaults;
        Workspace &workspace;
        QString historyFile;
        QString playlistFile;
        PlaybackSession::PlayerFactory makePlayer;
        PlaybackSession::WebPageFactory makeWebPage;
        // Builds each player window's content.
        PlayerWindowController::ContentFactory content;
        Clock now = &QDateTime::currentDateTimeUtc;
        OpenPanelRunner runOpenPanel = &OpenPanel::run;
        PlaybackSession::Timing sessionTiming = {};
        PlayerWindowController::Timings windowTimings = {};
    };

    explicit AppModel(Dependencies dependencies, QObject *parent = nullptr);
    ~AppModel() override;

    const QString &input() const { return m_input; }
    const std::optional<AppError> &inputError() const { return m_inputError; }
    const QList<HistoryItem> &history() const { return m_history; }
    const QList<PlaylistItem> &playlist() const { return m_playlist; }
    const std::optional<QUuid> &currentPlaylistItemID() const { return m_currentPlaylistItemID; }
    const QList<PlaybackSession *> &sessions() const { return m_sessions; }
    HomeSection section() const { return m_section; }
    const std::optional<QString> &storageWarning() const { return m_storageWarning; }
    bool showingOnboarding() const { return m_showingOnboarding; }
    const std::optional<QString> &settingsTabRequest() const { return m_settingsTabRequest; }
    bool isTerminating() const { return m_isTerminating; }

    void setInput(const QString &input);
    // The error card's Dismiss.
    void dismissError();
    void setSection(HomeSection section);
    void setShowingOnboarding(bool showing);
    void setSettingsTabRequest(const std::optional<QString> &tab);
    // Set once at quit: windows closing afterwards leave the remembered list alone.
    void setTerminating(bool terminating);

    // The trimmed input is not empty.
    bool canOpenInput() const;
    QList<HistoryItem> favorites() const;
    // Every entry goes, favourites included.
    void clearHistory();
    // The last session that is not hidden.
    PlaybackSession *mostRecentVisibleSession() const;
    PlayerWindowController *controller(const PlaybackSession &session) const;

    // A link, a path ("~" expanded) or a folder, whose media then fill the playlist.
    void open(const QString &text);
    void open(const MediaSource &source);
    void paste();
    void pasteAndOpen();
    void openFile();
    void present(PlaybackSession &session);
    void close(PlaybackSession &session);
    void hide(PlaybackSession &session);
    void toggleAll();
    void togglePlaybackOfActive();
    void recoverAll();
    void stopAll();
    void saveWindowState();
    // At quit, before any window closes: the window list is saved once and windows closing
    // afterwards leave it alone.
    void prepareToQuit();
    // Last run's windows, once; windows this run opened before stay the newest, in front.
    void restoreWindowsIfNeeded();
    // The completion runs only after the external player or the desktop took the source.
    void openExternal(const MediaSource &source, bool closeAfter,
                      const std::function<void()> &completion);
    void openInBrowser(const MediaSource &source);

    // History edits from the home window; each publishes the new history.
    void setFavorite(const QUuid &id, bool isFavorite);
    void removeFromHistory(const QUuid &id);

    // Whether the playlist holds an entry after the source's own.
    bool hasNextInPlaylist(const MediaSource &source) const;
    // The session's window gives way to the playlist's next entry, if there is one.
    void playNext(PlaybackSession &session);
    void addToPlaylist(const QList<QUrl> &urls);
    void addFilesToPlaylist();
    void addFolderToPlaylist();
    void removePlaylistItem(const QUuid &id);
    void clearPlaylist();
    // False when the data carries nothing usable; the work itself happens on the next turn
    // of the event loop.
    bool acceptDrop(const QMimeData &data);

Q_SIGNALS:
    void inputChanged(const QString &input);
    void inputErrorChanged(const std::optional<AppError> &error);
    void historyChanged(const QList<HistoryItem> &history);
    void playlistChanged(const QList<PlaylistItem> &playlist);
    void currentPlaylistItemIDChanged(const std::optional<QUuid> &id);
    void sessionsChanged(const QList<PlaybackSession *> &sessions);
    void sectionChanged(HomeSection section);
    void storageWarningChanged(const std::optional<QString> &warning);
    void showingOnboardingChanged(bool showing);
    void settingsTabRequestChanged(const std::optional<QString> &tab);
    // Any published value of any open session changed.
    void sessionDidChange();
    // The home window should come forward (an error to show, or nothing to recover).
    void showHomeRequested();
    // The window list or a window's visibility changed.
    void menuUpdateRequested();

private:
    PlaybackSession *createSession(const MediaSource &source);
    void wire(PlaybackSession &session);
    void subscribe(PlaybackSession &session);
    void tearDown(const QUuid &id);
    void hideWindow(PlaybackSession &session);
    void report(const AppError &error);
    static QString siteHint(const SiteStatus &status);
    void openWithPlayer(const MediaSource &source, const QString &player,
                        const std::function<void()> &completion);
    void openWithSystem(const MediaSource &source, const std::function<void()> &completion);
    void recordHistory(const MediaSource &source);
    void notifyMenu();
    QWidget *activeWindow() const;

    void refreshHistory();
    void saveProgress(const QUuid &sessionID, const MediaSource &source, double elapsed,
                      std::optional<double> duration);
    void retitleHistory(const MediaSource &source, const QString &title);
    void attachThumbnail(const MediaSource &source, const QUrl &url);
    void advancePlaylist(const MediaSource &source, PlaybackSession *session);
    void syncPlaylist();
    void markPlaylistEntry(const QString &urlString);

    void setInputError(const std::optional<AppError> &error);
    void updateStorageWarning();
    void setSettingsError(const std::optional<QString> &error);
    void setCurrentPlaylistItemID(const std::optional<QUuid> &id);

    Preferences &m_preferences;
    QSettings &m_defaults;
    Workspace &m_workspace;
    PlaybackSession::PlayerFactory m_makePlayer;
    PlaybackSession::WebPageFactory m_makeWebPage;
    PlayerWindowController::ContentFactory m_content;
    Clock m_now;
    OpenPanelRunner m_runOpenPanel;
    PlaybackSession::Timing m_sessionTiming;
    PlayerWindowController::Timings m_windowTimings;

    QString m_input;
    std::optional<AppError> m_inputError;
    QList<HistoryItem> m_history;
    QList<PlaylistItem> m_playlist;
    std::optional<QUuid> m_currentPlaylistItemID;
    QList<PlaybackSession *> m_sessions;
    HomeSection m_section = HomeSection::open;
    std::optional<QString> m_storageWarning;
    // The last save of the settings file, by this model or by the preferences.
    std::optional<QString> m_settingsError;
    bool m_showingOnboarding = false;
    std::optional<QString> m_settingsTabRequest;

    HistoryStore m_store;
    PlaylistStore m_playlistStore;
    // Last run's windows, read before anything this run opens rewrites the list.
    const QVariant m_rememberedWindows;
    // Shared by every window this model opens.
    WindowPlacement m_placement;
    QHash<QUuid, PlayerWindowController *> m_controllers;
    QHash<QUuid, QList<QMetaObject::Connection>> m_sessionSubscriptions;
    QHash<QUuid, QDateTime> m_lastResumeSave;
    bool m_isTerminating = false;
    bool m_didRestoreWindows = false;
};

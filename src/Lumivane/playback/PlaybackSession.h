#pragma once

#include "playback/PlaybackState.h"
#include "playback/TrackChoice.h"
#include "KiteCore/AppError.h"
#include "platform/NativePlayer.h"
#include "platform/WebPage.h"

#include "KiteCore/MediaSource.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class Preferences;
class QSettings;
class WebPageDriver;

// The model behind one floating player window: plays one source, natively through a
// NativePlayer or as a web page through its WebPageDriver, and publishes what the window
// and its overlay show. Every published value notifies on each assignment, also when the
// value is unchanged. Everything runs on the GUI thread.
class PlaybackSession final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUuid id READ id CONSTANT)
    Q_PROPERTY(PlaybackState state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    // Native playback waits for data.
    Q_PROPERTY(bool isBuffering READ isBuffering NOTIFY isBufferingChanged)
    Q_PROPERTY(bool isHidden READ isHidden WRITE setHidden NOTIFY isHiddenChanged)
    Q_PROPERTY(bool isPinned READ isPinned WRITE setPinned NOTIFY isPinnedChanged)
    Q_PROPERTY(double opacity READ opacity WRITE setOpacity NOTIFY opacityChanged)
    Q_PROPERTY(bool clickThrough READ clickThrough WRITE setClickThrough NOTIFY clickThroughChanged)
    Q_PROPERTY(bool grabMode READ grabMode WRITE setGrabMode NOTIFY grabModeChanged)
    Q_PROPERTY(bool lockAspect READ lockAspect WRITE setLockAspect NOTIFY lockAspectChanged)
    Q_PROPERTY(bool controlsPinned READ controlsPinned WRITE setControlsPinned NOTIFY
                   controlsPinnedChanged)
    Q_PROPERTY(double elapsed READ elapsed NOTIFY elapsedChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(double volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(double speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(bool loop READ loop WRITE setLoop NOTIFY loopChanged)
    Q_PROPERTY(bool canPiP READ canPiP NOTIFY canPiPChanged)
    Q_PROPERTY(bool pipActive READ pipActive NOTIFY pipActiveChanged)
    Q_PROPERTY(bool isCinema READ isCinema WRITE setCinema NOTIFY isCinemaChanged)
    Q_PROPERTY(NativePlayer *player READ player NOTIFY playerChanged)
    Q_PROPERTY(QWidget *webView READ webView NOTIFY webViewChanged)
    Q_PROPERTY(bool webCanGoBack READ webCanGoBack NOTIFY webCanGoBackChanged)
    Q_PROPERTY(bool webCanGoForward READ webCanGoForward NOTIFY webCanGoForwardChanged)
    Q_PROPERTY(bool webVideoAvailable READ webVideoAvailable NOTIFY webVideoAvailableChanged)
    Q_PROPERTY(std::optional<double> contentAspect READ contentAspect NOTIFY contentAspectChanged)
    Q_PROPERTY(std::optional<QString> toast READ toast NOTIFY toastChanged)
    Q_PROPERTY(bool bilibiliDanmakuHidden READ bilibiliDanmakuHidden WRITE setBilibiliDanmakuHidden
                   NOTIFY bilibiliDanmakuHiddenChanged)
    Q_PROPERTY(bool webCanSeek READ webCanSeek NOTIFY webCanSeekChanged)
    Q_PROPERTY(QList<NativePlayer::Track> tracks READ tracks NOTIFY tracksChanged)
    Q_PROPERTY(TrackChoice trackChoice READ trackChoice NOTIFY trackChoiceChanged)

public:
    using PlayerFactory = std::function<std::unique_ptr<NativePlayer>()>;
    using WebPageFactory = std::function<std::unique_ptr<WebPage>()>;
    // Seconds on a monotonic clock.
    using Clock = std::function<double()>;

    // Timer lengths and the clock of the stall logic; tests shorten and drive them.
    struct Timing {
        std::chrono::milliseconds watchdog{30000};
        // Native playback that moves on for this long neither in time nor in data fails.
        std::chrono::milliseconds nativeStall{12000};
        std::chrono::milliseconds toast{2600};
        std::chrono::milliseconds webPoll{600};
        std::chrono::milliseconds webPollNearAd{200};
        // Title and thumbnail again this long after a page finished, the title once more
        // after the second wait.
        std::chrono::milliseconds webFollowUpFirst{1500};
        std::chrono::milliseconds webFollowUpSecond{3000};
        std::chrono::milliseconds debugScanDelay{3000};
        // Empty: the steady clock.
        Clock clock;
    };

    struct Dependencies {
        // The shared settings (pin, aspect lock, resume, pause when hidden, danmaku).
        Preferences &preferences;
        // Holds "default.volume", "default.speed" and "default.loop".
        QSettings &quickPreferences;
        // Makes the native player; called on creation and on every retry.
        PlayerFactory makePlayer;
        // Makes the web page of a web source; called on creation and on every retry.
        WebPageFactory makeWebPage;
        Timing timing = {};
    };

    // Starts loading at once: native sources get a player, web sources a page.
    PlaybackSession(MediaSource source, std::optional<double> resumeSeconds,
                    Dependencies dependencies, QObject *parent = nullptr);
    ~PlaybackSession() override;

    const QUuid &id() const { return m_id; }
    const MediaSource &source() const { return m_source; }
    const PlaybackState &state() const { return m_state; }
    const QString &title() const { return m_title; }
    bool isPlaying() const { return m_isPlaying; }
    bool isBuffering() const { return m_isBuffering; }
    bool isHidden() const { return m_isHidden; }
    bool isPinned() const { return m_isPinned; }
    double opacity() const { return m_opacity; }
    bool clickThrough() const { return m_clickThrough; }
    bool grabMode() const { return m_grabMode; }
    bool lockAspect() const { return m_lockAspect; }
    bool controlsPinned() const { return m_controlsPinned; }
    double elapsed() const { return m_elapsed; }
    double duration() const { return m_duration; }
    double volume() const { return m_volume; }
    double speed() const { return m_speed; }
    bool loop() const { return m_loop; }
    // No picture-in-picture here: the floating window already is one.
    bool canPiP() const { return m_canPiP; }
    bool pipActive() const { return m_pipActive; }
    bool isCinema() const { return m_isCinema; }
    // The native player, owned by the session; null for web sources and after stop().
    NativePlayer *player() const { return m_player.get(); }
    // The page's view; null for native sources and after stop().
    QWidget *webView() const;
    // The web page, owned by the session's driver; null for native sources and after stop().
    WebPage *webPage() const;
    // Set by the overlay while the user drags the position of a web source.
    bool scrubbingWeb() const;
    bool webCanGoBack() const;
    bool webCanGoForward() const;
    bool webVideoAvailable() const;
    const std::optional<double> &contentAspect() const { return m_contentAspect; }
    const std::optional<QString> &toast() const { return m_toast; }
    bool bilibiliDanmakuHidden() const { return m_bilibiliDanmakuHidden; }
    bool webCanSeek() const;
    // The native media's audio and subtitle tracks; empty for web sources.
    const QList<NativePlayer::Track> &tracks() const { return m_tracks; }
    const TrackChoice &trackChoice() const { return m_trackChoice; }

    // 0 while the duration is unknown, else elapsed / duration within 0..1.
    double progress() const;
    // A short localised status for lists and the overlay.
    QString statusText() const;

    void setTitle(const QString &title);
    void setPinned(bool pinned);
    void setOpacity(double opacity);
    void setClickThrough(bool clickThrough);
    void setGrabMode(bool grabMode);
    void setLockAspect(bool lockAspect);
    void setControlsPinned(bool pinned);
    void setCinema(bool cinema);
    void setBilibiliDanmakuHidden(bool hidden);
    void setScrubbingWeb(bool scrubbing);
    // Applied to the player and remembered as "default.volume"; non-finite values are ignored.
    void setVolume(double volume);
    // Applied when playing and remembered as "default.speed"; only finite values > 0.
    void setSpeed(double speed);
    // Read at the end of the media; remembered as "default.loop".
    void setLoop(bool loop);

    // Picks a track of the native media (no id: subtitles off) and remembers the pick.
    void selectTrack(NativePlayer::TrackType type, std::optional<int> id);
    void addSubtitleFile(const QString &path);
    // A pick remembered from before: applied once the tracks of each load are known, where
    // the media still has them.
    void restoreTrackChoice(const TrackChoice &choice);

    // Starts the player at the current speed; at the very end it starts over.
    void play();
    void togglePlayback();
    // Exact seek, clamped into 0..duration (0..any while the duration is unknown).
    void seek(double seconds);
    // Pauses or resumes by the hide rules and reports progress on hiding. A page counts as
    // playing when its last media poll said so.
    void setHidden(bool hidden);
    // Rebuilds the player or page from scratch (a new object) and loads again.
    void retry();
    // Releases the player or page; afterwards no event changes the session.
    void stop();
    // Saves the current frame (or the page's visible content) as PNG in the screenshot
    // folder and tells the outcome by toast.
    void captureScreenshot();
    // A short notice over the player, cleared after the toast time; a newer one restarts it.
    void showToast(const QString &message);
    // Tells the owner the current position (progressReported), as the window does on closing.
    void reportProgress();
    // Asks the owner to open the source outside the window (externalRequested).
    void requestExternal();

    // The page's primary media element, driven by a script each; nothing without a page.
    void webTogglePlay();
    // Non-finite or negative targets seek to 0; elapsed follows at once.
    void webSeek(double seconds);
    // Clamped to 0..1; near zero also mutes.
    void webSetVolume(double volume);
    void webSetSpeed(double rate);
    void webSetLoop(bool on);
    // Shows or hides the comment overlay of bilibili pages by bilibiliDanmakuHidden.
    void applyDanmakuPreference();

Q_SIGNALS:
    // For the owner. A receiver may delete the session from inside any of them; after
    // stop() none comes for events of the player.
    void externalRequested();
    // No duration while it is unknown.
    void progressReported(double elapsed, std::optional<double> duration);
    // The native media played to its end and does not loop.
    void reachedEnd();
    // A web page named a better title, or a preview image for the source.
    void titleReported(const QString &title);
    void thumbnailReported(const QUrl &thumbnail);

    void stateChanged(const PlaybackState &state);
    void titleChanged(const QString &title);
    void isPlayingChanged(bool isPlaying);
    void isBufferingChanged(bool isBuffering);
    void isHiddenChanged(bool isHidden);
    void isPinnedChanged(bool isPinned);
    void opacityChanged(double opacity);
    void clickThroughChanged(bool clickThrough);
    void grabModeChanged(bool grabMode);
    void lockAspectChanged(bool lockAspect);
    void controlsPinnedChanged(bool controlsPinned);
    void elapsedChanged(double elapsed);
    void durationChanged(double duration);
    void volumeChanged(double volume);
    void speedChanged(double speed);
    void loopChanged(bool loop);
    void canPiPChanged(bool canPiP);
    void pipActiveChanged(bool pipActive);
    void isCinemaChanged(bool isCinema);
    // The old player is deleted later, so a widget made from it may still be around briefly.
    void playerChanged(NativePlayer *player);
    void webViewChanged(QWidget *webView);
    void webCanGoBackChanged(bool canGoBack);
    void webCanGoForwardChanged(bool canGoForward);
    void webVideoAvailableChanged(bool available);
    void contentAspectChanged(const std::optional<double> &aspect);
    void toastChanged(const std::optional<QString> &toast);
    void bilibiliDanmakuHiddenChanged(bool hidden);
    void webCanSeekChanged(bool canSeek);
    void tracksChanged(const QList<NativePlayer::Track> &tracks);
    void trackChoiceChanged(const TrackChoice &choice);

private:
    void makeWebDriver(const Timing &timing, WebPageFactory makeWebPage);
    void restoreQuickPreferences();
    void writeQuickPreference(const QString &key, const QVariant &value);
    void configure();
    void configurePlayer();
    void configureWeb();
    void connectPlayer();
    void releasePlayer();
    void startTimeout();
    void handleStatus(quint64 item);
    void handleReady();
    void handleRate(quint64 item);
    void handlePresentationSize(quint64 item);
    void handleDuration(quint64 item);
    void handleTick(quint64 item, double seconds);
    void handlePlayedToEnd(quint64 item);
    void handleBuffering(quint64 item);
    void handleTracks(quint64 item);
    void applyTrackChoice();
    bool isCurrent(quint64 item) const;
    void applyResumeIfNeeded();
    bool shouldAutoPlay() const;
    void pauseForHide();
    void resumeAfterHide();
    void fail(const AppError &error);
    void teardown();
    void applyVolume();
    void applyRateIfPlaying();
    void finishScreenshot(bool ok, const QString &error);
    void handlePageLoading();
    void handlePageReady();
    void handlePageStuck();
    void handlePageTitle(const QString &title);

    void setState(PlaybackState state);
    void setPlaying(bool playing);
    void setBuffering(bool buffering);
    void setElapsed(double elapsed);
    void setDuration(double duration);
    void setContentAspect(std::optional<double> aspect);
    void setToast(std::optional<QString> toast);

    const QUuid m_id;
    const MediaSource m_source;
    Preferences &m_preferences;
    QSettings &m_quickPreferences;
    PlayerFactory m_makePlayer;

    PlaybackState m_state;
    QString m_title;
    bool m_isPlaying = false;
    bool m_isBuffering = false;
    bool m_isHidden = false;
    bool m_isPinned = false;
    double m_opacity = 1.0;
    bool m_clickThrough = false;
    bool m_grabMode = false;
    bool m_lockAspect = false;
    bool m_controlsPinned = false;
    double m_elapsed = 0;
    double m_duration = 0;
    double m_volume = 0.85;
    double m_speed = 1.0;
    bool m_loop = false;
    bool m_canPiP = false;
    bool m_pipActive = false;
    bool m_isCinema = false;
    std::unique_ptr<NativePlayer> m_player;
    quint64 m_item = 0;
    // Web sources only.
    std::unique_ptr<WebPageDriver> m_web;
    std::optional<double> m_contentAspect;
    std::optional<QString> m_toast;
    bool m_bilibiliDanmakuHidden = false;
    QList<NativePlayer::Track> m_tracks;
    TrackChoice m_trackChoice;
    bool m_trackChoiceApplied = false;

    QTimer m_toastTimer;
    QTimer m_timeout;
    QTimer m_stall;
    bool m_pausedByHide = false;
    bool m_stopped = false;
    bool m_didAutoPlay = false;
    int m_progressTick = 0;
    const std::optional<double> m_resumeSeconds;
};

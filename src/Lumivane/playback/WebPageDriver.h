#pragma once

#include "KiteCore/AppError.h"
#include "KiteCore/MediaSource.h"
#include "platform/PlatformError.h"
#include "platform/WebPage.h"
#include "playback/WebStallTracker.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariant>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class Preferences;
class QWidget;
struct WebMediaState;

// The web half of a playback session: owns the one page of a web source and keeps it under
// control (navigation policy, pop-ups, crashes), follows the page's main media element by
// polling it, recovers stalled playback, and runs the player's controls on the page. It
// reports to its session through signals; the session decides what they mean for its state.
// Every page and every poll gets a new number; answers and events carrying an older one
// belong to a page or poll that was let go and are dropped.
class WebPageDriver final : public QObject
{
    Q_OBJECT

public:
    using PageFactory = std::function<std::unique_ptr<WebPage>()>;
    // Seconds on a monotonic clock.
    using Clock = std::function<double()>;
    // Completion of saveSnapshot; error is empty on success.
    using SnapshotDone = std::function<void(bool ok, const QString &error)>;

    struct Timing {
        std::chrono::milliseconds poll{600};
        std::chrono::milliseconds pollNearAd{200};
        // Title and thumbnail again this long after a page finished, the title once more
        // after the second wait.
        std::chrono::milliseconds followUpFirst{1500};
        std::chrono::milliseconds followUpSecond{3000};
        std::chrono::milliseconds debugScanDelay{3000};
        Clock clock;
    };

    // How a page is let go: for a retry the old page just stops; for good it is also
    // blanked, so that its media stops at once.
    enum class Release { forRetry, forGood };

    WebPageDriver(MediaSource source, Preferences &preferences, PageFactory makePage,
                  Timing timing, QObject *parent = nullptr);
    ~WebPageDriver() override;

    // Makes a new page and loads the source in it; false when no page could be made.
    bool open();
    // Lets the current page go, with its poll, follow-ups and stall state.
    void release(Release how);

    // Null before open() and after release().
    WebPage *page() const { return m_page.get(); }
    QWidget *view() const;
    bool canGoBack() const { return m_canGoBack; }
    bool canGoForward() const { return m_canGoForward; }
    bool videoAvailable() const { return m_videoAvailable; }
    bool canSeek() const { return m_canSeek; }
    bool scrubbing() const { return m_scrubbing; }

    // While the user drags the position, polls leave it alone and stalls do not count.
    void setScrubbing(bool scrubbing);
    // Stalls of a hidden window do not count.
    void setHidden(bool hidden);
    // Pauses every playing media element, noting which played.
    void pauseForHide();
    // Resumes exactly the elements pauseForHide paused.
    void resumeAfterHide();

    // The player's controls, each one call of the page's control script; nothing without a
    // page. Speed and loop are remembered and handed to media that appears later.
    void togglePlay();
    // Non-finite or negative targets seek to 0; the position is reported at once.
    void seek(double seconds);
    // Clamped to 0..1; near zero also mutes.
    void setVolume(double volume);
    void setSpeed(double rate);
    void setLoop(bool on);
    // Remembered for the next finished page; applyDanmakuPreference applies it now.
    void setDanmakuHidden(bool hidden);
    // Shows or hides the comment overlay of bilibili pages.
    void applyDanmakuPreference();

    // Saves the page's visible content as PNG; done runs later, never after the driver is gone.
    void saveSnapshot(const QString &path, SnapshotDone done);

Q_SIGNALS:
    // The page's view changed: a new page, or null once it was let go.
    void viewChanged(QWidget *view);
    void canGoBackChanged(bool canGoBack);
    void canGoForwardChanged(bool canGoForward);
    void videoAvailableChanged(bool available);
    void canSeekChanged(bool canSeek);
    // A navigation of the main frame started, or finished.
    void pageLoading();
    void pageReady();
    void failed(const AppError &error);
    // The media stayed frozen after the recovery attempt.
    void stuck();
    // A short notice for the user.
    void notice(const QString &message);
    void positionChanged(double seconds);
    void durationChanged(double seconds);
    void playingChanged(bool playing);
    void aspectChanged(const std::optional<double> &aspect);
    // The page's title, trimmed and not empty; each time it is read.
    void titleFound(const QString &title);
    // A preview image for the source, once per image and document.
    void thumbnailFound(const QUrl &thumbnail);

private:
    void connectPage();
    WebPage::NavigationPolicy navigationPolicy();
    void refuseNavigation(const QUrl &url, bool isMainFrame);
    void runPageScript(const QString &script);
    // Runs script on the current page; handler gets the result only while that page is
    // still the driver's.
    void evaluate(const QString &script, std::function<void(const QVariant &)> handler);

    void handleLoadStarted();
    void handleLoadFinished();
    void handleLoadFailed(const PlatformError &error);
    void handleRendererTerminated();
    void handleNewWindow(const QUrl &url);
    void followUpFirst();
    void refreshTitle();
    void captureThumbnail();
    void scanSiteStructureIfDebug();
    void logSiteStructure();

    void startPolling();
    void cancelPolling();
    void scheduleNextPoll();
    void poll();
    void applyMediaState(const QVariant &result);
    void applyRememberedPlayback();
    void recoverStallIfNeeded(const WebMediaState &media);
    void attemptRecovery(double target);
    double now() const;

    void setCanGoBack(bool canGoBack);
    void setCanGoForward(bool canGoForward);
    void setVideoAvailable(bool available);
    void setCanSeek(bool canSeek);

    const MediaSource m_source;
    Preferences &m_preferences;
    PageFactory m_makePage;
    Clock m_clock;
    std::chrono::milliseconds m_pollInterval;
    std::chrono::milliseconds m_pollNearAdInterval;

    std::unique_ptr<WebPage> m_page;
    quint64 m_pageGeneration = 0;
    quint64 m_pollGeneration = 0;
    QTimer m_pollTimer;
    QTimer m_followUpFirst;
    QTimer m_followUpSecond;
    QTimer m_debugScan;
    WebStallTracker m_stall;

    bool m_canGoBack = false;
    bool m_canGoForward = false;
    bool m_videoAvailable = false;
    bool m_canSeek = false;
    bool m_scrubbing = false;
    bool m_hidden = false;
    std::optional<double> m_aspect;
    std::optional<QUrl> m_lastThumbnailURL;
    double m_speed = 1.0;
    bool m_loop = false;
    bool m_danmakuHidden = false;
};

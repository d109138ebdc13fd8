#include "playback/WebPageDriver.h"

#include "playback/ErrorClassifier.h"
#include "playback/WebEnhancer.h"
#include "playback/WebMediaState.h"
#include "settings/Preferences.h"
#include "platform/DebugLog.h"

#include "KiteCore/L10n.h"
#include "KiteCore/TextBounds.h"
#include "KiteCore/ThumbnailURL.h"

#include <QImage>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace {

using MediaControl = WebEnhancer::MediaControl;

// Smaller aspect changes are measuring noise of the page and would only re-layout the window.
constexpr double aspectTolerance = 0.001;
constexpr std::chrono::milliseconds pageLoadTimeout{30000};
constexpr std::chrono::milliseconds newWindowLoadTimeout{60000};

const QString controlledMarkScript =
    QStringLiteral("document.documentElement.classList.add('kt-webctl')");

double finiteOrZero(double seconds)
{
    return std::isfinite(seconds) && seconds >= 0 ? seconds : 0.0;
}

bool isAllowedScheme(const QString &scheme)
{
    static const QStringList allowed = {QStringLiteral("http"), QStringLiteral("https"),
                                        QStringLiteral("about"), QStringLiteral("data")};
    return allowed.contains(scheme);
}

bool isWebScheme(const QUrl &url)
{
    return url.scheme() == u"http" || url.scheme() == u"https";
}

double steadySeconds()
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceStart).count();
}

bool isBilibili(const QUrl &url)
{
    return url.host().contains(u"bilibili");
}

} // namespace

WebPageDriver::WebPageDriver(MediaSource source, Preferences &preferences, PageFactory makePage,
                             Timing timing, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_preferences(preferences)
    , m_makePage(std::move(makePage))
    , m_clock(timing.clock ? timing.clock : Clock(steadySeconds))
    , m_pollInterval(timing.poll)
    , m_pollNearAdInterval(timing.pollNearAd)
    , m_stall(m_clock())
{
    m_pollTimer.setSingleShot(true);
    connect(&m_pollTimer, &QTimer::timeout, this, &WebPageDriver::poll);
    m_followUpFirst.setSingleShot(true);
    m_followUpFirst.setInterval(timing.followUpFirst);
    connect(&m_followUpFirst, &QTimer::timeout, this, &WebPageDriver::followUpFirst);
    m_followUpSecond.setSingleShot(true);
    m_followUpSecond.setInterval(timing.followUpSecond);
    connect(&m_followUpSecond, &QTimer::timeout, this, &WebPageDriver::refreshTitle);
    m_debugScan.setSingleShot(true);
    m_debugScan.setInterval(timing.debugScanDelay);
    connect(&m_debugScan, &QTimer::timeout, this, &WebPageDriver::logSiteStructure);
}

WebPageDriver::~WebPageDriver()
{
    // None of the page's signals may reach a half-destroyed driver, and the owner may be
    // discarding it from inside one of them.
    if (m_page) {
        m_page->disconnect(this);
        m_page.release()->deleteLater();
    }
}

bool WebPageDriver::open()
{
    m_page = m_makePage ? m_makePage() : nullptr;
    if (!m_page) {
        Q_EMIT viewChanged(nullptr);
        return false;
    }
    ++m_pageGeneration;
    const QUrl &url = m_source.url();
    m_page->setUserScripts(
        WebEnhancer::scripts(url, m_preferences.webCleanup(), m_preferences.bilibiliClean()));
    m_page->setCompatibilityMode(m_preferences.webCompatibilityMode());
    m_page->setNavigationPolicy(navigationPolicy());
    connectPage();
    Q_EMIT viewChanged(view());
    DebugLog::debug(QStringLiteral("[kt] web load %1").arg(url.toString()));
    m_page->load(url, pageLoadTimeout);
    return true;
}

void WebPageDriver::release(Release how)
{
    cancelPolling();
    m_stall.reset(now());
    m_aspect.reset();
    if (m_page) {
        ++m_pageGeneration;
        m_followUpFirst.stop();
        m_followUpSecond.stop();
        m_debugScan.stop();
        m_page->stopLoading();
        m_page->disconnect(this);
        if (how == Release::forGood)
            m_page->loadBlank();
        // A caller may be inside one of the page's own signals.
        m_page.release()->deleteLater();
        Q_EMIT viewChanged(nullptr);
    }
    if (how == Release::forRetry)
        setVideoAvailable(false);
}

QWidget *WebPageDriver::view() const
{
    return m_page ? m_page->view() : nullptr;
}

void WebPageDriver::connectPage()
{
    WebPage *page = m_page.get();
    connect(page, &WebPage::loadStarted, this, &WebPageDriver::handleLoadStarted);
    connect(page, &WebPage::loadFinished, this, &WebPageDriver::handleLoadFinished);
    connect(page, &WebPage::loadFailed, this, &WebPageDriver::handleLoadFailed);
    connect(page, &WebPage::renderProcessTerminated, this,
            &WebPageDriver::handleRendererTerminated);
    connect(page, &WebPage::newWindowRequested, this, &WebPageDriver::handleNewWindow);
}

WebPage::NavigationPolicy WebPageDriver::navigationPolicy()
{
    QPointer<WebPageDriver> self(this);
    const quint64 page = m_pageGeneration;
    return [self, page](const QUrl &url, bool isMainFrame) {
        if (url.isEmpty())
            return false;
        if (isAllowedScheme(url.scheme().toLower()))
            return true;
        if (!self)
            return false;
        // The engine is in the middle of deciding; the failure is told once it is done.
        QTimer::singleShot(0, self, [self, page, url, isMainFrame] {
            if (self && self->m_pageGeneration == page)
                self->refuseNavigation(url, isMainFrame);
        });
        return false;
    };
}

void WebPageDriver::refuseNavigation(const QUrl &url, bool isMainFrame)
{
    const QString scheme = url.scheme().toLower();
    DebugLog::debug(QStringLiteral("[kt] web blocked %1 mainFrame=%2")
                        .arg(scheme, isMainFrame ? QStringLiteral("true") : QStringLiteral("false")));
    if (isMainFrame)
        Q_EMIT failed(ErrorClassifier::otherApp(scheme));
}

void WebPageDriver::runPageScript(const QString &script)
{
    if (m_page && !script.isEmpty())
        m_page->runJavaScript(script);
}

void WebPageDriver::evaluate(const QString &script, std::function<void(const QVariant &)> handler)
{
    if (!m_page)
        return;
    QPointer<WebPageDriver> self(this);
    const quint64 page = m_pageGeneration;
    m_page->runJavaScript(script, [self, page, handler = std::move(handler)](const QVariant &result) {
        if (self && self->m_page && self->m_pageGeneration == page)
            handler(result);
    });
}

void WebPageDriver::handleLoadStarted()
{
    m_lastThumbnailURL.reset();
    Q_EMIT pageLoading();
}

void WebPageDriver::handleLoadFinished()
{
    DebugLog::debug(QStringLiteral("[kt] web finished %1").arg(m_page->url().toString()));
    const quint64 page = m_pageGeneration;
    Q_EMIT pageReady();
    // Whoever heard of it may have let the page go.
    if (page != m_pageGeneration)
        return;
    setCanGoBack(m_page->canGoBack());
    setCanGoForward(m_page->canGoForward());
    refreshTitle();
    captureThumbnail();
    applyDanmakuPreference();
    startPolling();
    scanSiteStructureIfDebug();
    // Many pages set their title and preview image late; a newer page starts the wait over.
    m_followUpSecond.stop();
    m_followUpFirst.start();
}

void WebPageDriver::handleLoadFailed(const PlatformError &error)
{
    DebugLog::debug(QStringLiteral("[kt] web failed code=%1 %2").arg(error.code).arg(error.description));
    if (error.code == PlatformError::cancelled)
        return;
    Q_EMIT failed(ErrorClassifier::classify(error, AppError::Kind::web));
}

void WebPageDriver::handleRendererTerminated()
{
    Q_EMIT failed(ErrorClassifier::rendererStopped());
}

void WebPageDriver::handleNewWindow(const QUrl &url)
{
    // Pop-ups never get a window of their own: web pages open in place, the rest is dropped.
    if (isWebScheme(url))
        m_page->load(url, newWindowLoadTimeout);
}

void WebPageDriver::followUpFirst()
{
    refreshTitle();
    captureThumbnail();
    m_followUpSecond.start();
}

void WebPageDriver::refreshTitle()
{
    evaluate(QStringLiteral("document.title"), [this](const QVariant &result) {
        if (result.typeId() != QMetaType::QString)
            return;
        const QString title = TextBounds::title(result.toString().trimmed());
        if (!title.isEmpty())
            Q_EMIT titleFound(title);
    });
}

void WebPageDriver::captureThumbnail()
{
    // A known thumbnail is never replaced.
    if (m_source.thumbnailURL())
        return;
    evaluate(WebEnhancer::pageThumbnailScript(), [this](const QVariant &result) {
        if (result.typeId() != QMetaType::QString || result.toString().isEmpty())
            return;
        const std::optional<QUrl> thumbnail = ThumbnailURL::normalize(result.toString());
        if (!thumbnail || thumbnail == m_lastThumbnailURL)
            return;
        m_lastThumbnailURL = thumbnail;
        Q_EMIT thumbnailFound(*thumbnail);
    });
}

void WebPageDriver::scanSiteStructureIfDebug()
{
    if (DebugLog::enabled() && isBilibili(m_source.url()))
        m_debugScan.start();
}

void WebPageDriver::logSiteStructure()
{
    evaluate(WebEnhancer::siteStructureScanScript(), [](const QVariant &result) {
        if (result.typeId() == QMetaType::QString)
            DebugLog::web("[ktlog] " + result.toString().toUtf8() + '\n');
    });
}

void WebPageDriver::setScrubbing(bool scrubbing)
{
    m_scrubbing = scrubbing;
}

void WebPageDriver::setHidden(bool hidden)
{
    m_hidden = hidden;
}

void WebPageDriver::pauseForHide()
{
    runPageScript(WebEnhancer::hidePauseScript());
}

void WebPageDriver::resumeAfterHide()
{
    runPageScript(WebEnhancer::showResumeScript());
}

void WebPageDriver::togglePlay()
{
    runPageScript(WebEnhancer::mediaControlScript(MediaControl::togglePlay));
}

void WebPageDriver::seek(double seconds)
{
    if (!m_page)
        return;
    const double target = finiteOrZero(seconds);
    runPageScript(WebEnhancer::mediaControlScript(MediaControl::seek, target));
    Q_EMIT positionChanged(target);
}

void WebPageDriver::setVolume(double volume)
{
    const double value = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    runPageScript(WebEnhancer::mediaControlScript(MediaControl::volume, value));
}

void WebPageDriver::setSpeed(double rate)
{
    // The page throws at a rate it cannot play; the script's error is ignored.
    if (!std::isfinite(rate))
        return;
    m_speed = rate;
    runPageScript(WebEnhancer::mediaControlScript(MediaControl::speed, rate));
}

void WebPageDriver::setLoop(bool on)
{
    m_loop = on;
    runPageScript(WebEnhancer::mediaControlScript(MediaControl::loop, on));
}

void WebPageDriver::setDanmakuHidden(bool hidden)
{
    m_danmakuHidden = hidden;
}

void WebPageDriver::applyDanmakuPreference()
{
    if (isBilibili(m_source.url()))
        runPageScript(WebEnhancer::mediaControlScript(MediaControl::danmaku, m_danmakuHidden));
}

void WebPageDriver::saveSnapshot(const QString &path, SnapshotDone done)
{
    if (!m_page)
        return;
    QPointer<WebPageDriver> self(this);
    m_page->takeSnapshot([self, path, done = std::move(done)](const QImage &image) {
        if (!self)
            return;
        // Neither a missing picture nor a failed write comes with a reason of its own.
        done(!image.isNull() && image.save(path, "PNG"), QString());
    });
}

void WebPageDriver::startPolling()
{
    cancelPolling();
    poll();
}

void WebPageDriver::cancelPolling()
{
    ++m_pollGeneration;
    m_pollTimer.stop();
}

void WebPageDriver::scheduleNextPoll()
{
    m_pollTimer.start(m_stall.nearAd() ? m_pollNearAdInterval : m_pollInterval);
}

void WebPageDriver::poll()
{
    if (!m_page || !m_preferences.webControlTakeover()) {
        if (m_videoAvailable)
            setVideoAvailable(false);
        // Without takeover the loop keeps going, so that switching it on takes effect.
        if (m_page)
            scheduleNextPoll();
        return;
    }
    const quint64 poll = m_pollGeneration;
    evaluate(WebEnhancer::mediaStateScript(), [this, poll](const QVariant &result) {
        if (poll != m_pollGeneration)
            return;
        applyMediaState(result);
        scheduleNextPoll();
    });
}

void WebPageDriver::applyMediaState(const QVariant &result)
{
    const std::optional<WebMediaState> media = WebMediaState::parse(result);
    if (!media) {
        if (m_videoAvailable)
            setVideoAvailable(false);
        return;
    }
    const std::optional<double> aspect = media->aspect();
    if (aspect && (!m_aspect || std::abs(*aspect - *m_aspect) > aspectTolerance)) {
        m_aspect = aspect;
        Q_EMIT aspectChanged(m_aspect);
    }
    if (!m_videoAvailable) {
        setVideoAvailable(true);
        applyRememberedPlayback();
    }
    if (m_canSeek != media->seekable)
        setCanSeek(media->seekable);
    if (!m_scrubbing)
        Q_EMIT positionChanged(media->time);
    if (media->duration > 0)
        Q_EMIT durationChanged(media->duration);
    Q_EMIT playingChanged(!media->paused);
    recoverStallIfNeeded(*media);
    runPageScript(controlledMarkScript);
}

void WebPageDriver::applyRememberedPlayback()
{
    // The remembered speed and loop were set before the page had a media element.
    if (m_speed != 1.0)
        setSpeed(m_speed);
    if (m_loop)
        setLoop(true);
}

void WebPageDriver::recoverStallIfNeeded(const WebMediaState &media)
{
    const WebStallTracker::Sample sample{media.time,      media.duration, media.paused, media.ended,
                                         media.adShowing, m_hidden,       m_scrubbing};
    const WebStallTracker::Decision decision = m_stall.observe(sample, now());
    switch (decision.verdict) {
    case WebStallTracker::Verdict::recover: attemptRecovery(decision.target); break;
    case WebStallTracker::Verdict::showError: Q_EMIT stuck(); break;
    case WebStallTracker::Verdict::none: break;
    }
}

void WebPageDriver::attemptRecovery(double target)
{
    DebugLog::debug(QStringLiteral("[kt] web stall: re-seek to %1").arg(target));
    runPageScript(WebEnhancer::recoveryScript(target));
    Q_EMIT notice(L("网页播放卡住了，正在尝试恢复…", "Web playback stalled — recovering…",
                    "La reproducción web se atascó — recuperando…"));
}

double WebPageDriver::now() const
{
    return m_clock();
}

void WebPageDriver::setCanGoBack(bool canGoBack)
{
    m_canGoBack = canGoBack;
    Q_EMIT canGoBackChanged(m_canGoBack);
}

void WebPageDriver::setCanGoForward(bool canGoForward)
{
    m_canGoForward = canGoForward;
    Q_EMIT canGoForwardChanged(m_canGoForward);
}

void WebPageDriver::setVideoAvailable(bool available)
{
    m_videoAvailable = available;
    Q_EMIT videoAvailableChanged(m_videoAvailable);
}

void WebPageDriver::setCanSeek(bool canSeek)
{
    m_canSeek = canSeek;
    Q_EMIT canSeekChanged(m_canSeek);
}

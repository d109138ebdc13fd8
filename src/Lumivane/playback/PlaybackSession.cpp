#include "playback/PlaybackSession.h"

#include "playback/ErrorClassifier.h"
#include "playback/Screenshots.h"
#include "playback/WebPageDriver.h"
#include "settings/Preferences.h"
#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/UserDefaults.h"

#include "KiteCore/L10n.h"
#include "KiteCore/PlaybackRules.h"

#include <QDateTime>
#include <QDir>
#include <QPointer>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString volumeKey = QStringLiteral("default.volume");
const QString speedKey = QStringLiteral("default.speed");
const QString loopKey = QStringLiteral("default.loop");

// Pressing play this close to the end starts over instead of ending again at once.
constexpr double restartWindow = 0.4;
// Saved positions up to this are not worth resuming; resuming stops this far from the end.
constexpr double resumeMargin = 3.0;
constexpr double minimumSpeed = 0.2;
constexpr double maximumSpeed = 3.0;
constexpr int progressEvery = 3;

double finiteOrZero(double seconds)
{
    return std::isfinite(seconds) && seconds >= 0 ? seconds : 0.0;
}

QString kindName(AppError::Kind kind)
{
    switch (kind) {
    case AppError::Kind::input: return QStringLiteral("input");
    case AppError::Kind::network: return QStringLiteral("network");
    case AppError::Kind::decode: return QStringLiteral("decode");
    case AppError::Kind::web: return QStringLiteral("web");
    case AppError::Kind::external: return QStringLiteral("external");
    case AppError::Kind::storage: return QStringLiteral("storage");
    }
    return QStringLiteral("unknown");
}

QString statusName(NativePlayer::Status status)
{
    switch (status) {
    case NativePlayer::Status::unknown: return QStringLiteral("0");
    case NativePlayer::Status::readyToPlay: return QStringLiteral("1");
    case NativePlayer::Status::failed: return QStringLiteral("2");
    }
    return QStringLiteral("?");
}

} // namespace

PlaybackSession::PlaybackSession(MediaSource source, std::optional<double> resumeSeconds,
                                 Dependencies dependencies, QObject *parent)
    : QObject(parent)
    , m_id(QUuid::createUuid())
    , m_source(std::move(source))
    , m_preferences(dependencies.preferences)
    , m_quickPreferences(dependencies.quickPreferences)
    , m_makePlayer(std::move(dependencies.makePlayer))
    , m_title(m_source.title())
    , m_isPinned(m_preferences.alwaysOnTop())
    , m_lockAspect(m_preferences.lockAspect())
    , m_bilibiliDanmakuHidden(m_preferences.bilibiliHideDanmaku())
    , m_resumeSeconds(resumeSeconds)
{
    m_toastTimer.setSingleShot(true);
    m_toastTimer.setInterval(dependencies.timing.toast);
    connect(&m_toastTimer, &QTimer::timeout, this, [this] { setToast(std::nullopt); });
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(dependencies.timing.watchdog);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        if (m_state.isLoading())
            fail(ErrorClassifier::watchdog(m_source.url().isLocalFile()));
    });

    m_stall.setSingleShot(true);
    m_stall.setInterval(dependencies.timing.nativeStall);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        // Runs only while playing (see handleRate).
        if (m_player && m_state.isReady())
            fail(ErrorClassifier::nativeStall(
                int(std::chrono::duration_cast<std::chrono::seconds>(m_stall.intervalAsDuration()).count())));
    });

    if (m_source.kind() == MediaKind::web)
        makeWebDriver(dependencies.timing, std::move(dependencies.makeWebPage));
    restoreQuickPreferences();
    configure();
}

PlaybackSession::~PlaybackSession()
{
    // None of the player's signals may reach a half-destroyed session, and the owner may be
    // discarding it from inside one of them.
    if (m_player) {
        m_player->disconnect(this);
        m_player.release()->deleteLater();
    }
    if (m_web)
        m_web->disconnect(this);
}

void PlaybackSession::makeWebDriver(const Timing &timing, WebPageFactory makeWebPage)
{
    m_web = std::make_unique<WebPageDriver>(
        m_source, m_preferences, std::move(makeWebPage),
        WebPageDriver::Timing{timing.webPoll, timing.webPollNearAd, timing.webFollowUpFirst,
                              timing.webFollowUpSecond, timing.debugScanDelay, timing.clock});
    m_web->setDanmakuHidden(m_bilibiliDanmakuHidden);
    WebPageDriver *web = m_web.get();
    connect(web, &WebPageDriver::viewChanged, this, &PlaybackSession::webViewChanged);
    connect(web, &WebPageDriver::canGoBackChanged, this, &PlaybackSession::webCanGoBackChanged);
    connect(web, &WebPageDriver::canGoForwardChanged, this, &PlaybackSession::webCanGoForwardChanged);
    connect(web, &WebPageDriver::videoAvailableChanged, this,
            &PlaybackSession::webVideoAvailableChanged);
    connect(web, &WebPageDriver::canSeekChanged, this, &PlaybackSession::webCanSeekChanged);
    connect(web, &WebPageDriver::pageLoading, this, &PlaybackSession::handlePageLoading);
    connect(web, &WebPageDriver::pageReady, this, &PlaybackSession::handlePageReady);
    connect(web, &WebPageDriver::failed, this, &PlaybackSession::fail);
    connect(web, &WebPageDriver::stuck, this, &PlaybackSession::handlePageStuck);
    connect(web, &WebPageDriver::notice, this, &PlaybackSession::showToast);
    connect(web, &WebPageDriver::positionChanged, this, &PlaybackSession::setElapsed);
    connect(web, &WebPageDriver::durationChanged, this, &PlaybackSession::setDuration);
    connect(web, &WebPageDriver::playingChanged, this, &PlaybackSession::setPlaying);
    connect(web, &WebPageDriver::aspectChanged, this, &PlaybackSession::setContentAspect);
    connect(web, &WebPageDriver::titleFound, this, &PlaybackSession::handlePageTitle);
    connect(web, &WebPageDriver::thumbnailFound, this, &PlaybackSession::thumbnailReported);
}

void PlaybackSession::restoreQuickPreferences()
{
    // A damaged entry must not read as 0 and mute the player.
    bool readable = false;
    const double volume = m_quickPreferences.value(volumeKey).toDouble(&readable);
    if (readable)
        setVolume(volume);
    const double speed = m_quickPreferences.value(speedKey).toDouble(&readable);
    if (readable && speed > minimumSpeed && speed <= maximumSpeed)
        setSpeed(speed);
    const QVariant loop = m_quickPreferences.value(loopKey);
    if (loop.isValid())
        setLoop(loop.toBool());
}

void PlaybackSession::writeQuickPreference(const QString &key, const QVariant &value)
{
    m_quickPreferences.setValue(key, value);
    UserDefaults::save(m_quickPreferences);
}

void PlaybackSession::setVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    m_volume = volume;
    Q_EMIT volumeChanged(m_volume);
    applyVolume();
    writeQuickPreference(volumeKey, m_volume);
}

void PlaybackSession::setSpeed(double speed)
{
    if (!std::isfinite(speed) || speed <= 0)
        return;
    m_speed = speed;
    Q_EMIT speedChanged(m_speed);
    applyRateIfPlaying();
    writeQuickPreference(speedKey, m_speed);
    webSetSpeed(m_speed);
}

void PlaybackSession::setLoop(bool loop)
{
    m_loop = loop;
    Q_EMIT loopChanged(m_loop);
    writeQuickPreference(loopKey, m_loop);
    webSetLoop(m_loop);
}

void PlaybackSession::applyVolume()
{
    if (m_player)
        m_player->setVolume(std::clamp(m_volume, 0.0, 1.0));
}

void PlaybackSession::applyRateIfPlaying()
{
    if (m_player && m_player->rate() > 0)
        m_player->setRate(m_speed);
}

void PlaybackSession::configure()
{
    if (m_web)
        configureWeb();
    else
        configurePlayer();
}

void PlaybackSession::configurePlayer()
{
    m_player = m_makePlayer ? m_makePlayer() : nullptr;
    if (!m_player) {
        Q_EMIT playerChanged(nullptr);
        fail(ErrorClassifier::classify(std::nullopt, AppError::Kind::decode));
        return;
    }
    m_player->setVolume(std::clamp(m_volume, 0.0, 1.0));
    m_trackChoiceApplied = false;
    connectPlayer();
    m_item = m_player->load(m_source.url());
    Q_EMIT playerChanged(m_player.get());
    startTimeout();
}

void PlaybackSession::connectPlayer()
{
    NativePlayer *player = m_player.get();
    connect(player, &NativePlayer::statusChanged, this, &PlaybackSession::handleStatus);
    connect(player, &NativePlayer::rateChanged, this, &PlaybackSession::handleRate);
    connect(player, &NativePlayer::presentationSizeChanged, this,
            &PlaybackSession::handlePresentationSize);
    connect(player, &NativePlayer::durationChanged, this, &PlaybackSession::handleDuration);
    connect(player, &NativePlayer::timeTick, this, &PlaybackSession::handleTick);
    connect(player, &NativePlayer::playedToEnd, this, &PlaybackSession::handlePlayedToEnd);
    connect(player, &NativePlayer::bufferingChanged, this, &PlaybackSession::handleBuffering);
    connect(player, &NativePlayer::tracksChanged, this, &PlaybackSession::handleTracks);
}

void PlaybackSession::releasePlayer()
{
    if (!m_player)
        return;
    m_player->disconnect(this);
    m_player->pause();
    m_player->unload();
    m_item = 0;
    m_tracks.clear();
    // A caller may be inside one of the player's own signals.
    m_player.release()->deleteLater();
    Q_EMIT playerChanged(nullptr);
}

bool PlaybackSession::isCurrent(quint64 item) const
{
    // stop() and retry() release the player, so a stopped session has none.
    return m_player && item != 0 && item == m_item
        && m_player->currentItem() == item;
}

void PlaybackSession::startTimeout()
{
    m_timeout.start();
}

void PlaybackSession::handleStatus(quint64 item)
{
    if (!isCurrent(item))
        return;
    const NativePlayer::Status status = m_player->status();
    const std::optional<PlatformError> error = m_player->error();
    DebugLog::debug(QStringLiteral("[kt] item status=%1 error=%2")
                 .arg(statusName(status), error ? error->description : QStringLiteral("nil")));
    switch (status) {
    case NativePlayer::Status::failed:
        fail(ErrorClassifier::classify(error, AppError::Kind::decode));
        break;
    case NativePlayer::Status::readyToPlay:
        handleReady();
        break;
    case NativePlayer::Status::unknown:
        break;
    }
}

void PlaybackSession::handleReady()
{
    setState(PlaybackState::ready());
    m_timeout.stop();
    // The duration notice may still be on its way; the player often knows it already.
    if (m_duration <= 0) {
        const std::optional<double> known = m_player->duration();
        if (known && std::isfinite(*known) && *known > 0)
            setDuration(*known);
    }
    applyResumeIfNeeded();
    if (!m_didAutoPlay && shouldAutoPlay()) {
        m_didAutoPlay = true;
        play();
    }
}

void PlaybackSession::handleRate(quint64 item)
{
    if (!isCurrent(item))
        return;
    const bool playing = m_player->rate() > 0;
    setPlaying(playing);
    // Playback must move on, or at least data must come in, from here on.
    if (playing)
        m_stall.start();
    else
        m_stall.stop();
}

void PlaybackSession::handlePresentationSize(quint64 item)
{
    if (!isCurrent(item))
        return;
    const QSizeF size = m_player->presentationSize();
    if (size.width() > 0 && size.height() > 0)
        setContentAspect(size.width() / size.height());
}

void PlaybackSession::handleDuration(quint64 item)
{
    if (!isCurrent(item))
        return;
    const std::optional<double> duration = m_player->duration();
    setDuration(duration ? finiteOrZero(*duration) : 0.0);
}

void PlaybackSession::handleTick(quint64 item, double seconds)
{
    if (!isCurrent(item))
        return;
    setElapsed(finiteOrZero(seconds));
    if (m_stall.isActive())
        m_stall.start();
    const std::optional<double> duration = m_player->duration();
    if (duration && std::isfinite(*duration) && *duration > 0)
        setDuration(*duration);
    ++m_progressTick;
    if (m_progressTick % progressEvery == 0)
        reportProgress();
}

void PlaybackSession::handlePlayedToEnd(quint64 item)
{
    if (!isCurrent(item))
        return;
    setPlaying(false);
    if (const std::optional<double> duration = m_player->duration();
        duration && PlaybackRules::endedEarly(m_player->currentTime(), *duration)) {
        fail(ErrorClassifier::endedEarly(m_player->currentTime(), *duration, m_source.url().isLocalFile()));
        return;
    }
    if (m_loop) {
        m_player->seek(0, NativePlayer::SeekMode::exact);
        m_player->setRate(m_speed);
    } else {
        // The owner may delete the session from here: nothing may follow.
        Q_EMIT reachedEnd();
    }
}

void PlaybackSession::handleBuffering(quint64 item)
{
    if (!isCurrent(item))
        return;
    setBuffering(m_player->isBuffering());
    // Data arrived: only a stream that sends nothing runs the countdown out.
    if (m_stall.isActive())
        m_stall.start();
}

void PlaybackSession::reportProgress()
{
    Q_EMIT progressReported(m_elapsed,
                            m_duration > 0 ? std::optional<double>(m_duration) : std::nullopt);
}

void PlaybackSession::requestExternal()
{
    Q_EMIT externalRequested();
}

void PlaybackSession::applyResumeIfNeeded()
{
    if (!m_preferences.resumePlayback() || !m_resumeSeconds || !m_player)
        return;
    const double saved = *m_resumeSeconds;
    if (!std::isfinite(saved) || saved <= resumeMargin)
        return;
    // With the length still unknown the player stops at the end by itself.
    const double target = m_duration > 0 ? std::min(std::max(m_duration - resumeMargin, 0.0), saved)
                                         : saved;
    m_player->seek(target, NativePlayer::SeekMode::defaultTolerance);
}

bool PlaybackSession::shouldAutoPlay() const
{
    return !m_isHidden;
}

void PlaybackSession::play()
{
    if (!m_player)
        return;
    if (m_duration > 0 && m_elapsed >= m_duration - restartWindow)
        m_player->seek(0, NativePlayer::SeekMode::exact);
    m_player->play();
    m_player->setRate(m_speed);
}

void PlaybackSession::togglePlayback()
{
    if (m_player && m_player->rate() > 0)
        m_player->pause();
    else
        play();
}

void PlaybackSession::seek(double seconds)
{
    if (!m_player || std::isnan(seconds))
        return;
    const double bound = m_duration > 0 ? m_duration : std::numeric_limits<double>::max();
    const double target = std::clamp(seconds, 0.0, bound);
    m_player->seek(target, NativePlayer::SeekMode::exact);
    setElapsed(target);
}

void PlaybackSession::setHidden(bool hidden)
{
    if (hidden == m_isHidden)
        return;
    const bool waitingToAutoplay = m_player && m_state.isLoading();
    // A page has no player: its own media element, as the last poll saw it, decides.
    const bool playing = m_player ? m_player->rate() > 0 : (webPage() && m_isPlaying);
    const bool pauseWhenHidden = m_preferences.pauseWhenHidden();
    m_isHidden = hidden;
    Q_EMIT isHiddenChanged(m_isHidden);
    if (m_web)
        m_web->setHidden(hidden);
    if (hidden) {
        if (PlaybackRules::hiding(playing, waitingToAutoplay, pauseWhenHidden)
            == PlaybackRules::HideAction::pause) {
            pauseForHide();
            m_pausedByHide = true;
        }
        reportProgress();
        return;
    }
    if (PlaybackRules::showing(m_pausedByHide, waitingToAutoplay, false)
        == PlaybackRules::ShowAction::resume)
        resumeAfterHide();
    m_pausedByHide = false;
}

void PlaybackSession::pauseForHide()
{
    if (m_web)
        m_web->pauseForHide();
    else if (m_player)
        m_player->pause();
}

void PlaybackSession::resumeAfterHide()
{
    if (m_web)
        m_web->resumeAfterHide();
    else
        play();
}

void PlaybackSession::fail(const AppError &error)
{
    DebugLog::debug(QStringLiteral("[kt] fail: %1 %2").arg(kindName(error.kind()), error.message()));
    if (m_stopped)
        return;
    setState(PlaybackState::failed(error));
    m_timeout.stop();
    m_stall.stop();
    setBuffering(false);
    if (m_player)
        m_player->pause();
}

void PlaybackSession::teardown()
{
    releasePlayer();
    if (m_web)
        m_web->release(WebPageDriver::Release::forRetry);
    setContentAspect(std::nullopt);
    setPlaying(false);
    m_stall.stop();
    setBuffering(false);
}

void PlaybackSession::selectTrack(NativePlayer::TrackType type, std::optional<int> id)
{
    if (!m_player)
        return;
    m_player->selectTrack(type, id);
    (type == NativePlayer::TrackType::audio ? m_trackChoice.audio : m_trackChoice.subtitle) = id.value_or(0);
    Q_EMIT trackChoiceChanged(m_trackChoice);
}

void PlaybackSession::addSubtitleFile(const QString &path)
{
    if (m_player)
        m_player->addSubtitleFile(path);
}

void PlaybackSession::restoreTrackChoice(const TrackChoice &choice)
{
    m_trackChoice = choice;
    m_trackChoiceApplied = false;
    Q_EMIT trackChoiceChanged(m_trackChoice);
    applyTrackChoice();
}

void PlaybackSession::handleTracks(quint64 item)
{
    if (!m_player || !isCurrent(item))
        return;
    m_tracks = m_player->tracks();
    Q_EMIT tracksChanged(m_tracks);
    applyTrackChoice();
}

// Once per load: later changes of the list (a subtitle file added) keep what plays.
void PlaybackSession::applyTrackChoice()
{
    if (m_trackChoiceApplied || m_tracks.isEmpty() || !m_player)
        return;
    m_trackChoiceApplied = true;
    const auto has = [this](NativePlayer::TrackType type, int id) {
        return std::ranges::any_of(m_tracks, [&](const NativePlayer::Track &t) { return t.type == type && t.id == id; });
    };
    if (m_trackChoice.audio && has(NativePlayer::TrackType::audio, *m_trackChoice.audio))
        m_player->selectTrack(NativePlayer::TrackType::audio, m_trackChoice.audio);
    if (m_trackChoice.subtitle == 0)
        m_player->selectTrack(NativePlayer::TrackType::subtitle, std::nullopt);
    else if (m_trackChoice.subtitle && has(NativePlayer::TrackType::subtitle, *m_trackChoice.subtitle))
        m_player->selectTrack(NativePlayer::TrackType::subtitle, m_trackChoice.subtitle);
}

void PlaybackSession::retry()
{
    teardown();
    m_stopped = false;
    m_didAutoPlay = false;
    setState(PlaybackState::loading());
    setElapsed(0);
    setDuration(0);
    configure();
}

void PlaybackSession::stop()
{
    m_stopped = true;
    m_timeout.stop();
    m_stall.stop();
    setBuffering(false);
    setContentAspect(std::nullopt);
    releasePlayer();
    if (m_web)
        m_web->release(WebPageDriver::Release::forGood);
    setPlaying(false);
    setState(PlaybackState::loading());
}

void PlaybackSession::captureScreenshot()
{
    if (!m_player && !webPage())
        return;
    const QString folder = AppPaths::screenshotFolder();
    QDir().mkpath(folder);
    const QString path =
        folder + QLatin1Char('/') + Screenshots::fileName(m_title, QDateTime::currentDateTime());
    QPointer<PlaybackSession> self(this);
    auto done = [self](bool ok, const QString &error) {
        if (self)
            self->finishScreenshot(ok, error);
    };
    if (m_web)
        m_web->saveSnapshot(path, std::move(done));
    else
        m_player->saveFrame(path, std::move(done));
}

void PlaybackSession::finishScreenshot(bool ok, const QString &error)
{
    if (ok) {
        showToast(L("已保存截图到桌面", "Screenshot saved to Desktop",
                    "Captura guardada en el escritorio"));
        return;
    }
    const QString reason = error.trimmed().isEmpty() ? QStringLiteral("请重试") : error;
    showToast(L(QStringLiteral("截图失败：") + reason, QStringLiteral("Screenshot failed"),
                QStringLiteral("Error al capturar")));
}

void PlaybackSession::showToast(const QString &message)
{
    setToast(message);
    m_toastTimer.start();
}

double PlaybackSession::progress() const
{
    if (m_duration <= 0)
        return 0;
    return std::clamp(m_elapsed / m_duration, 0.0, 1.0);
}

QString PlaybackSession::statusText() const
{
    if (m_state.isFailed())
        return L("打开失败", "Failed", "Error");
    if (m_state.isLoading())
        return L("正在打开…", "Opening…", "Abriendo…");
    if (m_isHidden)
        return L("已收起", "Hidden", "Oculto");
    if (m_isBuffering)
        return L("正在缓冲…", "Buffering…", "Cargando búfer…");
    if (m_source.kind() == MediaKind::web)
        return L("网页已打开", "Page ready", "Página lista");
    if (m_isPlaying)
        return L("正在播放", "Playing", "Reproduciendo");
    return L("已暂停", "Paused", "En pausa");
}

QWidget *PlaybackSession::webView() const
{
    return m_web ? m_web->view() : nullptr;
}

WebPage *PlaybackSession::webPage() const
{
    return m_web ? m_web->page() : nullptr;
}

bool PlaybackSession::scrubbingWeb() const
{
    return m_web && m_web->scrubbing();
}

bool PlaybackSession::webCanGoBack() const
{
    return m_web && m_web->canGoBack();
}

bool PlaybackSession::webCanGoForward() const
{
    return m_web && m_web->canGoForward();
}

bool PlaybackSession::webVideoAvailable() const
{
    return m_web && m_web->videoAvailable();
}

bool PlaybackSession::webCanSeek() const
{
    return m_web && m_web->canSeek();
}

void PlaybackSession::setScrubbingWeb(bool scrubbing)
{
    if (m_web)
        m_web->setScrubbing(scrubbing);
}

void PlaybackSession::webTogglePlay()
{
    if (m_web)
        m_web->togglePlay();
}

void PlaybackSession::webSeek(double seconds)
{
    if (m_web)
        m_web->seek(seconds);
}

void PlaybackSession::webSetVolume(double volume)
{
    if (m_web)
        m_web->setVolume(volume);
}

void PlaybackSession::webSetSpeed(double rate)
{
    if (m_web)
        m_web->setSpeed(rate);
}

void PlaybackSession::webSetLoop(bool on)
{
    if (m_web)
        m_web->setLoop(on);
}

void PlaybackSession::applyDanmakuPreference()
{
    if (m_web)
        m_web->applyDanmakuPreference();
}

void PlaybackSession::configureWeb()
{
    if (!m_web->open()) {
        fail(ErrorClassifier::classify(std::nullopt, AppError::Kind::web));
        return;
    }
    startTimeout();
}

void PlaybackSession::handlePageLoading()
{
    setState(PlaybackState::loading());
    startTimeout();
}

void PlaybackSession::handlePageReady()
{
    m_timeout.stop();
    setState(PlaybackState::ready());
}

void PlaybackSession::handlePageStuck()
{
    // The poll goes on after the failure; one report of it is enough.
    if (!m_state.isFailed())
        fail(ErrorClassifier::webStall());
}

void PlaybackSession::handlePageTitle(const QString &title)
{
    if (title == m_title)
        return;
    setTitle(title);
    Q_EMIT titleReported(title);
}

void PlaybackSession::setState(PlaybackState state)
{
    m_state = std::move(state);
    Q_EMIT stateChanged(m_state);
}

void PlaybackSession::setPlaying(bool playing)
{
    m_isPlaying = playing;
    Q_EMIT isPlayingChanged(m_isPlaying);
}

void PlaybackSession::setBuffering(bool buffering)
{
    m_isBuffering = buffering;
    Q_EMIT isBufferingChanged(m_isBuffering);
}

void PlaybackSession::setElapsed(double elapsed)
{
    m_elapsed = elapsed;
    Q_EMIT elapsedChanged(m_elapsed);
}

void PlaybackSession::setDuration(double duration)
{
    m_duration = duration;
    Q_EMIT durationChanged(m_duration);
}

void PlaybackSession::setContentAspect(std::optional<double> aspect)
{
    m_contentAspect = aspect;
    Q_EMIT contentAspectChanged(m_contentAspect);
}

void PlaybackSession::setToast(std::optional<QString> toast)
{
    m_toast = std::move(toast);
    Q_EMIT toastChanged(m_toast);
}

void PlaybackSession::setTitle(const QString &title)
{
    m_title = title;
    Q_EMIT titleChanged(m_title);
}

void PlaybackSession::setPinned(bool pinned)
{
    m_isPinned = pinned;
    Q_EMIT isPinnedChanged(m_isPinned);
}

void PlaybackSession::setOpacity(double opacity)
{
    m_opacity = opacity;
    Q_EMIT opacityChanged(m_opacity);
}

void PlaybackSession::setClickThrough(bool clickThrough)
{
    m_clickThrough = clickThrough;
    Q_EMIT clickThroughChanged(m_clickThrough);
}

void PlaybackSession::setGrabMode(bool grabMode)
{
    m_grabMode = grabMode;
    Q_EMIT grabModeChanged(m_grabMode);
}

void PlaybackSession::setLockAspect(bool lockAspect)
{
    m_lockAspect = lockAspect;
    Q_EMIT lockAspectChanged(m_lockAspect);
}

void PlaybackSession::setControlsPinned(bool pinned)
{
    m_controlsPinned = pinned;
    Q_EMIT controlsPinnedChanged(m_controlsPinned);
}

void PlaybackSession::setCinema(bool cinema)
{
    m_isCinema = cinema;
    Q_EMIT isCinemaChanged(m_isCinema);
}

void PlaybackSession::setBilibiliDanmakuHidden(bool hidden)
{
    m_bilibiliDanmakuHidden = hidden;
    Q_EMIT bilibiliDanmakuHiddenChanged(m_bilibiliDanmakuHidden);
    if (m_web)
        m_web->setDanmakuHidden(hidden);
}

#include "playback/PlaybackSession.h"

#include "playback/Screenshots.h"
#include "playback/WebEnhancer.h"
#include "settings/Preferences.h"
#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/UserDefaults.h"

#include "KiteCore/L10n.h"
#include "KiteCore/PlaybackRules.h"
#include "KiteCore/ThumbnailURL.h"

#include <QDateTime>
#include <QDir>
#include <QPointer>
#include <QSettings>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
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
// At or below this the page's media is muted as well.
constexpr double muteBelow = 0.001;
// Smaller aspect changes are measuring noise of the page and would only re-layout the window.
constexpr double aspectTolerance = 0.001;
constexpr std::chrono::milliseconds pageLoadTimeout{30000};
constexpr std::chrono::milliseconds newWindowLoadTimeout{60000};

const QString controlledMarkScript =
    QStringLiteral("document.documentElement.classList.add('kt-webctl')");

// The page's primary media element, or its first video when the finder is not there.
const QString pickScript = QStringLiteral(
    "(() => { const pick = () => window.__lumivanePrimaryMedia ? window.__lumivanePrimaryMedia() "
    ": document.querySelector('video'); ");

// The shortest text that reads back as the same double, in the C locale.
QString jsNumber(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString jsBool(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

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

QString unknownErrorText()
{
    return L("发生了未知错误。", "An unknown error occurred.", "Ocurrió un error desconocido.");
}

// The platform's own words, or the unknown-error text when it gave none.
QString describe(const PlatformError &error)
{
    return error.description.trimmed().isEmpty() ? unknownErrorText() : error.description;
}

AppError classifyUrlLoading(const PlatformError &error)
{
    switch (error.code) {
    case PlatformError::secureConnectionFailed:
    case PlatformError::serverCertificateUntrusted:
        return AppError::network(L("网站的安全连接建立失败。", "The site's secure connection failed.",
                                   "Falló la conexión segura del sitio."));
    case PlatformError::notConnectedToInternet:
        return AppError::network(
            L("当前没有网络连接。", "You're offline.", "No hay conexión a internet."));
    case PlatformError::cannotConnectToHost:
        return AppError::network(L("无法连接到这个网站。", "Couldn't connect to this site.",
                                   "No se pudo conectar con este sitio."));
    case PlatformError::timedOut:
        return AppError::network(
            L("连接超时了。", "The connection timed out.", "La conexión agotó el tiempo."));
    case PlatformError::cannotFindHost:
    case PlatformError::dnsLookupFailed:
        return AppError::network(L("找不到这个网站的服务器。",
                                   "The server for this site couldn't be found.",
                                   "No se encontró el servidor de este sitio."));
    default:
        return AppError::network(describe(error));
    }
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

AppError rendererError()
{
    return AppError(AppError::Kind::web,
                    L("网页进程意外停止。", "The web process stopped unexpectedly.",
                      "El proceso web se detuvo inesperadamente."),
                    L("重新加载即可恢复；已填写的网页内容可能需要重新登录。",
                      "Reload to recover. Some pages may need a fresh sign-in.",
                      "Recarga para recuperar. Algunas páginas pueden pedir iniciar sesión."));
}

AppError otherAppError(const QString &scheme)
{
    const QString target = scheme + QStringLiteral("://");
    return AppError(AppError::Kind::web,
                    L(QStringLiteral("这个页面想打开其他应用（%1）。").arg(target),
                      QStringLiteral("This page tried to open another app (%1).").arg(target),
                      QStringLiteral("Esta página intentó abrir otra app (%1).").arg(target)),
                    L("用浏览器打开可以继续。", "Open in a browser to continue.",
                      "Abre en un navegador para continuar."));
}

AppError stallError()
{
    return AppError(AppError::Kind::web,
                    L("网页播放卡住了。", "Web playback got stuck.", "La reproducción web se atascó."),
                    L("点重试重新加载页面；也可以改用浏览器打开。",
                      "Retry to reload the page, or open it in a browser.",
                      "Reintenta para recargar la página o ábrela en el navegador."));
}

AppError watchdogError()
{
    return AppError(AppError::Kind::network,
                    L("加载超过 30 秒仍未完成。", "Still loading after 30 seconds.",
                      "Aún cargando tras 30 segundos."),
                    L("检查网络后重试，或改用浏览器打开。",
                      "Check your connection and retry, or open in a browser.",
                      "Comprueba la red y reintenta, o ábrelo en el navegador."));
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
    , m_makeWebPage(std::move(dependencies.makeWebPage))
    , m_title(m_source.title())
    , m_isPinned(m_preferences.alwaysOnTop())
    , m_lockAspect(m_preferences.lockAspect())
    , m_bilibiliDanmakuHidden(m_preferences.bilibiliHideDanmaku())
    , m_resumeSeconds(resumeSeconds)
    , m_clock(dependencies.timing.clock ? dependencies.timing.clock : Clock(steadySeconds))
    , m_webPollInterval(dependencies.timing.webPoll)
    , m_webPollNearAdInterval(dependencies.timing.webPollNearAd)
    , m_stall(m_clock())
{
    m_toastTimer.setSingleShot(true);
    m_toastTimer.setInterval(dependencies.timing.toast);
    connect(&m_toastTimer, &QTimer::timeout, this, [this] { setToast(std::nullopt); });
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(dependencies.timing.watchdog);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        if (m_state.isLoading())
            fail(watchdogError());
    });

    setUpWebTimers(dependencies.timing);

    restoreQuickPreferences();
    if (isNative())
        configurePlayer();
    else if (m_source.kind() == MediaKind::web)
        configureWeb();
}

PlaybackSession::~PlaybackSession()
{
    // None of the player's signals may reach a half-destroyed session, and the owner may be
    // discarding it from inside one of them.
    if (m_player) {
        m_player->disconnect(this);
        m_player.release()->deleteLater();
    }
    if (m_webPage) {
        m_webPage->disconnect(this);
        m_webPage.release()->deleteLater();
    }
}

void PlaybackSession::setUpWebTimers(const Timing &timing)
{
    m_webPollTimer.setSingleShot(true);
    connect(&m_webPollTimer, &QTimer::timeout, this, &PlaybackSession::pollWebVideo);
    m_followUpFirst.setSingleShot(true);
    m_followUpFirst.setInterval(timing.webFollowUpFirst);
    connect(&m_followUpFirst, &QTimer::timeout, this, &PlaybackSession::followUpFirst);
    m_followUpSecond.setSingleShot(true);
    m_followUpSecond.setInterval(timing.webFollowUpSecond);
    connect(&m_followUpSecond, &QTimer::timeout, this, &PlaybackSession::refreshWebTitle);
    m_debugScan.setSingleShot(true);
    m_debugScan.setInterval(timing.debugScanDelay);
    connect(&m_debugScan, &QTimer::timeout, this, &PlaybackSession::logSiteStructure);
}

bool PlaybackSession::isNative() const
{
    return m_source.kind() == MediaKind::localFile || m_source.kind() == MediaKind::mediaURL;
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
    if (m_source.kind() == MediaKind::web)
        webSetSpeed(m_speed);
}

void PlaybackSession::setLoop(bool loop)
{
    m_loop = loop;
    Q_EMIT loopChanged(m_loop);
    writeQuickPreference(loopKey, m_loop);
    if (m_source.kind() == MediaKind::web)
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

void PlaybackSession::configurePlayer()
{
    m_player = m_makePlayer ? m_makePlayer() : nullptr;
    if (!m_player) {
        Q_EMIT playerChanged(nullptr);
        fail(classify(std::nullopt, AppError::Kind::decode));
        return;
    }
    m_player->setVolume(std::clamp(m_volume, 0.0, 1.0));
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
}

void PlaybackSession::releasePlayer()
{
    if (!m_player)
        return;
    m_player->disconnect(this);
    m_player->pause();
    m_player->unload();
    m_item = 0;
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
        fail(classify(error, AppError::Kind::decode));
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
    if (isCurrent(item))
        setPlaying(m_player->rate() > 0);
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
    if (m_loop) {
        m_player->seek(0, NativePlayer::SeekMode::exact);
        m_player->setRate(m_speed);
    } else if (onReachEnd) {
        onReachEnd();
    }
}

void PlaybackSession::reportProgress()
{
    if (onProgress)
        onProgress(m_elapsed, m_duration > 0 ? std::optional<double>(m_duration) : std::nullopt);
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
    const bool playing = m_player ? m_player->rate() > 0 : (m_webPage && m_isPlaying);
    const bool pauseWhenHidden = m_preferences.pauseWhenHidden();
    m_isHidden = hidden;
    Q_EMIT isHiddenChanged(m_isHidden);
    if (hidden) {
        if (PlaybackRules::hiding(playing, waitingToAutoplay, pauseWhenHidden)
            == PlaybackRules::HideAction::pause) {
            if (m_player)
                m_player->pause();
            if (m_webPage) {
                runPageScript(WebEnhancer::hidePauseScript());
                m_webPausedByHide = true;
            }
            m_pausedByHide = true;
        }
        reportProgress();
        return;
    }
    const bool wasPausedByHide = m_pausedByHide || m_webPausedByHide;
    if (PlaybackRules::showing(wasPausedByHide, waitingToAutoplay, false)
        == PlaybackRules::ShowAction::resume) {
        play();
        if (m_webPage) {
            runPageScript(WebEnhancer::showResumeScript());
            m_webPausedByHide = false;
        }
    }
    m_pausedByHide = false;
}

void PlaybackSession::fail(const AppError &error)
{
    DebugLog::debug(QStringLiteral("[kt] fail: %1 %2").arg(kindName(error.kind()), error.message()));
    if (m_stopped)
        return;
    setState(PlaybackState::failed(error));
    m_timeout.stop();
    if (m_player)
        m_player->pause();
}

void PlaybackSession::teardown()
{
    releasePlayer();
    cancelWebPolling();
    releaseWebPage(false);
    setWebVideoAvailable(false);
    resetWebStallState();
    setPlaying(false);
}

void PlaybackSession::retry()
{
    teardown();
    m_stopped = false;
    m_didAutoPlay = false;
    m_webPausedByHide = false;
    setState(PlaybackState::loading());
    setElapsed(0);
    setDuration(0);
    if (isNative())
        configurePlayer();
    else if (m_source.kind() == MediaKind::web)
        configureWeb();
}

void PlaybackSession::stop()
{
    m_stopped = true;
    cancelWebPolling();
    m_timeout.stop();
    resetWebStallState();
    releasePlayer();
    releaseWebPage(true);
    setPlaying(false);
    setState(PlaybackState::loading());
}

void PlaybackSession::captureScreenshot()
{
    const bool webShot = m_webPage && m_source.kind() == MediaKind::web;
    if (!webShot && !m_player)
        return;
    const QString folder = AppPaths::screenshotFolder();
    QDir().mkpath(folder);
    const QString path =
        folder + QLatin1Char('/') + Screenshots::fileName(m_title, QDateTime::currentDateTime());
    if (webShot) {
        captureWebScreenshot(path);
        return;
    }
    QPointer<PlaybackSession> self(this);
    m_player->saveFrame(path, [self](bool ok, const QString &error) {
        if (self)
            self->finishScreenshot(ok, error);
    });
}

void PlaybackSession::captureWebScreenshot(const QString &path)
{
    QPointer<PlaybackSession> self(this);
    m_webPage->takeSnapshot([self, path](const QImage &image) {
        if (!self)
            return;
        // Neither a missing picture nor a failed write comes with a reason of its own.
        self->finishScreenshot(!image.isNull() && image.save(path, "PNG"), QString());
    });
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
    if (m_source.kind() == MediaKind::web)
        return L("网页已打开", "Page ready", "Página lista");
    if (m_isPlaying)
        return L("正在播放", "Playing", "Reproduciendo");
    return L("已暂停", "Paused", "En pausa");
}

QWidget *PlaybackSession::webView() const
{
    return m_webPage ? m_webPage->view() : nullptr;
}

void PlaybackSession::setScrubbingWeb(bool scrubbing)
{
    m_scrubbingWeb = scrubbing;
}

void PlaybackSession::runPageScript(const QString &script)
{
    if (m_webPage)
        m_webPage->runJavaScript(script);
}

void PlaybackSession::webTogglePlay()
{
    runPageScript(pickScript
                  + QStringLiteral("const v=pick(); if(!v) return; if(v.paused){v.play().catch(()=>{});} "
                                   "else {v.pause();} })();"));
}

void PlaybackSession::webSeek(double seconds)
{
    if (!m_webPage)
        return;
    const QString target = jsNumber(finiteOrZero(seconds));
    runPageScript(pickScript
                  + QStringLiteral("const v=pick(); if(!v) return; "
                                   "const d=Number.isFinite(v.duration)?v.duration:%1; "
                                   "v.currentTime = Math.max(0, Math.min(d, %1)); })();")
                        .arg(target));
    setElapsed(finiteOrZero(seconds));
}

void PlaybackSession::webSetVolume(double volume)
{
    const double value = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    runPageScript(pickScript
                  + QStringLiteral("const el=pick(); if(!el) return; el.volume=%1; el.muted=%2; })();")
                        .arg(jsNumber(value), jsBool(value <= muteBelow)));
}

void PlaybackSession::webSetSpeed(double rate)
{
    // The page throws at a rate it cannot play; the script's error is ignored.
    if (!std::isfinite(rate))
        return;
    runPageScript(pickScript
                  + QStringLiteral("const el=pick(); if(!el) return; el.playbackRate=%1; })();")
                        .arg(jsNumber(rate)));
}

void PlaybackSession::webSetLoop(bool on)
{
    runPageScript(pickScript
                  + QStringLiteral("const el=pick(); if(!el) return; el.loop=%1; })();").arg(jsBool(on)));
}

void PlaybackSession::applyDanmakuPreference()
{
    if (!m_webPage || !m_source.url().host().contains(u"bilibili"))
        return;
    runPageScript(QStringLiteral("document.documentElement.classList.%1('kt-hide-danmaku')")
                      .arg(m_bilibiliDanmakuHidden ? QStringLiteral("add") : QStringLiteral("remove")));
}

void PlaybackSession::evaluate(const QString &script, std::function<void(const QVariant &)> handler)
{
    if (!m_webPage)
        return;
    QPointer<PlaybackSession> self(this);
    const quint64 page = m_pageGeneration;
    m_webPage->runJavaScript(script, [self, page, handler = std::move(handler)](const QVariant &result) {
        if (self && !self->m_stopped && self->m_webPage && self->m_pageGeneration == page)
            handler(result);
    });
}

void PlaybackSession::configureWeb()
{
    m_webPage = m_makeWebPage ? m_makeWebPage() : nullptr;
    if (!m_webPage) {
        Q_EMIT webViewChanged(nullptr);
        fail(classify(std::nullopt, AppError::Kind::web));
        return;
    }
    ++m_pageGeneration;
    const QUrl &url = m_source.url();
    m_webPage->setUserScripts(
        WebEnhancer::scripts(url, m_preferences.webCleanup(), m_preferences.bilibiliClean()));
    m_webPage->setCompatibilityMode(m_preferences.webCompatibilityMode());
    m_webPage->setNavigationPolicy(navigationPolicy());
    connectWebPage();
    Q_EMIT webViewChanged(webView());
    DebugLog::debug(QStringLiteral("[kt] web load %1").arg(url.toString()));
    m_webPage->load(url, pageLoadTimeout);
    startTimeout();
}

void PlaybackSession::connectWebPage()
{
    WebPage *page = m_webPage.get();
    connect(page, &WebPage::loadStarted, this, &PlaybackSession::handleLoadStarted);
    connect(page, &WebPage::loadFinished, this, &PlaybackSession::handleLoadFinished);
    connect(page, &WebPage::loadFailed, this, &PlaybackSession::handleLoadFailed);
    connect(page, &WebPage::renderProcessTerminated, this,
            &PlaybackSession::handleRendererTerminated);
    connect(page, &WebPage::newWindowRequested, this, &PlaybackSession::handleNewWindow);
}

WebPage::NavigationPolicy PlaybackSession::navigationPolicy()
{
    QPointer<PlaybackSession> self(this);
    const quint64 page = m_pageGeneration;
    return [self, page](const QUrl &url, bool isMainFrame) {
        if (url.isEmpty())
            return false;
        if (isAllowedScheme(url.scheme().toLower()))
            return true;
        if (!self)
            return false;
        // The engine is in the middle of deciding; the session fails once it is done.
        QTimer::singleShot(0, self, [self, page, url, isMainFrame] {
            if (self && self->m_pageGeneration == page)
                self->refuseNavigation(url, isMainFrame);
        });
        return false;
    };
}

void PlaybackSession::refuseNavigation(const QUrl &url, bool isMainFrame)
{
    const QString scheme = url.scheme().toLower();
    DebugLog::debug(QStringLiteral("[kt] web blocked %1 mainFrame=%2").arg(scheme, jsBool(isMainFrame)));
    if (isMainFrame)
        fail(otherAppError(scheme));
}

void PlaybackSession::releaseWebPage(bool loadBlank)
{
    if (!m_webPage)
        return;
    ++m_pageGeneration;
    m_followUpFirst.stop();
    m_followUpSecond.stop();
    m_debugScan.stop();
    m_webPage->stopLoading();
    m_webPage->disconnect(this);
    if (loadBlank)
        m_webPage->loadBlank();
    // A caller may be inside one of the page's own signals.
    m_webPage.release()->deleteLater();
    Q_EMIT webViewChanged(nullptr);
}

void PlaybackSession::handleLoadStarted()
{
    setState(PlaybackState::loading());
    m_lastThumbnailURL.reset();
    startTimeout();
}

void PlaybackSession::handleLoadFinished()
{
    DebugLog::debug(QStringLiteral("[kt] web finished %1").arg(m_webPage->url().toString()));
    m_timeout.stop();
    setState(PlaybackState::ready());
    setWebCanGoBack(m_webPage->canGoBack());
    setWebCanGoForward(m_webPage->canGoForward());
    refreshWebTitle();
    captureWebThumbnail();
    applyDanmakuPreference();
    startWebVideoPolling();
    scanSiteStructureIfDebug();
    // Many pages set their title and preview image late; a newer page starts the wait over.
    m_followUpSecond.stop();
    m_followUpFirst.start();
}

void PlaybackSession::handleLoadFailed(const PlatformError &error)
{
    DebugLog::debug(QStringLiteral("[kt] web failed code=%1 %2").arg(error.code).arg(error.description));
    if (error.code == PlatformError::cancelled)
        return;
    fail(classify(error, AppError::Kind::web));
}

void PlaybackSession::handleRendererTerminated()
{
    fail(rendererError());
}

void PlaybackSession::handleNewWindow(const QUrl &url)
{
    // Pop-ups never get a window of their own: web pages open in place, the rest is dropped.
    if (!isWebScheme(url))
        return;
    m_webPage->load(url, newWindowLoadTimeout);
}

void PlaybackSession::followUpFirst()
{
    refreshWebTitle();
    captureWebThumbnail();
    m_followUpSecond.start();
}

void PlaybackSession::refreshWebTitle()
{
    if (m_source.kind() != MediaKind::web)
        return;
    evaluate(QStringLiteral("document.title"), [this](const QVariant &result) {
        if (result.typeId() != QMetaType::QString)
            return;
        const QString title = result.toString().trimmed();
        if (title.isEmpty() || title == m_title)
            return;
        setTitle(title);
        if (onTitleChange)
            onTitleChange(title);
    });
}

void PlaybackSession::captureWebThumbnail()
{
    if (m_source.kind() != MediaKind::web || m_source.thumbnailURL())
        return;
    evaluate(WebEnhancer::pageThumbnailScript(), [this](const QVariant &result) {
        if (result.typeId() != QMetaType::QString || result.toString().isEmpty())
            return;
        const std::optional<QUrl> thumbnail = ThumbnailURL::normalize(result.toString());
        if (!thumbnail || thumbnail == m_lastThumbnailURL)
            return;
        m_lastThumbnailURL = thumbnail;
        if (onThumbnailChange)
            onThumbnailChange(*thumbnail);
    });
}

void PlaybackSession::scanSiteStructureIfDebug()
{
    if (DebugLog::enabled() && m_source.url().host().contains(u"bilibili"))
        m_debugScan.start();
}

void PlaybackSession::logSiteStructure()
{
    evaluate(WebEnhancer::siteStructureScanScript(), [](const QVariant &result) {
        if (result.typeId() == QMetaType::QString)
            DebugLog::web("[ktlog] " + result.toString().toUtf8() + '\n');
    });
}

void PlaybackSession::startWebVideoPolling()
{
    cancelWebPolling();
    pollWebVideo();
}

void PlaybackSession::cancelWebPolling()
{
    ++m_pollGeneration;
    m_webPollTimer.stop();
}

void PlaybackSession::scheduleNextPoll()
{
    m_webPollTimer.start(m_stall.nearAd() ? m_webPollNearAdInterval : m_webPollInterval);
}

void PlaybackSession::pollWebVideo()
{
    if (!m_webPage || m_source.kind() != MediaKind::web || m_stopped
        || !m_preferences.webControlTakeover()) {
        if (m_webVideoAvailable)
            setWebVideoAvailable(false);
        // Without takeover the loop keeps going, so that switching it on takes effect.
        if (m_webPage && !m_stopped)
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

void PlaybackSession::applyMediaState(const QVariant &result)
{
    const std::optional<WebMediaState> media = WebMediaState::parse(result);
    if (!media) {
        if (m_webVideoAvailable)
            setWebVideoAvailable(false);
        return;
    }
    const std::optional<double> aspect = media->aspect();
    if (aspect && (!m_contentAspect || std::abs(*aspect - *m_contentAspect) > aspectTolerance))
        setContentAspect(aspect);
    if (!m_webVideoAvailable) {
        setWebVideoAvailable(true);
        applyRememberedPlaybackToPage();
    }
    if (m_webCanSeek != media->seekable)
        setWebCanSeek(media->seekable);
    if (!m_scrubbingWeb)
        setElapsed(media->time);
    if (media->duration > 0)
        setDuration(media->duration);
    setPlaying(!media->paused);
    recoverWebStallIfNeeded(*media);
    runPageScript(controlledMarkScript);
}

void PlaybackSession::recoverWebStallIfNeeded(const WebMediaState &media)
{
    const WebStallTracker::Sample sample{media.time,   media.duration, media.paused,  media.ended,
                                         media.adShowing, m_isHidden,  m_scrubbingWeb};
    const WebStallTracker::Decision decision = m_stall.observe(sample, now());
    switch (decision.verdict) {
    case WebStallTracker::Verdict::recover: attemptWebRecovery(decision.target); break;
    case WebStallTracker::Verdict::showError: showWebStallError(); break;
    case WebStallTracker::Verdict::none: break;
    }
}

void PlaybackSession::attemptWebRecovery(double target)
{
    DebugLog::debug(QStringLiteral("[kt] web stall: re-seek to %1").arg(jsNumber(target)));
    runPageScript(WebEnhancer::recoveryScript(target));
    showToast(L("网页播放卡住了，正在尝试恢复…", "Web playback stalled — recovering…",
                "La reproducción web se atascó — recuperando…"));
}

void PlaybackSession::showWebStallError()
{
    // The poll goes on after the failure; one report of it is enough.
    if (!m_state.isFailed())
        fail(stallError());
}

void PlaybackSession::applyRememberedPlaybackToPage()
{
    // The remembered speed and loop were read before the page had a media element.
    if (m_speed != 1.0)
        webSetSpeed(m_speed);
    if (m_loop)
        webSetLoop(true);
}

void PlaybackSession::resetWebStallState()
{
    setContentAspect(std::nullopt);
    m_stall.reset(now());
}

double PlaybackSession::now() const
{
    return m_clock();
}

AppError PlaybackSession::classify(const std::optional<PlatformError> &error,
                                   AppError::Kind fallbackKind)
{
    if (!error)
        return AppError(fallbackKind, unknownErrorText());
    switch (error->domain) {
    case PlatformError::Domain::urlLoading: return classifyUrlLoading(*error);
    case PlatformError::Domain::media: return AppError::decode(describe(*error));
    case PlatformError::Domain::other: break;
    }
    return AppError(fallbackKind, describe(*error));
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

void PlaybackSession::setWebCanGoBack(bool canGoBack)
{
    m_webCanGoBack = canGoBack;
    Q_EMIT webCanGoBackChanged(m_webCanGoBack);
}

void PlaybackSession::setWebCanGoForward(bool canGoForward)
{
    m_webCanGoForward = canGoForward;
    Q_EMIT webCanGoForwardChanged(m_webCanGoForward);
}

void PlaybackSession::setWebVideoAvailable(bool available)
{
    m_webVideoAvailable = available;
    Q_EMIT webVideoAvailableChanged(m_webVideoAvailable);
}

void PlaybackSession::setWebCanSeek(bool canSeek)
{
    m_webCanSeek = canSeek;
    Q_EMIT webCanSeekChanged(m_webCanSeek);
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
}

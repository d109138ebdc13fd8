#include "mpvplayer/MpvPlayer.h"

#include "KiteCore/L10n.h"
#include "platform/MpvTrackList.h"
#include "mpvplayer/MpvVideoWidget.h"
#include "platform/OpenGLRenderer.h"

#include <QFile>
#include <QMetaObject>
#include <QWidget>

#include <mpv/client.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// Observation ids, passed to mpv as reply_userdata.
enum Observed : quint64 {
    timePosId = 1, durationId, pauseId, speedId, dwidthId, dheightId, eofReachedId, pausedForCacheId, cacheFillId,
    trackListId
};

// How long to wait for the log lines of a failed load once they stop arriving.
constexpr std::chrono::milliseconds failureSettleTime{150};

QByteArray mpvTarget(const QUrl &url)
{
    return url.isLocalFile() ? QFile::encodeName(url.toLocalFile()) : url.toEncoded();
}

// Formats a number for an mpv command: QByteArray::number ignores the process locale.
QByteArray commandNumber(double value)
{
    return QByteArray::number(value, 'f', 6);
}

int runCommand(mpv_handle *handle, std::initializer_list<QByteArray> words)
{
    std::vector<const char *> args;
    for (const QByteArray &word : words)
        args.push_back(word.constData());
    args.push_back(nullptr);
    return mpv_command(handle, args.data());
}

} // namespace

MpvPlayer::MpvPlayer(VideoOutput video, AudioOutput audio, QObject *parent)
    : NativePlayer(parent)
    , m_output(video)
{
    m_failureTimer.setSingleShot(true);
    m_failureTimer.setInterval(failureSettleTime);
    connect(&m_failureTimer, &QTimer::timeout, this, &MpvPlayer::finishFailure);
    connect(&m_probe, &NetworkProbe::finished, this, &MpvPlayer::reportFailure);
    // mpv refuses to start under a numeric locale with a decimal comma. System error texts
    // in its log are matched to tell network failures apart, so they must not be translated.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_MESSAGES, "C");
    m_handle = mpv_create();
    if (!m_handle)
        return;
    configure(audio);
    if (mpv_initialize(m_handle) < 0) {
        mpv_terminate_destroy(m_handle);
        m_handle = nullptr;
        return;
    }
    mpv_request_log_messages(m_handle, "warn");
    observeProperties();
    mpv_set_wakeup_callback(m_handle, &MpvPlayer::onWakeup, this);
}

MpvPlayer::~MpvPlayer()
{
    if (!m_handle)
        return;
    // After this returns mpv calls no more wakeups; wakeups already queued are dropped by
    // Qt together with this object.
    mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
    // Each render context must go before its mpv instance.
    for (const QPointer<MpvVideoWidget> &widget : std::as_const(m_videoWidgets)) {
        if (widget)
            widget->releaseRenderContext();
    }
    mpv_handle *handle = std::exchange(m_handle, nullptr);
    mpv_terminate_destroy(handle);
}

void MpvPlayer::configure(AudioOutput audio)
{
    const auto set = [this](const char *name, const char *value) {
        mpv_set_option_string(m_handle, name, value);
    };
    set("config", "no");
    // libmpv leaves the terminal alone by default; setting terminal=no explicitly also
    // silences the log messages the error descriptions are built from.
    set("input-default-bindings", "no");
    set("input-vo-keyboard", "no");
    set("input-cursor", "no");
    set("osc", "no");
    set("load-scripts", "no");
    // Web pages belong to the web engine; no page scraping here.
    set("ytdl", "no");
    // At the end the item stays open and paused, so it can be restarted for a loop.
    set("keep-open", "yes");
    set("idle", "yes");
    set("pause", "yes");
    // A subtitle file named like the video (film.srt, film.en.srt) comes with it.
    set("sub-auto", "exact");
    // Pictures go to a render context only once a video surface has one (see
    // renderSurfaceReady); until then the null output decodes and times them.
    set("vo", "null");
    configureVideo();
    if (audio == AudioOutput::none)
        set("ao", "null");
    else
        // Without any sound device the file still plays, silently, instead of failing.
        set("audio-fallback-to-null", "yes");
}

void MpvPlayer::configureVideo()
{
    if (m_output == VideoOutput::none)
        return;
    // GPU decoding where the driver offers it and mpv trusts it; otherwise mpv decodes in
    // software, as without the option.
    mpv_set_option_string(m_handle, "hwdec", "auto-safe");
}

void MpvPlayer::observeProperties()
{
    mpv_observe_property(m_handle, timePosId, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_handle, durationId, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_handle, pauseId, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_handle, speedId, "speed", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_handle, dwidthId, "dwidth", MPV_FORMAT_INT64);
    mpv_observe_property(m_handle, dheightId, "dheight", MPV_FORMAT_INT64);
    mpv_observe_property(m_handle, eofReachedId, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_handle, pausedForCacheId, "paused-for-cache", MPV_FORMAT_FLAG);
    // How much of the data needed to go on has arrived: it moves while a slow stream fills.
    mpv_observe_property(m_handle, cacheFillId, "cache-buffering-state", MPV_FORMAT_INT64);
    mpv_observe_property(m_handle, trackListId, "track-list", MPV_FORMAT_NODE);
}

void MpvPlayer::onWakeup(void *context)
{
    // Runs on an mpv thread: only hand over to the GUI thread, once per batch.
    auto *self = static_cast<MpvPlayer *>(context);
    if (!self->m_wakeupPending.exchange(true))
        QMetaObject::invokeMethod(self, &MpvPlayer::drainEvents, Qt::QueuedConnection);
}

void MpvPlayer::drainEvents()
{
    m_wakeupPending = false;
    QPointer<MpvPlayer> alive(this);
    while (alive && m_handle) {
        const mpv_event *event = mpv_wait_event(m_handle, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvPlayer::handleEvent(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
        const auto *start = static_cast<const mpv_event_start_file *>(event.data);
        if (start->playlist_entry_id == m_entryId)
            m_itemStarted = true;
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        if (m_itemStarted && m_status == Status::unknown) {
            m_status = Status::readyToPlay;
            Q_EMIT statusChanged(m_item);
        }
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        handleEndFile(end->playlist_entry_id, end->reason, end->error);
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        handlePlaybackRestart();
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        handlePropertyChange(*static_cast<const mpv_event_property *>(event.data));
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto *log = static_cast<const mpv_event_log_message *>(event.data);
        m_loadLog.add(log->prefix, log->text);
        if (m_pendingFailure && !m_probe.isRunning())
            m_failureTimer.start();
        break;
    }
    case MPV_EVENT_COMMAND_REPLY:
        handleCommandReply(event.reply_userdata, event.error);
        break;
    default:
        break;
    }
}

void MpvPlayer::handlePropertyChange(const mpv_event_property &property)
{
    const auto *data = property.data;
    const bool present = data != nullptr && property.format != MPV_FORMAT_NONE;
    const QByteArrayView name(property.name);
    // Pause and speed are player settings and apply whatever item is current.
    if (name == "pause") {
        if (present)
            handlePause(*static_cast<const int *>(data) != 0);
        return;
    }
    if (name == "speed") {
        if (present)
            handleSpeed(*static_cast<const double *>(data));
        return;
    }
    // Until the current item has started, values still describe the previous one.
    if (!m_itemStarted)
        return;
    if (name == "time-pos") {
        if (present)
            handleTime(*static_cast<const double *>(data));
    } else if (name == "duration") {
        std::optional<double> duration;
        if (present) {
            const double value = *static_cast<const double *>(data);
            if (std::isfinite(value) && value >= 0)
                duration = value;
        }
        if (duration != m_duration) {
            m_duration = duration;
            Q_EMIT durationChanged(m_item);
        }
    } else if (name == "dwidth" || name == "dheight") {
        const qint64 value = present ? *static_cast<const qint64 *>(data) : 0;
        if (name == "dwidth")
            updateSize(value, m_height);
        else
            updateSize(m_width, value);
    } else if (name == "eof-reached") {
        handleEofReached(present && *static_cast<const int *>(data) != 0);
    } else if (name == "paused-for-cache") {
        handleWaitingForData(present && *static_cast<const int *>(data) != 0);
    } else if (name == "cache-buffering-state" && m_buffering) {
        Q_EMIT bufferingChanged(m_item);
    } else if (name == "track-list") {
        updateTracks(present ? MpvTrackList::parse(*static_cast<const mpv_node *>(data)) : QList<Track>());
    }
}

void MpvPlayer::handleEndFile(qint64 entryId, int reason, int mpvError)
{
    // A replaced or unloaded item ends with reason stop; only a failure of the current
    // item matters.
    if (entryId != m_entryId || reason != MPV_END_FILE_REASON_ERROR)
        return;
    // mpv delivers the log lines that explain the failure after the end-file event.
    m_pendingFailure = mpvError;
    m_failureTimer.start();
}

void MpvPlayer::finishFailure()
{
    // FFmpeg logs to one mpv instance per process, so a link's own log may not say why it
    // failed: the probe tells whether its host can be reached at all.
    if (!m_pendingFailure || m_url.isLocalFile() || !m_probe.start(m_url))
        reportFailure(std::nullopt);
}

void MpvPlayer::reportFailure(const std::optional<PlatformError> &networkCause)
{
    const std::optional<int> mpvError = std::exchange(m_pendingFailure, std::nullopt);
    if (!mpvError)
        return;
    fail(networkCause ? *networkCause
                      : PlatformError::fromMpvLoadFailure(*mpvError, QString::fromUtf8(mpv_error_string(*mpvError)),
                                                          m_loadLog.lines(), m_url));
}

void MpvPlayer::handleCommandReply(quint64 request, int mpvError)
{
    const FrameCallback done = m_frameRequests.take(request);
    if (!done)
        return;
    if (mpvError >= 0)
        done(true, QString());
    else
        done(false, QString::fromUtf8(mpv_error_string(mpvError)));
}

void MpvPlayer::handlePause(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (m_item == 0)
        return;
    Q_EMIT rateChanged(m_item);
    if (m_itemStarted && m_status == Status::readyToPlay)
        emitTick();
}

void MpvPlayer::handleSpeed(double speed)
{
    if (speed == m_speed)
        return;
    m_speed = speed;
    if (!m_paused && m_item != 0)
        Q_EMIT rateChanged(m_item);
}

void MpvPlayer::handleTime(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    m_time = std::max(seconds, 0.0);
    if (m_paused || m_status != Status::readyToPlay)
        return;
    if (!m_lastTickTime || std::floor(m_time) != std::floor(*m_lastTickTime))
        emitTick();
}

void MpvPlayer::handlePlaybackRestart()
{
    if (!m_itemStarted || m_status != Status::readyToPlay)
        return;
    // The time-pos notification follows this event; the landed position is needed now.
    double seconds = 0;
    if (mpv_get_property(m_handle, "time-pos", MPV_FORMAT_DOUBLE, &seconds) >= 0 && std::isfinite(seconds))
        m_time = std::max(seconds, 0.0);
    emitTick();
}

void MpvPlayer::handleEofReached(bool reached)
{
    if (reached == m_eofReached)
        return;
    m_eofReached = reached;
    if (reached && m_status == Status::readyToPlay)
        Q_EMIT playedToEnd(m_item);
}

void MpvPlayer::handleWaitingForData(bool waiting)
{
    // Also while opening: a stream that stops early never reports it again once ready.
    if (waiting == m_buffering)
        return;
    m_buffering = waiting;
    Q_EMIT bufferingChanged(m_item);
}

void MpvPlayer::updateSize(qint64 width, qint64 height)
{
    m_width = width;
    m_height = height;
    const QSizeF size = (width > 0 && height > 0)
        ? QSizeF(static_cast<double>(width), static_cast<double>(height))
        : QSizeF();
    if (size == m_size)
        return;
    m_size = size;
    Q_EMIT presentationSizeChanged(m_item);
}

void MpvPlayer::fail(PlatformError error)
{
    m_status = Status::failed;
    m_error = std::move(error);
    Q_EMIT statusChanged(m_item);
}

void MpvPlayer::emitTick()
{
    // Starting and seeking can report the same position twice; one tick is enough.
    if (m_lastTickTime && *m_lastTickTime == m_time)
        return;
    m_lastTickTime = m_time;
    Q_EMIT timeTick(m_item, m_time);
}

void MpvPlayer::resetItemState()
{
    m_entryId = -1;
    m_itemStarted = false;
    m_pendingFailure.reset();
    m_failureTimer.stop();
    m_probe.cancel();
    m_loadLog.clear();
    m_status = Status::unknown;
    m_error.reset();
    m_duration.reset();
    m_size = QSizeF();
    m_width = 0;
    m_height = 0;
    m_time = 0;
    m_lastTickTime.reset();
    m_eofReached = false;
    m_buffering = false;
    m_tracks.clear();
}

quint64 MpvPlayer::load(const QUrl &url)
{
    resetItemState();
    m_item = ++m_lastItem;
    m_url = url;
    if (!m_handle) {
        const quint64 item = m_item;
        QMetaObject::invokeMethod(this, [this, item] {
            if (item == m_item)
                fail({PlatformError::Domain::other, PlatformError::playerUnavailable,
                      QString::fromUtf8(mpv_error_string(MPV_ERROR_UNINITIALIZED))});
        }, Qt::QueuedConnection);
        return m_item;
    }
    // A new item waits for the session to start it.
    setPauseProperty(true);
    const QByteArray target = mpvTarget(url);
    const char *args[] = {"loadfile", target.constData(), "replace", nullptr};
    mpv_node result{};
    if (mpv_command_ret(m_handle, args, &result) >= 0) {
        if (result.format == MPV_FORMAT_NODE_MAP) {
            for (int i = 0; i < result.u.list->num; ++i) {
                if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0)
                    m_entryId = result.u.list->values[i].u.int64;
            }
        }
        mpv_free_node_contents(&result);
    }
    return m_item;
}

void MpvPlayer::unload()
{
    if (m_handle)
        runCommand(m_handle, {"stop"});
    resetItemState();
    m_item = 0;
    m_url = QUrl();
}

double MpvPlayer::rate() const
{
    return (m_paused || m_item == 0) ? 0.0 : m_speed;
}

void MpvPlayer::play()
{
    setPauseProperty(false);
}

void MpvPlayer::pause()
{
    setPauseProperty(true);
}

void MpvPlayer::seek(double seconds, SeekMode mode)
{
    if (!m_handle || m_item == 0 || !std::isfinite(seconds))
        return;
    const QByteArray flags = mode == SeekMode::exact ? "absolute+exact" : "absolute+keyframes";
    runCommand(m_handle, {"seek", commandNumber(std::max(seconds, 0.0)), flags});
}

void MpvPlayer::setRate(double rate)
{
    if (!std::isfinite(rate))
        return;
    if (rate <= 0) {
        pause();
        return;
    }
    setSpeedProperty(rate);
    play();
}

void MpvPlayer::setVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    m_volume = std::clamp(volume, 0.0, 1.0);
    if (!m_handle)
        return;
    // mpv accepts more than 100 and amplifies; never go past the original level.
    double percent = m_volume * 100.0;
    mpv_set_property(m_handle, "volume", MPV_FORMAT_DOUBLE, &percent);
}

void MpvPlayer::updateTracks(QList<Track> tracks)
{
    if (tracks == m_tracks)
        return;
    m_tracks = std::move(tracks);
    Q_EMIT tracksChanged(m_item);
}

void MpvPlayer::selectTrack(TrackType type, std::optional<int> id)
{
    if (!m_handle)
        return;
    const QByteArray value = id ? QByteArray::number(*id) : QByteArrayLiteral("no");
    mpv_set_property_string(m_handle, type == TrackType::audio ? "aid" : "sid", value.constData());
}

void MpvPlayer::addSubtitleFile(const QString &path)
{
    if (m_handle)
        runCommand(m_handle, {"sub-add", QFile::encodeName(path), "select"});
}

void MpvPlayer::setSpeedProperty(double speed)
{
    // Applied at once, as callers read rate() right after a command; mpv's own
    // notification then finds nothing changed.
    if (m_handle && mpv_set_property(m_handle, "speed", MPV_FORMAT_DOUBLE, &speed) >= 0)
        handleSpeed(speed);
}

void MpvPlayer::setPauseProperty(bool paused)
{
    int flag = paused ? 1 : 0;
    if (m_handle && mpv_set_property(m_handle, "pause", MPV_FORMAT_FLAG, &flag) >= 0)
        handlePause(paused);
}

void MpvPlayer::saveFrame(const QString &pngPath, FrameCallback done)
{
    if (!done)
        return;
    if (!m_handle || m_status != Status::readyToPlay) {
        finishFrameRequestLater(done, L("没有可截取的画面。", "There is no picture to capture.",
                                        "No hay imagen para capturar."));
        return;
    }
    const quint64 request = m_nextRequest++;
    const QByteArray path = QFile::encodeName(pngPath);
    const char *args[] = {"screenshot-to-file", path.constData(), "video", nullptr};
    const int result = mpv_command_async(m_handle, request, args);
    if (result < 0) {
        finishFrameRequestLater(done, QString::fromUtf8(mpv_error_string(result)));
        return;
    }
    m_frameRequests.insert(request, std::move(done));
}

void MpvPlayer::renderSurfaceReady()
{
    if (m_handle)
        setVideoDriver("libmpv");
}

void MpvPlayer::renderSurfaceClosing()
{
    if (m_handle)
        setVideoDriver("null");
}

void MpvPlayer::setVideoDriver(const char *driver)
{
    // The render output fails an item whose file opens before a render context exists, and
    // a file with nothing but a picture then fails with nothing to play. Switching the
    // output of a running player re-creates it in place; the item plays on.
    mpv_set_property_string(m_handle, "vo", driver);
}

void MpvPlayer::finishFrameRequestLater(const FrameCallback &done, const QString &error)
{
    QMetaObject::invokeMethod(this, [done, error] { done(false, error); }, Qt::QueuedConnection);
}

QWidget *MpvPlayer::createVideoWidget(QWidget *parent)
{
    if (m_output == VideoOutput::none)
        return new QWidget(parent);
    const bool openGL = m_output == VideoOutput::openGL
        || (m_output == VideoOutput::automatic && OpenGLRenderer::desktopIsHardware());
    auto *widget = new MpvVideoWidget(this, openGL ? MpvVideoWidget::Renderer::openGL : MpvVideoWidget::Renderer::software,
                                      parent);
    m_videoWidgets.removeAll(nullptr);
    m_videoWidgets.append(widget);
    return widget;
}

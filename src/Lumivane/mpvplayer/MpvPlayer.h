#pragma once

#include "platform/MpvLoadLog.h"
#include "platform/NativePlayer.h"
#include "platform/NetworkProbe.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <atomic>

struct mpv_handle;
struct mpv_event;
struct mpv_event_property;
class MpvVideoWidget;

// NativePlayer on libmpv: one mpv instance per player, events drained on the GUI thread.
class MpvPlayer final : public NativePlayer
{
    Q_OBJECT

public:
    // automatic, openGL, software: pictures go to the widget of createVideoWidget (mpv's
    // render API) once it has a render context; until then, and when it never gets one,
    // they are decoded unseen. automatic draws with OpenGL where a graphics processor runs
    // it. none: no picture output (tests and measurements without a display); frames can
    // still be saved.
    enum class VideoOutput { automatic, openGL, software, none };
    // none: decode and time audio without a sound device (tests).
    enum class AudioOutput { system, none };

    explicit MpvPlayer(VideoOutput video = VideoOutput::automatic,
                       AudioOutput audio = AudioOutput::system, QObject *parent = nullptr);
    ~MpvPlayer() override;

    quint64 load(const QUrl &url) override;
    void unload() override;
    quint64 currentItem() const override { return m_item; }

    Status status() const override { return m_status; }
    std::optional<PlatformError> error() const override { return m_error; }
    double rate() const override;
    std::optional<double> duration() const override { return m_duration; }
    QSizeF presentationSize() const override { return m_size; }
    double currentTime() const override { return m_time; }
    double volume() const override { return m_volume; }
    bool isBuffering() const override { return m_buffering; }

    void play() override;
    void pause() override;
    void seek(double seconds, SeekMode mode) override;
    void setRate(double rate) override;
    void setVolume(double volume) override;
    void saveFrame(const QString &pngPath, FrameCallback done) override;
    QWidget *createVideoWidget(QWidget *parent) override;
    QList<Track> tracks() const override { return m_tracks; }
    void selectTrack(TrackType type, std::optional<int> id) override;
    void addSubtitleFile(const QString &path) override;

    // For the video widget's render context; null when mpv could not be created.
    mpv_handle *mpvHandle() const { return m_handle; }
    // Called by the video widget once its render context exists, and before it is freed.
    void renderSurfaceReady();
    void renderSurfaceClosing();

private:
    static void onWakeup(void *context);
    void configure(AudioOutput audio);
    void configureVideo();
    void observeProperties();
    void drainEvents();
    void handleEvent(const mpv_event &event);
    void handlePropertyChange(const mpv_event_property &property);
    void handleEndFile(qint64 entryId, int reason, int mpvError);
    void finishFailure();
    void reportFailure(const std::optional<PlatformError> &networkCause);
    void handleCommandReply(quint64 request, int mpvError);
    void handlePause(bool paused);
    void handleSpeed(double speed);
    void handleTime(double seconds);
    void handlePlaybackRestart();
    void handleEofReached(bool reached);
    void handleWaitingForData(bool waiting);
    void updateSize(qint64 width, qint64 height);
    void updateTracks(QList<Track> tracks);
    void setSpeedProperty(double speed);
    void setPauseProperty(bool paused);
    void setVideoDriver(const char *driver);
    void fail(PlatformError error);
    void emitTick();
    void resetItemState();
    void finishFrameRequestLater(const FrameCallback &done, const QString &error);

    mpv_handle *m_handle = nullptr;
    VideoOutput m_output;
    std::atomic_bool m_wakeupPending = false;

    quint64 m_item = 0;
    quint64 m_lastItem = 0;
    qint64 m_entryId = -1;
    bool m_itemStarted = false;
    QUrl m_url;
    MpvLoadLog m_loadLog;
    std::optional<int> m_pendingFailure;
    QTimer m_failureTimer;
    NetworkProbe m_probe;

    Status m_status = Status::unknown;
    std::optional<PlatformError> m_error;
    std::optional<double> m_duration;
    QSizeF m_size;
    qint64 m_width = 0;
    qint64 m_height = 0;
    double m_time = 0;
    std::optional<double> m_lastTickTime;
    bool m_paused = true;
    bool m_eofReached = false;
    bool m_buffering = false;
    double m_speed = 1.0;
    double m_volume = 1.0;
    QList<Track> m_tracks;

    quint64 m_nextRequest = 1;
    QHash<quint64, FrameCallback> m_frameRequests;
    QList<QPointer<MpvVideoWidget>> m_videoWidgets;
};

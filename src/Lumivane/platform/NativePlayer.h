#pragma once

#include "platform/PlatformError.h"

#include <QList>
#include <QObject>
#include <QSizeF>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

// The platform media player behind a native playback session. One item is current at a
// time; every signal names the item it belongs to, so events of a replaced item can be
// told apart and ignored. All calls and signals happen on the GUI thread.
//
// Item lifecycle: load() makes a new item current (status unknown, paused). Its status
// turns readyToPlay once the media is opened, or failed with error() set. At the end of
// the media the player pauses and emits playedToEnd; the item stays open, so seek(0) and
// play() start it again.
//
// timeTick works like a periodic observer with a one-second interval: it fires each time
// the playback position passes a whole second while playing, and also when playback
// starts, when it pauses and when a seek lands (paused or not). It never fires while the
// position stands still.
//
// isBuffering is true while playback waits for data because the stream's buffer ran dry;
// bufferingChanged tells when that starts and ends, and each time more data arrives meanwhile.
class NativePlayer : public QObject
{
    Q_OBJECT

public:
    enum class Status { unknown, readyToPlay, failed };
    enum class SeekMode { exact, defaultTolerance };
    enum class TrackType { audio, subtitle };
    // An audio or subtitle track of the current item, as the media (or a side file) has it.
    struct Track {
        // The player's own id, stable for the same media; never 0.
        int id = 0;
        TrackType type = TrackType::audio;
        QString language;
        QString title;
        QString codec;
        bool isDefault = false;
        bool isExternal = false;
        bool isSelected = false;

        bool operator==(const Track &) const = default;
    };
    // Completion of saveFrame; error is empty on success.
    using FrameCallback = std::function<void(bool ok, const QString &error)>;

    explicit NativePlayer(QObject *parent = nullptr);
    ~NativePlayer() override;

    // Starts a new item, paused, and returns its id (increasing, never 0).
    virtual quint64 load(const QUrl &url) = 0;
    // Closes the current item; afterwards currentItem() is 0.
    virtual void unload() = 0;
    // 0 when nothing is loaded.
    virtual quint64 currentItem() const = 0;

    virtual Status status() const = 0;
    virtual std::optional<PlatformError> error() const = 0;
    // 0 while paused, else the playback speed.
    virtual double rate() const = 0;
    // Finite and >= 0 when known.
    virtual std::optional<double> duration() const = 0;
    // Display size of the picture; empty for audio or while unknown.
    virtual QSizeF presentationSize() const = 0;
    virtual double currentTime() const = 0;
    virtual double volume() const = 0;
    virtual bool isBuffering() const = 0;

    // Starts playback at the last speed set (1.0 initially).
    virtual void play() = 0;
    virtual void pause() = 0;
    // Non-finite targets are ignored, negative ones go to 0.
    virtual void seek(double seconds, SeekMode mode) = 0;
    // A rate > 0 sets the speed and plays; 0 or less pauses. Non-finite rates are ignored.
    virtual void setRate(double rate) = 0;
    // Clamped to 0..1; non-finite values are ignored.
    virtual void setVolume(double volume) = 0;

    // Writes the exact video frame at the current position as PNG. The callback runs
    // later on the GUI thread, never synchronously and never after the player is gone.
    virtual void saveFrame(const QString &pngPath, FrameCallback done) = 0;

    // Audio and subtitle tracks of the current item; tracksChanged tells when they change.
    virtual QList<Track> tracks() const = 0;
    // No id: none of that type (subtitles off).
    virtual void selectTrack(TrackType type, std::optional<int> id) = 0;
    // Adds a subtitle file to the current item and shows it.
    virtual void addSubtitleFile(const QString &path) = 0;

    // The surface that shows the picture, owned by parent.
    virtual QWidget *createVideoWidget(QWidget *parent) = 0;

Q_SIGNALS:
    void statusChanged(quint64 item);
    void rateChanged(quint64 item);
    void presentationSizeChanged(quint64 item);
    void durationChanged(quint64 item);
    void timeTick(quint64 item, double seconds);
    void playedToEnd(quint64 item);
    void bufferingChanged(quint64 item);
    void tracksChanged(quint64 item);
};

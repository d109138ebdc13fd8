#pragma once

#include "platform/NativePlayer.h"

#include <QColor>
#include <QList>
#include <QStringList>
#include <QWidget>

// A NativePlayer driven by the test: every emit* stores a value and emits its signal for
// the item given, so tests can replay exact (also stale or out-of-order) event sequences.
// Commands from the code under test are recorded and answered as mpv answers them.
class FakeNativePlayer final : public NativePlayer
{
    Q_OBJECT

public:
    struct Seek {
        double seconds = 0;
        SeekMode mode = SeekMode::exact;
    };
    struct FrameRequest {
        QString path;
        FrameCallback done;
    };

    using NativePlayer::NativePlayer;

    quint64 load(const QUrl &url) override;
    void unload() override;
    quint64 currentItem() const override { return m_item; }
    Status status() const override { return m_state.status; }
    std::optional<PlatformError> error() const override { return m_state.error; }
    double rate() const override { return m_rate; }
    std::optional<double> duration() const override { return m_state.duration; }
    QSizeF presentationSize() const override { return m_state.size; }
    double currentTime() const override { return m_state.time; }
    double volume() const override { return m_volume; }
    bool isBuffering() const override { return m_state.buffering; }

    void play() override { ++m_playCount; changeRate(m_speed); }
    void pause() override { ++m_pauseCount; changeRate(0); }
    void seek(double seconds, SeekMode mode) override;
    void setRate(double rate) override;
    void setVolume(double volume) override;
    void saveFrame(const QString &pngPath, FrameCallback done) override { m_frameRequests.append({pngPath, done}); }
    QWidget *createVideoWidget(QWidget *parent) override { return new QWidget(parent); }
    QList<Track> tracks() const override { return m_state.tracks; }
    // Selects as mpv does: one track of the type at most, and the list changes.
    void selectTrack(TrackType type, std::optional<int> id) override;
    void addSubtitleFile(const QString &path) override { m_subtitleFiles.append(path); }

    // Driving events.
    void emitStatus(quint64 item, Status status, std::optional<PlatformError> error = {});
    void emitRate(quint64 item, double rate) { m_rate = rate; Q_EMIT rateChanged(item); }
    void emitPresentationSize(quint64 item, QSizeF size) { m_state.size = size; Q_EMIT presentationSizeChanged(item); }
    void emitDuration(quint64 item, std::optional<double> duration);
    void emitTick(quint64 item, double seconds) { m_state.time = seconds; Q_EMIT timeTick(item, seconds); }
    void emitPlayedToEnd(quint64 item) { m_rate = 0; Q_EMIT playedToEnd(item); }
    void emitBuffering(quint64 item, bool buffering) { m_state.buffering = buffering; Q_EMIT bufferingChanged(item); }
    void emitTracks(quint64 item, const QList<Track> &tracks) { m_state.tracks = tracks; Q_EMIT tracksChanged(item); }
    // Answers the oldest pending saveFrame; on success writes a small PNG of the colour.
    bool completeFrameRequest(bool ok, const QString &error = {}, const QColor &colour = Qt::black);

    // Recorded commands.
    const QList<QUrl> &loadedUrls() const { return m_loadedUrls; }
    const QList<Seek> &seeks() const { return m_seeks; }
    int playCount() const { return m_playCount; }
    int pauseCount() const { return m_pauseCount; }
    int unloadCount() const { return m_unloadCount; }
    const QList<FrameRequest> &frameRequests() const { return m_frameRequests; }
    const QStringList &subtitleFiles() const { return m_subtitleFiles; }

private:
    // What belongs to the current item and starts afresh with the next one.
    struct ItemState {
        Status status = Status::unknown;
        std::optional<PlatformError> error;
        std::optional<double> duration;
        QSizeF size;
        double time = 0;
        bool buffering = false;
        QList<Track> tracks;
    };
    void changeRate(double rate);

    quint64 m_item = 0;
    quint64 m_lastItem = 0;
    ItemState m_state;
    double m_rate = 0;
    double m_speed = 1.0;
    double m_volume = 1.0;
    QList<QUrl> m_loadedUrls;
    QList<Seek> m_seeks;
    int m_playCount = 0;
    int m_pauseCount = 0;
    int m_unloadCount = 0;
    QList<FrameRequest> m_frameRequests;
    QStringList m_subtitleFiles;
};

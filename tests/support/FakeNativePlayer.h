#pragma once

#include "platform/NativePlayer.h"

#include <QColor>
#include <QList>
#include <QString>

// A NativePlayer driven by the test: every setter stores a value and emits its signal for
// the item given, so tests can replay exact (also stale or out-of-order) event sequences.
// Commands from the code under test are recorded.
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

    explicit FakeNativePlayer(QObject *parent = nullptr);

    quint64 load(const QUrl &url) override;
    void unload() override;
    quint64 currentItem() const override { return m_item; }
    Status status() const override { return m_status; }
    std::optional<PlatformError> error() const override { return m_error; }
    double rate() const override { return m_rate; }
    std::optional<double> duration() const override { return m_duration; }
    QSizeF presentationSize() const override { return m_size; }
    double currentTime() const override { return m_time; }
    double volume() const override { return m_volume; }

    void play() override;
    void pause() override;
    void seek(double seconds, SeekMode mode) override;
    void setRate(double rate) override;
    void setVolume(double volume) override;
    void saveFrame(const QString &pngPath, FrameCallback done) override;
    QWidget *createVideoWidget(QWidget *parent) override;

    // Driving events.
    void emitStatus(quint64 item, Status status, std::optional<PlatformError> error = {});
    void emitRate(quint64 item, double rate);
    void emitPresentationSize(quint64 item, QSizeF size);
    void emitDuration(quint64 item, std::optional<double> duration);
    void emitTick(quint64 item, double seconds);
    void emitPlayedToEnd(quint64 item);
    // Answers the oldest pending saveFrame; on success writes a small PNG of the colour.
    bool completeFrameRequest(bool ok, const QString &error = {}, const QColor &colour = Qt::black);

    // Recorded commands.
    const QList<QUrl> &loadedUrls() const { return m_loadedUrls; }
    const QList<Seek> &seeks() const { return m_seeks; }
    int playCount() const { return m_playCount; }
    int pauseCount() const { return m_pauseCount; }
    int unloadCount() const { return m_unloadCount; }
    const QList<FrameRequest> &frameRequests() const { return m_frameRequests; }
    int videoWidgetCount() const { return m_videoWidgets; }

private:
    void changeRate(double rate);

    quint64 m_item = 0;
    quint64 m_lastItem = 0;
    Status m_status = Status::unknown;
    std::optional<PlatformError> m_error;
    double m_rate = 0;
    double m_speed = 1.0;
    std::optional<double> m_duration;
    QSizeF m_size;
    double m_time = 0;
    double m_volume = 1.0;

    QList<QUrl> m_loadedUrls;
    QList<Seek> m_seeks;
    int m_playCount = 0;
    int m_pauseCount = 0;
    int m_unloadCount = 0;
    int m_videoWidgets = 0;
    QList<FrameRequest> m_frameRequests;
};

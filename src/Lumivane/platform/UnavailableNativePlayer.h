#pragma once

#include "platform/NativePlayer.h"

// Stands in for the player engine when its module cannot be loaded: every item fails, told
// later as a real player would, and the window says the player couldn't be started.
class UnavailableNativePlayer final : public NativePlayer
{
    Q_OBJECT

public:
    using NativePlayer::NativePlayer;

    quint64 load(const QUrl &url) override;
    void unload() override;
    quint64 currentItem() const override { return m_item; }
    Status status() const override { return m_error ? Status::failed : Status::unknown; }
    std::optional<PlatformError> error() const override { return m_error; }
    double rate() const override { return 0; }
    std::optional<double> duration() const override { return std::nullopt; }
    QSizeF presentationSize() const override { return {}; }
    double currentTime() const override { return 0; }
    double volume() const override { return 1; }
    bool isBuffering() const override { return false; }
    void play() override {}
    void pause() override {}
    void seek(double, SeekMode) override {}
    void setRate(double) override {}
    void setVolume(double) override {}
    void saveFrame(const QString &pngPath, FrameCallback done) override;
    QList<Track> tracks() const override { return {}; }
    void selectTrack(TrackType, std::optional<int>) override {}
    void addSubtitleFile(const QString &) override {}
    QWidget *createVideoWidget(QWidget *parent) override;

private:
    quint64 m_item = 0;
    quint64 m_lastItem = 0;
    std::optional<PlatformError> m_error;
};

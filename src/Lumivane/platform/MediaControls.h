#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

// The desktop's media controls for one player window (media keys, the desktop's media
// widget, playerctl). The window's side publishes what plays; the desktop's wishes arrive
// as signals. Times are in seconds. MprisControls is the real one.
class MediaControls : public QObject
{
    Q_OBJECT

public:
    enum class Status { playing, paused, stopped };

    struct State {
        Status status = Status::stopped;
        // Changes whenever the window's media changes, so the desktop can tell tracks apart.
        QString trackId;
        QString title;
        QUrl url;
        QUrl artUrl;
        std::optional<double> length;
        double position = 0;
        double rate = 1.0;
        double volume = 1.0;
        bool canPlay = false;
        bool canSeek = false;
        bool canGoNext = false;

        bool operator==(const State &) const = default;
    };

    explicit MediaControls(QObject *parent = nullptr);
    ~MediaControls() override;

    virtual void publish(const State &state) = 0;
    // The position jumped (a seek landed), not merely advanced.
    virtual void announceSeeked(double position) = 0;

Q_SIGNALS:
    void playPauseRequested();
    void playRequested();
    void pauseRequested();
    void stopRequested();
    // Relative to the current position.
    void seekRequested(double offset);
    // Ignored by the receiver unless trackId names the current media.
    void positionRequested(const QString &trackId, double position);
    void nextRequested();
    void rateRequested(double rate);
    void volumeRequested(double volume);
    void raiseRequested();
    void quitRequested();
};

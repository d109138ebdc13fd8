#include "FakeNativePlayer.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <cmath>

FakeNativePlayer::FakeNativePlayer(QObject *parent)
    : NativePlayer(parent)
{
}

quint64 FakeNativePlayer::load(const QUrl &url)
{
    m_item = ++m_lastItem;
    m_loadedUrls.append(url);
    m_status = Status::unknown;
    m_error.reset();
    m_duration.reset();
    m_size = QSizeF();
    m_time = 0;
    m_rate = 0;
    return m_item;
}

void FakeNativePlayer::unload()
{
    ++m_unloadCount;
    m_item = 0;
    m_status = Status::unknown;
    m_error.reset();
    m_rate = 0;
}

void FakeNativePlayer::play()
{
    ++m_playCount;
    changeRate(m_speed);
}

void FakeNativePlayer::pause()
{
    ++m_pauseCount;
    changeRate(0);
}

void FakeNativePlayer::seek(double seconds, SeekMode mode)
{
    if (!std::isfinite(seconds))
        return;
    m_seeks.append({seconds, mode});
    m_time = std::max(seconds, 0.0);
}

void FakeNativePlayer::setRate(double rate)
{
    if (!std::isfinite(rate))
        return;
    if (rate <= 0) {
        changeRate(0);
        return;
    }
    m_speed = rate;
    changeRate(rate);
}

void FakeNativePlayer::setVolume(double volume)
{
    if (std::isfinite(volume))
        m_volume = std::clamp(volume, 0.0, 1.0);
}

void FakeNativePlayer::saveFrame(const QString &pngPath, FrameCallback done)
{
    m_frameRequests.append({pngPath, std::move(done)});
}

QWidget *FakeNativePlayer::createVideoWidget(QWidget *parent)
{
    ++m_videoWidgets;
    return new QWidget(parent);
}

void FakeNativePlayer::changeRate(double rate)
{
    if (rate == m_rate)
        return;
    m_rate = rate;
    if (m_item != 0)
        Q_EMIT rateChanged(m_item);
}

void FakeNativePlayer::emitStatus(quint64 item, Status status, std::optional<PlatformError> error)
{
    m_status = status;
    m_error = std::move(error);
    Q_EMIT statusChanged(item);
}

void FakeNativePlayer::emitRate(quint64 item, double rate)
{
    m_rate = rate;
    Q_EMIT rateChanged(item);
}

void FakeNativePlayer::emitPresentationSize(quint64 item, QSizeF size)
{
    m_size = size;
    Q_EMIT presentationSizeChanged(item);
}

void FakeNativePlayer::emitDuration(quint64 item, std::optional<double> duration)
{
    m_duration = duration;
    Q_EMIT durationChanged(item);
}

void FakeNativePlayer::emitTick(quint64 item, double seconds)
{
    m_time = seconds;
    Q_EMIT timeTick(item, seconds);
}

void FakeNativePlayer::emitPlayedToEnd(quint64 item)
{
    m_rate = 0;
    Q_EMIT playedToEnd(item);
}

bool FakeNativePlayer::completeFrameRequest(bool ok, const QString &error, const QColor &colour)
{
    if (m_frameRequests.isEmpty())
        return false;
    const FrameRequest request = m_frameRequests.takeFirst();
    if (ok) {
        QImage image(16, 9, QImage::Format_RGB32);
        image.fill(colour);
        ok = image.save(request.path, "PNG");
    }
    if (request.done)
        request.done(ok, ok ? QString() : error);
    return true;
}

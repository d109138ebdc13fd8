#include "FakeNativePlayer.h"

#include <QImage>

#include <algorithm>
#include <cmath>

quint64 FakeNativePlayer::load(const QUrl &url)
{
    m_loadedUrls.append(url);
    m_state = {};
    m_rate = 0;
    return m_item = ++m_lastItem;
}

void FakeNativePlayer::unload()
{
    ++m_unloadCount;
    m_state = {};
    m_rate = 0;
    m_item = 0;
}

void FakeNativePlayer::seek(double seconds, SeekMode mode)
{
    if (!std::isfinite(seconds))
        return;
    m_seeks.append({seconds, mode});
    m_state.time = std::max(seconds, 0.0);
}

void FakeNativePlayer::setRate(double rate)
{
    if (std::isfinite(rate) && rate > 0)
        m_speed = rate;
    if (std::isfinite(rate))
        changeRate(std::max(rate, 0.0));
}

void FakeNativePlayer::setVolume(double volume)
{
    if (std::isfinite(volume))
        m_volume = std::clamp(volume, 0.0, 1.0);
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
    m_state.status = status;
    m_state.error = std::move(error);
    Q_EMIT statusChanged(item);
}

void FakeNativePlayer::emitDuration(quint64 item, std::optional<double> duration)
{
    m_state.duration = duration;
    Q_EMIT durationChanged(item);
}

bool FakeNativePlayer::completeFrameRequest(bool ok, const QString &error, const QColor &colour)
{
    if (m_frameRequests.isEmpty())
        return false;
    const FrameRequest request = m_frameRequests.takeFirst();
    QImage image(16, 9, QImage::Format_RGB32);
    image.fill(colour);
    ok = ok && image.save(request.path, "PNG");
    if (request.done)
        request.done(ok, ok ? QString() : error);
    return true;
}

void FakeNativePlayer::selectTrack(TrackType type, std::optional<int> id)
{
    for (Track &track : m_state.tracks) {
        if (track.type == type)
            track.isSelected = id == track.id;
    }
    Q_EMIT tracksChanged(m_item);
}

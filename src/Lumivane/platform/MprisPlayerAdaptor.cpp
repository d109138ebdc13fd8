#include "platform/MprisPlayerAdaptor.h"

#include "platform/MprisControls.h"

namespace {
double seconds(qlonglong microseconds)
{
    return static_cast<double>(microseconds) / 1e6;
}
} // namespace

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisControls *controls)
    : QDBusAbstractAdaptor(controls)
    , m_controls(controls)
{
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return MprisControls::statusName(m_controls->state().status);
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return MprisControls::metadata(m_controls->state());
}

qlonglong MprisPlayerAdaptor::position() const
{
    return MprisControls::microseconds(m_controls->state().position);
}

double MprisPlayerAdaptor::rate() const
{
    return m_controls->state().rate;
}

void MprisPlayerAdaptor::setRate(double rate)
{
    Q_EMIT m_controls->rateRequested(rate);
}

double MprisPlayerAdaptor::volume() const
{
    return m_controls->state().volume;
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    Q_EMIT m_controls->volumeRequested(volume);
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return m_controls->state().canGoNext;
}

bool MprisPlayerAdaptor::canPlay() const
{
    return m_controls->state().canPlay;
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_controls->state().canSeek;
}

void MprisPlayerAdaptor::Next()
{
    Q_EMIT m_controls->nextRequested();
}

void MprisPlayerAdaptor::Pause()
{
    Q_EMIT m_controls->pauseRequested();
}

void MprisPlayerAdaptor::PlayPause()
{
    Q_EMIT m_controls->playPauseRequested();
}

void MprisPlayerAdaptor::Stop()
{
    Q_EMIT m_controls->stopRequested();
}

void MprisPlayerAdaptor::Play()
{
    Q_EMIT m_controls->playRequested();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    Q_EMIT m_controls->seekRequested(seconds(offset));
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &trackId, qlonglong position)
{
    Q_EMIT m_controls->positionRequested(trackId.path(), seconds(position));
}

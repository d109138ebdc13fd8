#include "playback/WebStallTracker.h"

#include "KiteCore/WebStallRules.h"

#include <algorithm>
#include <cmath>

WebStallTracker::WebStallTracker(double now)
{
    reset(now);
}

void WebStallTracker::reset(double now)
{
    m_lastMediaTime = 0;
    m_lastGoodTime = 0;
    m_stallSeconds = 0;
    m_recoveryAttempts = 0;
    m_wasAdShowing = false;
    m_postAdWindowPolls = 0;
    m_lastPollAt = now;
    m_nudgedTo.reset();
}

bool WebStallTracker::nearAd() const
{
    return m_wasAdShowing || m_postAdWindowPolls >= 1;
}

double WebStallTracker::creditedGap(double now)
{
    const double gap = now - m_lastPollAt;
    m_lastPollAt = now;
    // A clock that went backwards or a broken reading credits nothing.
    if (!std::isfinite(gap))
        return 0;
    return std::clamp(gap, 0.0, maxCreditedGap);
}

bool WebStallTracker::updateAdWindow(bool adShowing)
{
    const bool wasAd = m_wasAdShowing;
    if (wasAd && !adShowing) {
        m_wasAdShowing = false;
        m_postAdWindowPolls = WebStallRules::postAdRecoveryWindowPolls;
    } else if (!wasAd && !adShowing && m_postAdWindowPolls >= 1) {
        --m_postAdWindowPolls;
    }
    return wasAd || adShowing || m_postAdWindowPolls >= 1;
}

WebStallTracker::Decision WebStallTracker::observe(const Sample &sample, double now)
{
    const double step = creditedGap(now);
    double moved = std::abs(sample.time - m_lastMediaTime);
    if (m_nudgedTo)
        moved = std::min(moved, std::abs(sample.time - *m_nudgedTo));
    m_nudgedTo.reset();
    m_lastMediaTime = sample.time;
    const bool advanced = moved > minimumProgress;
    const bool nearAd = updateAdWindow(sample.adShowing);

    if (sample.adShowing) {
        m_wasAdShowing = true;
        m_postAdWindowPolls = 0;
        m_stallSeconds = 0;
        if (advanced)
            m_recoveryAttempts = 0;
        return {};
    }
    if (nearAd && m_lastGoodTime > WebStallRules::lostPositionThreshold && advanced) {
        // A jump far back right after an advertisement is the loss to be repaired, not the
        // new good position.
        if (!WebStallRules::isPositionLost(m_lastGoodTime, sample.time))
            m_lastGoodTime = sample.time;
        m_stallSeconds = 0;
        m_recoveryAttempts = 0;
        return {};
    }
    if (advanced) {
        m_lastGoodTime = sample.time;
        m_stallSeconds = 0;
        m_recoveryAttempts = 0;
        return {};
    }
    return noProgress(sample, step);
}

WebStallTracker::Decision WebStallTracker::noProgress(const Sample &sample, double step)
{
    if (sample.hidden || sample.scrubbing || sample.duration <= 0) {
        m_stallSeconds = 0;
        return {};
    }
    if (WebStallRules::shouldRecoverLostPosition(m_lastGoodTime, sample.time, m_postAdWindowPolls,
                                                 m_recoveryAttempts))
        return recover(m_lastGoodTime);

    const bool stopped = sample.paused || sample.ended;
    if (m_recoveryAttempts == 0 && stopped) {
        m_stallSeconds = 0;
        return {};
    }
    if (m_recoveryAttempts >= 1 && sample.paused
        && !WebStallRules::isPositionLost(m_lastGoodTime, sample.time)) {
        m_stallSeconds = 0;
        return {};
    }
    m_stallSeconds += step;
    switch (WebStallRules::action(true, false, false, true, false, m_stallSeconds,
                                  m_recoveryAttempts)) {
    case WebStallRules::Action::reseekBack: {
        const double target = std::max(m_lastGoodTime - 1, 0.0);
        // The nudge itself moves the video by a second: a video frozen at the target, like
        // one that ignored the seek, has not progressed, or it would be nudged forever.
        m_nudgedTo = target;
        return recover(target);
    }
    case WebStallRules::Action::showError: return {Verdict::showError, 0};
    case WebStallRules::Action::none: break;
    }
    return {};
}

WebStallTracker::Decision WebStallTracker::recover(double target)
{
    ++m_recoveryAttempts;
    m_stallSeconds = 0;
    return {Verdict::recover, target};
}

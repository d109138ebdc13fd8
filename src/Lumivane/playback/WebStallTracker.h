#pragma once

#include <optional>

// The stall arithmetic of a polled web video: follows the position poll by poll, counts
// time without progress, watches advertisements and the window after them, and says when
// to nudge the video, when to give up, and when to restore a position an advertisement
// threw away. The decisions themselves are WebStallRules'.
class WebStallTracker final
{
public:
    // What one poll saw.
    struct Sample {
        double time = 0;
        double duration = 0;
        bool paused = false;
        bool ended = false;
        bool adShowing = false;
        // The window is hidden or the user drags the position: stalls do not count.
        bool hidden = false;
        bool scrubbing = false;
    };

    enum class Verdict { none, recover, showError };
    struct Decision {
        Verdict verdict = Verdict::none;
        // Where to seek for recover.
        double target = 0;
        bool operator==(const Decision &other) const = default;
    };

    // The largest poll gap credited to a stall, so that a machine waking from sleep does
    // not count its sleep.
    static constexpr double maxCreditedGap = 1.5;
    // Less movement than this between two polls is no progress.
    static constexpr double minimumProgress = 0.25;

    explicit WebStallTracker(double now);

    // Takes one poll at monotonic time now (seconds). A recover decision counts as the
    // attempt made for the current stall.
    Decision observe(const Sample &sample, double now);
    // Forgets everything, as for a fresh page.
    void reset(double now);

    // An advertisement shows or has just ended: poll faster.
    bool nearAd() const;
    double lastGoodTime() const { return m_lastGoodTime; }
    double stallSeconds() const { return m_stallSeconds; }
    int recoveryAttempts() const { return m_recoveryAttempts; }

private:
    double creditedGap(double now);
    // True when the window after an advertisement is open.
    bool updateAdWindow(bool adShowing);
    Decision noProgress(const Sample &sample, double step);
    Decision recover(double target);

    double m_lastMediaTime = 0;
    double m_lastGoodTime = 0;
    double m_stallSeconds = 0;
    int m_recoveryAttempts = 0;
    bool m_wasAdShowing = false;
    int m_postAdWindowPolls = 0;
    double m_lastPollAt = 0;
    // Where the last nudge sent the video, until the next poll has seen it.
    std::optional<double> m_nudgedTo;
};

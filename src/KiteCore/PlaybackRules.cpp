#include "KiteCore/PlaybackRules.h"

#include <algorithm>
#include <cmath>

namespace PlaybackRules {

HideAction hiding(bool isPlaying, bool waitingToAutoplay, bool pauseWhenHidden)
{
    // A source that has not started yet would otherwise start playing in a hidden window.
    if (waitingToAutoplay)
        return HideAction::pause;
    if (!isPlaying)
        return HideAction::none;
    return pauseWhenHidden ? HideAction::pause : HideAction::continue_;
}

// The automatic start takes care of itself once the window is back.
ShowAction showing(bool wasPausedByHide, [[maybe_unused]] bool waitingToAutoplay,
                   bool pausedByUser)
{
    return wasPausedByHide && !pausedByUser ? ShowAction::resume : ShowAction::none;
}

bool endedEarly(double position, double duration)
{
    // Container lengths can be estimates (VBR audio without an index): a few percent short
    // is still the end.
    constexpr double slackSeconds = 2.0;
    constexpr double slackShare = 0.05;
    if (!std::isfinite(duration) || duration <= 0 || !std::isfinite(position))
        return false;
    return position < duration - std::max(slackSeconds, duration * slackShare);
}

} // namespace PlaybackRules

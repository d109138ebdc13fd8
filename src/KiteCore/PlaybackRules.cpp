#include "KiteCore/PlaybackRules.h"

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

} // namespace PlaybackRules

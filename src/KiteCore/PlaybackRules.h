#pragma once

// What hiding and showing a player window does to its playback.
namespace PlaybackRules {

// `continue` is a C++ keyword, hence the trailing underscore.
enum class HideAction { pause, continue_, none };
enum class ShowAction { resume, none };

HideAction hiding(bool isPlaying, bool waitingToAutoplay, bool pauseWhenHidden);
ShowAction showing(bool wasPausedByHide, bool waitingToAutoplay, bool pausedByUser);

// Whether media that stopped at position ended well before its known duration (a cut-off
// download or a dropped connection), allowing for lengths that were only estimated.
bool endedEarly(double position, double duration);

} // namespace PlaybackRules

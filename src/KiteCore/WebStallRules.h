#pragma once

// When a stalled web video is nudged, given up on, or its lost position restored.
namespace WebStallRules {

enum class Action { none, reseekBack, showError };

inline constexpr double reseekAfter = 6.0;
inline constexpr double showErrorAfter = 14.0;
inline constexpr int maxRecoveryAttempts = 1;
inline constexpr int postAdRecoveryWindowPolls = 12;
inline constexpr double lostPositionThreshold = 30.0;

Action action(bool playing, bool ended, bool adShowing, bool visible, bool advanced,
              double stallSeconds, int attempts);
bool isPositionLost(double lastGood, double current);
bool shouldRecoverLostPosition(double lastGood, double current, int windowPollsLeft,
                               int attempts);

} // namespace WebStallRules

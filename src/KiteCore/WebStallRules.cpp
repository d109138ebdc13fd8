#include "KiteCore/WebStallRules.h"

#include <cmath>

namespace WebStallRules {

Action action(bool playing, bool ended, bool adShowing, bool visible, bool advanced,
              double stallSeconds, int attempts)
{
    if (!visible || !playing || ended || adShowing || advanced)
        return Action::none;
    // NaN fails every comparison below and so falls through to none.
    if (attempts < maxRecoveryAttempts && stallSeconds >= reseekAfter)
        return Action::reseekBack;
    if (attempts >= maxRecoveryAttempts && stallSeconds >= showErrorAfter)
        return Action::showError;
    return Action::none;
}

bool isPositionLost(double lastGood, double current)
{
    // A position that is not a finite number is no evidence of a jump.
    if (!std::isfinite(lastGood) || !std::isfinite(current))
        return false;
    return lastGood > lostPositionThreshold && current < lastGood - lostPositionThreshold;
}

bool shouldRecoverLostPosition(double lastGood, double current, int windowPollsLeft,
                               int attempts)
{
    return attempts == 0 && windowPollsLeft >= 1 && isPositionLost(lastGood, current);
}

} // namespace WebStallRules

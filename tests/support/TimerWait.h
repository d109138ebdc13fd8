#pragma once

#include <chrono>

namespace TimerWait {
// Runs the event loop until every timer of `delay` or shorter that was started before has
// had its turn (coarse timers may fire a little late); false when that never came.
bool pastTimers(std::chrono::milliseconds delay);
} // namespace TimerWait

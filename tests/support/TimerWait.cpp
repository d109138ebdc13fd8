#include "TimerWait.h"

#include <QSignalSpy>
#include <QTimer>

namespace TimerWait {

bool pastTimers(std::chrono::milliseconds delay)
{
    QTimer later;
    QSignalSpy fired(&later, &QTimer::timeout);
    later.start(delay * 2);
    return fired.wait(int(delay.count()) * 2 + 5000);
}

} // namespace TimerWait

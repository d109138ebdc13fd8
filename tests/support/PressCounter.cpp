#include "PressCounter.h"

#include <QEvent>

bool PressCounter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress)
        ++presses;
    return QObject::eventFilter(watched, event);
}

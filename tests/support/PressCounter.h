#pragma once

#include <QEvent>
#include <QObject>

// Counts the mouse presses that reach the objects it is installed on; lets them through.
class PressCounter final : public QObject
{
    Q_OBJECT

public:
    int presses = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            ++presses;
        return QObject::eventFilter(watched, event);
    }
};

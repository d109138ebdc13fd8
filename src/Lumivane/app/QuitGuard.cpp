#include "app/QuitGuard.h"

#include "app/AppModel.h"

#include <QCoreApplication>
#include <QEvent>

QuitGuard::QuitGuard(AppModel &model, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
}

bool QuitGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
        m_model.prepareToQuit();
    return QObject::eventFilter(watched, event);
}

#include "platform/MprisRootAdaptor.h"

#include "platform/MprisControls.h"
#include "platform/Workspace.h"

MprisRootAdaptor::MprisRootAdaptor(MprisControls *controls)
    : QDBusAbstractAdaptor(controls)
    , m_controls(controls)
{
}

QString MprisRootAdaptor::identity() const
{
    return QStringLiteral("Lumivane");
}

QString MprisRootAdaptor::desktopEntry() const
{
    return Workspace::appId();
}

void MprisRootAdaptor::Raise()
{
    Q_EMIT m_controls->raiseRequested();
}

void MprisRootAdaptor::Quit()
{
    Q_EMIT m_controls->quitRequested();
}

#include "platform/Workspace.h"

QString Workspace::appId()
{
    return QStringLiteral(LUMIVANE_APP_ID);
}

QString Workspace::ownDesktopEntry()
{
    return appId() + QStringLiteral(".desktop");
}

Workspace::~Workspace() = default;

bool Workspace::defaultsToThisApp(const QUrl &url)
{
    const std::optional<QString> entry = defaultHandler(url);
    return entry && *entry == ownDesktopEntry();
}

#include "platform/Workspace.h"

QString Workspace::ownDesktopEntry()
{
    return QStringLiteral("lumivane.desktop");
}

Workspace::~Workspace() = default;

bool Workspace::defaultsToThisApp(const QUrl &url)
{
    const std::optional<QString> entry = defaultHandler(url);
    return entry && *entry == ownDesktopEntry();
}

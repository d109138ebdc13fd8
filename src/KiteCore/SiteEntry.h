#pragma once

#include <QString>
#include <QStringList>

// A site the application can open, recognised by its hosts (lower case, in priority order).
struct SiteEntry final
{
    QString id;
    QString displayName;
    QStringList hosts;

    bool operator==(const SiteEntry &other) const = default;
};

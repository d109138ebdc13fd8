#include "platform/WebStorage.h"

#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>

namespace {

QString resetMarker()
{
    return AppPaths::dataFolder() + QStringLiteral("/WebEngine/reset-storage");
}

} // namespace

namespace WebStorage {

QString storageFolder()
{
    return AppPaths::dataFolder() + QStringLiteral("/WebEngine/storage");
}

QString cacheFolder()
{
    return AppPaths::dataFolder() + QStringLiteral("/WebEngine/cache");
}

QString cookieFile()
{
    return storageFolder() + QStringLiteral("/Cookies");
}

void resetAtNextStart()
{
    const QString data = AppPaths::dataFolder();
    for (const QString &folder : {data, data + QStringLiteral("/WebEngine")})
        AppPaths::ensurePrivateFolder(folder);
    QFile marker(resetMarker());
    if (marker.open(QIODevice::WriteOnly))
        marker.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool resetPending()
{
    return QFile::exists(resetMarker());
}

void resetIfAsked()
{
    if (!resetPending())
        return;
    QDir(storageFolder()).removeRecursively();
    QFile::remove(resetMarker());
}

} // namespace WebStorage

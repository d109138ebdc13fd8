#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString configHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString desktopOrHome()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return desktop.isEmpty() ? QDir::homePath() : desktop;
}

} // namespace

namespace AppPaths {

QString dataFolder()
{
    const bool testMode = qEnvironmentVariable("LUMIVANE_TEST_MODE") == u"1";
    return dataHome() + (testMode ? QStringLiteral("/Lumivane-Verification") : QStringLiteral("/Lumivane"));
}

QString historyFile()
{
    return dataFolder() + QStringLiteral("/history.json");
}

QString playlistFile()
{
    return dataFolder() + QStringLiteral("/playlist.json");
}

QString thumbnailFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/Lumivane/thumbnails");
}

QString settingsFile()
{
    return configHome() + QStringLiteral("/Lumivane/Lumivane.conf");
}

QString screenshotFolder()
{
    return desktopOrHome() + QStringLiteral("/澜萤截图");
}

QString legacySettingsFile()
{
    return configHome() + QStringLiteral("/Kitelamp/Kitelamp.conf");
}

QString legacyDataFolder()
{
    return dataHome() + QStringLiteral("/Kitelamp");
}

QString legacyScreenshotFolder()
{
    return desktopOrHome() + QStringLiteral("/风灯截图");
}

bool ensurePrivateFolder(const QString &path)
{
    if (QDir(path).exists())
        return true;
    if (!QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace AppPaths

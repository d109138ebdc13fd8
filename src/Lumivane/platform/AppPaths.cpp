#include "AppPaths.h"

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
    return dataHome() + (testMode ? u"/Lumivane-Verification" : u"/Lumivane");
}

QString historyFile()
{
    return dataFolder() + u"/history.json";
}

QString playlistFile()
{
    return dataFolder() + u"/playlist.json";
}

QString settingsFile()
{
    return configHome() + u"/Lumivane/Lumivane.conf";
}

QString screenshotFolder()
{
    return desktopOrHome() + u"/澜萤截图";
}

QString legacySettingsFile()
{
    return configHome() + u"/Kitelamp/Kitelamp.conf";
}

QString legacyDataFolder()
{
    return dataHome() + u"/Kitelamp";
}

QString legacyScreenshotFolder()
{
    return desktopOrHome() + u"/风灯截图";
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

#include "windows/LegacyMigration.h"

#include "platform/AppPaths.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

bool isPlatformKey(const QString &key)
{
    return key.startsWith(u"NS") || key.startsWith(u"Apple") || key.startsWith(u"com.apple");
}

bool hasRunBefore(const QSettings &standard)
{
    return standard.contains(QStringLiteral("onboarded"))
        || standard.contains(QStringLiteral("lastWindowURLs"));
}

// Anything at the path, a dangling symbolic link included, counts as existing.
bool occupied(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Qt's rename refuses to replace an existing target and never falls back to copying a folder.
bool moveFolder(const QString &legacyFolder, const QString &currentFolder)
{
    if (legacyFolder.isEmpty() || currentFolder.isEmpty())
        return false;
    if (!QFileInfo(legacyFolder).isDir() || occupied(currentFolder))
        return false;
    return QDir().rename(legacyFolder, currentFolder);
}

// The old data belongs in the user's own folder, "Lumivane", also when a test run uses another.
QString currentDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Lumivane");
}

// Through the one store, which sets a damaged or odd settings file aside before anything reads
// it and keeps it owner-only. Only a regular legacy file is read: opening a FIFO blocks.
void migrateSettingsFiles()
{
    const QString legacyFile = AppPaths::legacySettingsFile();
    if (!QFileInfo(legacyFile).isFile())
        return;
    QSettings &standard = UserDefaults::standard();
    QSettings legacy(legacyFile, QSettings::IniFormat);
    if (LegacyMigration::migrateDefaults(standard, legacy) > 0)
        UserDefaults::save(standard);
}

} // namespace

namespace LegacyMigration {

int migrateDefaults(QSettings &standard, QSettings &legacy)
{
    if (!QFileInfo::exists(legacy.fileName()) || legacy.status() != QSettings::NoError)
        return 0;
    if (hasRunBefore(standard))
        return 0;
    int copied = 0;
    const QStringList keys = legacy.allKeys();
    for (const QString &key : keys) {
        if (isPlatformKey(key) || standard.contains(key))
            continue;
        standard.setValue(key, legacy.value(key));
        ++copied;
    }
    return copied;
}

bool migrateApplicationSupport(const QString &legacyFolder, const QString &currentFolder)
{
    return moveFolder(legacyFolder, currentFolder);
}

bool migrateScreenshots(const QString &legacyFolder, const QString &currentFolder)
{
    return moveFolder(legacyFolder, currentFolder);
}

void run()
{
    migrateSettingsFiles();
    migrateApplicationSupport(AppPaths::legacyDataFolder(), currentDataFolder());
    migrateScreenshots(AppPaths::legacyScreenshotFolder(), AppPaths::screenshotFolder());
}

} // namespace LegacyMigration

#pragma once

#include <QSettings>
#include <QString>

// Carries the earlier product's settings, data folder and screenshot folder over to the
// current names, once, at the start of every launch. It never deletes, never merges and
// never overwrites: wherever the current item exists, the legacy one stays untouched.
namespace LegacyMigration {
// Copies every legacy key into the standard store unless the current product has run
// before ("onboarded" or "lastWindowURLs" present). Keys beginning with "NS", "Apple" or
// "com.apple" and keys the standard store already holds are skipped. Returns the number
// of keys copied; 0 when the legacy file is missing or unreadable.
int migrateDefaults(QSettings &standard, QSettings &legacy);

// Move the legacy folder to the current path when the legacy folder exists and nothing
// is at the current path. Only an atomic rename is tried: when it fails (another file
// system, a mount point) the legacy folder stays where it is, whole. Returns whether it moved.
bool migrateApplicationSupport(const QString &legacyFolder, const QString &currentFolder);
bool migrateScreenshots(const QString &legacyFolder, const QString &currentFolder);

// The three steps above on the real locations, in that order.
void run();
} // namespace LegacyMigration

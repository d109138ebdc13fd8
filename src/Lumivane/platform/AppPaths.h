#pragma once

#include <QString>

// Where Lumivane keeps its files on this desktop (XDG base directories). Every function
// reads the environment on each call, so tests can point XDG_* at temporary folders.
namespace AppPaths {
// $XDG_DATA_HOME/Lumivane, or Lumivane-Verification when LUMIVANE_TEST_MODE is "1".
QString dataFolder();
QString historyFile();
QString playlistFile();
// Thumbnails fetched for the history list: $XDG_CACHE_HOME/Lumivane/thumbnails.
QString thumbnailFolder();
// The user-defaults store: $XDG_CONFIG_HOME/Lumivane/Lumivane.conf (INI).
QString settingsFile();
// The Desktop folder, or the home folder when there is none, with "澜萤截图" appended.
QString screenshotFolder();

// The earlier product's locations, carried over once at start-up.
QString legacySettingsFile();
QString legacyDataFolder();
QString legacyScreenshotFolder();

// Creates the folder (and missing parents) and makes it readable by the owner only.
bool ensurePrivateFolder(const QString &path);
} // namespace AppPaths

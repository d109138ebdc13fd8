#pragma once

#include <QString>

// Where the web profile keeps its data on disk, known without starting the engine: the
// signed-in state is read from here at start, long before any page needs the engine.
namespace WebStorage {
// <data>/WebEngine/storage and <data>/WebEngine/cache.
QString storageFolder();
QString cacheFolder();
// The engine's persisted cookie database in the storage folder.
QString cookieFile();

// Site storage is emptied when the profile is next created: the engine keeps it open and
// offers no call to clear it while running. Cookies live there too.
void resetAtNextStart();
bool resetPending();
// Empties the storage folder if a reset was asked for; call before the profile opens it.
void resetIfAsked();
} // namespace WebStorage

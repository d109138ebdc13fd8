#pragma once

#include "windows/PlaylistItem.h"

#include <QList>
#include <QString>
#include <QUrl>

// Turns a folder into playlist entries: every media file below it (by the local media
// extensions of MediaInput), sorted by title.
namespace FolderScan {
// Recursive; hidden files and folders are skipped, folders reached through symbolic links
// are entered once (so a link loop ends), unreadable folders count as empty. Entries are
// sorted by title like a file manager does (case-insensitive, "2" before "10"); equal
// titles keep the order in which they were found. Not a local folder: empty.
QList<PlaylistItem> mediaItems(const QUrl &folder);
} // namespace FolderScan

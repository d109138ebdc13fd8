#pragma once

#include "windows/PlaylistItem.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>

// Turns a folder into playlist entries: every media file below it, sorted by title.
namespace FolderScan {
// The 13 extensions a folder scan picks up, lower case. Unlike the input parser's list it
// leaves out m3u8: a stream playlist lying in a folder is not a track of its own.
const QSet<QString> &mediaExtensions();

// Recursive; hidden files and folders are skipped, folders reached through symbolic links
// are entered once (so a link loop ends), unreadable folders count as empty. Entries are
// sorted by title like a file manager does (case-insensitive, "2" before "10"); equal
// titles keep the order in which they were found. Not a local folder: empty.
QList<PlaylistItem> mediaItems(const QUrl &folder);
} // namespace FolderScan

#pragma once

#include "KiteCore/MediaInputError.h"
#include "KiteCore/MediaSource.h"

#include <QSet>
#include <QString>
#include <QUrl>

#include <expected>
#include <optional>

// Turns what the user types, pastes, drops or picks into a MediaSource. Stateless; the only
// platform state read is whether a local path exists and the home folder.
namespace MediaInput {
// The 14 media file extensions, lower case, without the dot.
const QSet<QString> &mediaExtensions();
// The 13 of them that name a track of its own: all but m3u8, since a stream playlist lying
// in a folder is not one. What folder scans and the file dialogs pick up.
const QSet<QString> &localMediaExtensions();

// Trims, strips one pair of enclosing quotes and gives a bare host name "https://".
QString normalize(const QString &text);
std::expected<MediaSource, MediaInputError> parse(const QString &text);
bool isMediaFileExtension(const QString &extension);
// The 11-character video ID of a YouTube video link, or nothing.
std::optional<QString> youTubeID(const QUrl &url);
} // namespace MediaInput

#pragma once

#include <QString>

#include <optional>

// How a source plays: natively (a local file or a direct media link) or as a web page.
enum class MediaKind { localFile, mediaURL, web };

QString toRaw(MediaKind kind);
std::optional<MediaKind> mediaKindFromRaw(const QString &raw);

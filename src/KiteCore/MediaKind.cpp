#include "KiteCore/MediaKind.h"

QString toRaw(MediaKind kind)
{
    switch (kind) {
    case MediaKind::localFile: return QStringLiteral("localFile");
    case MediaKind::mediaURL: return QStringLiteral("mediaURL");
    case MediaKind::web: return QStringLiteral("web");
    }
    return QStringLiteral("web");
}

std::optional<MediaKind> mediaKindFromRaw(const QString &raw)
{
    for (MediaKind kind : {MediaKind::localFile, MediaKind::mediaURL, MediaKind::web}) {
        if (toRaw(kind) == raw)
            return kind;
    }
    return std::nullopt;
}

#include "KiteCore/MediaKind.h"

#include "KiteCore/RawValue.h"

#include <array>

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
    return caseFromRaw(std::array{MediaKind::localFile, MediaKind::mediaURL, MediaKind::web}, raw);
}

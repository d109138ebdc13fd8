#include "KiteCore/ThumbnailURL.h"

#include "KiteCore/TextBounds.h"

namespace ThumbnailURL {

std::optional<QUrl> normalize(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || !TextBounds::fitsURL(trimmed))
        return std::nullopt;
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return std::nullopt;
    if (url.host().isEmpty())
        return std::nullopt;
    if (scheme == QLatin1String("https"))
        return url;
    QUrl upgraded = url;
    upgraded.setScheme(QStringLiteral("https"));
    return upgraded.isValid() ? upgraded : url;
}

} // namespace ThumbnailURL

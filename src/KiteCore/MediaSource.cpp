#include "KiteCore/MediaSource.h"

#include "KiteCore/TextBounds.h"

#include <QJsonValue>

MediaSource::MediaSource(QUrl url, MediaKind kind, QString title, QString subtitle,
                         std::optional<QUrl> thumbnailURL)
    : m_url(std::move(url))
    , m_kind(kind)
    , m_title(TextBounds::title(title))
    , m_subtitle(TextBounds::title(subtitle))
    , m_thumbnailURL(std::move(thumbnailURL))
{
}

void MediaSource::setThumbnailURL(std::optional<QUrl> thumbnailURL)
{
    m_thumbnailURL = std::move(thumbnailURL);
}

QString MediaSource::urlString() const
{
    return m_url.toString(QUrl::FullyEncoded);
}

QJsonObject MediaSource::toJson() const
{
    QJsonObject object{
        {QStringLiteral("url"), urlString()},
        {QStringLiteral("kind"), toRaw(m_kind)},
        {QStringLiteral("title"), m_title},
        {QStringLiteral("subtitle"), m_subtitle},
    };
    if (m_thumbnailURL)
        object.insert(QStringLiteral("thumbnailURL"), m_thumbnailURL->toString(QUrl::FullyEncoded));
    return object;
}

std::optional<MediaSource> MediaSource::fromJson(const QJsonObject &object)
{
    const QJsonValue url = object.value(QStringLiteral("url"));
    const QJsonValue kind = object.value(QStringLiteral("kind"));
    const QJsonValue title = object.value(QStringLiteral("title"));
    const QJsonValue subtitle = object.value(QStringLiteral("subtitle"));
    if (!url.isString() || !kind.isString() || !title.isString() || !subtitle.isString())
        return std::nullopt;

    const QUrl parsedURL(url.toString(), QUrl::StrictMode);
    const std::optional<MediaKind> parsedKind = mediaKindFromRaw(kind.toString());
    if (!parsedURL.isValid() || parsedURL.isEmpty() || !parsedKind)
        return std::nullopt;

    std::optional<QUrl> thumbnail;
    const QJsonValue thumbnailValue = object.value(QStringLiteral("thumbnailURL"));
    if (!thumbnailValue.isUndefined() && !thumbnailValue.isNull()) {
        const QUrl parsedThumbnail(thumbnailValue.toString(), QUrl::StrictMode);
        if (!thumbnailValue.isString() || !parsedThumbnail.isValid() || parsedThumbnail.isEmpty())
            return std::nullopt;
        thumbnail = parsedThumbnail;
    }
    return MediaSource(parsedURL, *parsedKind, title.toString(), subtitle.toString(), thumbnail);
}

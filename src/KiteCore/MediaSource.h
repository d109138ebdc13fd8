#pragma once

#include "KiteCore/MediaKind.h"

#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <optional>

// What every opener produces and every session plays. Only the thumbnail may change
// after parsing; the playback session fills it in when a page reports one.
class MediaSource final
{
public:
    MediaSource(QUrl url, MediaKind kind, QString title, QString subtitle,
                std::optional<QUrl> thumbnailURL = std::nullopt);

    const QUrl &url() const { return m_url; }
    MediaKind kind() const { return m_kind; }
    const QString &title() const { return m_title; }
    const QString &subtitle() const { return m_subtitle; }
    const std::optional<QUrl> &thumbnailURL() const { return m_thumbnailURL; }
    void setThumbnailURL(std::optional<QUrl> thumbnailURL);

    // The URL's absolute string, the identity used by history, playlist and window state.
    QString urlString() const;

    QJsonObject toJson() const;
    static std::optional<MediaSource> fromJson(const QJsonObject &object);

    bool operator==(const MediaSource &other) const = default;

private:
    QUrl m_url;
    MediaKind m_kind;
    QString m_title;
    QString m_subtitle;
    std::optional<QUrl> m_thumbnailURL;
};

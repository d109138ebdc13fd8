#pragma once

#include "KiteCore/MediaSource.h"

#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <expected>

// One queued entry of the playlist, in memory and in playlist.json.
struct PlaylistItem final
{
    QUuid id;
    QString urlString;
    QString title;
    QString subtitle;
    // The MediaKind raw value, kept as text exactly as stored.
    QString kind;

    // A new entry with a fresh id for the given source.
    static PlaylistItem fromSource(const MediaSource &source);

    QJsonObject toJson() const;
    // Fails with a short reason naming the first missing or mistyped key.
    static std::expected<PlaylistItem, QString> fromJson(const QJsonObject &object);

    bool operator==(const PlaylistItem &other) const = default;
};

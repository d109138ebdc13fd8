#pragma once

#include "KiteCore/MediaKind.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <expected>
#include <optional>

// One entry of the recent-history list, in memory and in history.json.
struct HistoryItem final
{
    QUuid id;
    QString urlString;
    QString title;
    QString subtitle;
    MediaKind kind = MediaKind::web;
    QDateTime lastOpened;
    int openCount = 1;
    bool isFavorite = false;
    std::optional<double> resumeSeconds;
    std::optional<double> durationSeconds;
    std::optional<QString> thumbnailURLString;

    // How far playback got, 0...1; absent without a usable position and length.
    std::optional<double> progress() const;

    QJsonObject toJson() const;
    // Fails with a short reason naming the first missing or mistyped key.
    static std::expected<HistoryItem, QString> fromJson(const QJsonObject &object);

    bool operator==(const HistoryItem &other) const = default;
};

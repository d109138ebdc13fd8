#include "KiteCore/HistoryItem.h"

#include "KiteCore/StoredJson.h"
#include "KiteCore/TextBounds.h"

#include <QJsonValue>

#include <algorithm>
#include <cmath>

namespace {

QString badKey(const QString &key)
{
    return QStringLiteral("missing or invalid \"%1\"").arg(key);
}

// Absent and null both mean "no value"; any other non-number is an error.
std::expected<std::optional<double>, QString> optionalNumber(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return std::optional<double>();
    if (!value.isDouble())
        return std::unexpected(badKey(key));
    return std::optional<double>(value.toDouble());
}

std::expected<std::optional<QString>, QString> optionalText(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return std::optional<QString>();
    if (!value.isString())
        return std::unexpected(badKey(key));
    return std::optional<QString>(value.toString());
}

std::expected<void, QString> readRequired(const QJsonObject &object, HistoryItem &item)
{
    const std::optional<QUuid> id = StoredJson::uuid(object.value(QStringLiteral("id")));
    if (!id)
        return std::unexpected(badKey(QStringLiteral("id")));
    item.id = *id;

    for (auto [key, field] : {std::pair{QStringLiteral("urlString"), &item.urlString},
                              std::pair{QStringLiteral("title"), &item.title},
                              std::pair{QStringLiteral("subtitle"), &item.subtitle}}) {
        const QJsonValue value = object.value(key);
        if (!value.isString())
            return std::unexpected(badKey(key));
        *field = value.toString();
    }
    // Names written before they were bounded are cut on the way in; an address cannot be.
    if (!TextBounds::fitsURL(item.urlString))
        return std::unexpected(badKey(QStringLiteral("urlString")));
    item.title = TextBounds::title(item.title);
    item.subtitle = TextBounds::title(item.subtitle);

    const QJsonValue kindValue = object.value(QStringLiteral("kind"));
    const std::optional<MediaKind> kind = mediaKindFromRaw(kindValue.toString());
    const std::optional<QDateTime> lastOpened = StoredJson::date(object.value(QStringLiteral("lastOpened")));
    const std::optional<int> openCount = StoredJson::integer(object.value(QStringLiteral("openCount")));
    const QJsonValue isFavorite = object.value(QStringLiteral("isFavorite"));
    if (!kindValue.isString() || !kind)
        return std::unexpected(badKey(QStringLiteral("kind")));
    if (!lastOpened)
        return std::unexpected(badKey(QStringLiteral("lastOpened")));
    if (!openCount)
        return std::unexpected(badKey(QStringLiteral("openCount")));
    if (!isFavorite.isBool())
        return std::unexpected(badKey(QStringLiteral("isFavorite")));
    item.kind = *kind;
    item.lastOpened = *lastOpened;
    item.openCount = *openCount;
    item.isFavorite = isFavorite.toBool();
    return {};
}

std::expected<void, QString> readOptionals(const QJsonObject &object, HistoryItem &item)
{
    const auto resume = optionalNumber(object, QStringLiteral("resumeSeconds"));
    const auto duration = optionalNumber(object, QStringLiteral("durationSeconds"));
    const auto thumbnail = optionalText(object, QStringLiteral("thumbnailURLString"));
    if (!resume)
        return std::unexpected(resume.error());
    if (!duration)
        return std::unexpected(duration.error());
    if (!thumbnail || (*thumbnail && !TextBounds::fitsURL(**thumbnail)))
        return std::unexpected(badKey(QStringLiteral("thumbnailURLString")));
    item.resumeSeconds = *resume;
    item.durationSeconds = *duration;
    item.thumbnailURLString = *thumbnail;
    return {};
}

} // namespace

std::optional<double> HistoryItem::progress() const
{
    if (!resumeSeconds || !std::isfinite(*resumeSeconds) || !durationSeconds || !(*durationSeconds > 0))
        return std::nullopt;
    return std::clamp(*resumeSeconds / *durationSeconds, 0.0, 1.0);
}

QJsonObject HistoryItem::toJson() const
{
    QJsonObject object{
        {QStringLiteral("id"), StoredJson::uuidText(id)},
        {QStringLiteral("urlString"), urlString},
        {QStringLiteral("title"), title},
        {QStringLiteral("subtitle"), subtitle},
        {QStringLiteral("kind"), toRaw(kind)},
        {QStringLiteral("lastOpened"), StoredJson::referenceSeconds(lastOpened)},
        {QStringLiteral("openCount"), openCount},
        {QStringLiteral("isFavorite"), isFavorite},
    };
    if (resumeSeconds)
        object.insert(QStringLiteral("resumeSeconds"), *resumeSeconds);
    if (durationSeconds)
        object.insert(QStringLiteral("durationSeconds"), *durationSeconds);
    if (thumbnailURLString)
        object.insert(QStringLiteral("thumbnailURLString"), *thumbnailURLString);
    return object;
}

std::expected<HistoryItem, QString> HistoryItem::fromJson(const QJsonObject &object)
{
    HistoryItem item;
    if (auto required = readRequired(object, item); !required)
        return std::unexpected(required.error());
    if (auto optionals = readOptionals(object, item); !optionals)
        return std::unexpected(optionals.error());
    return item;
}

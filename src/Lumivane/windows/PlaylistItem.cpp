#include "windows/PlaylistItem.h"

#include "KiteCore/StoredJson.h"
#include "KiteCore/TextBounds.h"

#include <QJsonValue>

PlaylistItem PlaylistItem::fromSource(const MediaSource &source)
{
    return PlaylistItem{QUuid::createUuid(), source.urlString(), source.title(), source.subtitle(),
                        toRaw(source.kind())};
}

QJsonObject PlaylistItem::toJson() const
{
    return QJsonObject{
        {QStringLiteral("id"), StoredJson::uuidText(id)},
        {QStringLiteral("urlString"), urlString},
        {QStringLiteral("title"), title},
        {QStringLiteral("subtitle"), subtitle},
        {QStringLiteral("kind"), kind},
    };
}

std::expected<PlaylistItem, QString> PlaylistItem::fromJson(const QJsonObject &object)
{
    PlaylistItem item;
    const std::optional<QUuid> id = StoredJson::uuid(object.value(QStringLiteral("id")));
    if (!id)
        return std::unexpected(QStringLiteral("missing or invalid \"id\""));
    item.id = *id;
    for (auto [key, field] : {std::pair{QStringLiteral("urlString"), &item.urlString},
                              std::pair{QStringLiteral("title"), &item.title},
                              std::pair{QStringLiteral("subtitle"), &item.subtitle},
                              std::pair{QStringLiteral("kind"), &item.kind}}) {
        const QJsonValue value = object.value(key);
        if (!value.isString())
            return std::unexpected(QStringLiteral("missing or invalid \"%1\"").arg(key));
        *field = value.toString();
    }
    // Names written before they were bounded are cut on the way in; an address cannot be.
    if (!TextBounds::fitsURL(item.urlString))
        return std::unexpected(QStringLiteral("missing or invalid \"urlString\""));
    item.title = TextBounds::title(item.title);
    item.subtitle = TextBounds::title(item.subtitle);
    return item;
}

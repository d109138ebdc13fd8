#include "windows/StoredWindowState.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace {

const QString frameKey = QStringLiteral("frame");
const QString opacityKey = QStringLiteral("opacity");
const QString pinnedKey = QStringLiteral("pinned");
const QString volumeKey = QStringLiteral("volume");
const QString lockAspectKey = QStringLiteral("lockAspect");
const QString tracksKey = QStringLiteral("tracks");

} // namespace

StoredWindowState::StoredWindowState(QString frame, double opacity, bool pinned, double volume,
                                     bool lockAspect, QString tracks)
    : m_frame(std::move(frame))
    , m_opacity(opacity)
    , m_pinned(pinned)
    , m_volume(volume)
    , m_lockAspect(lockAspect)
    , m_tracks(std::move(tracks))
{
}

std::optional<QByteArray> StoredWindowState::toJson() const
{
    if (!std::isfinite(m_opacity) || !std::isfinite(m_volume))
        return std::nullopt;
    QJsonObject object{
        {frameKey, m_frame},
        {opacityKey, m_opacity},
        {pinnedKey, m_pinned},
        {volumeKey, m_volume},
        {lockAspectKey, m_lockAspect},
    };
    if (!m_tracks.isEmpty())
        object.insert(tracksKey, m_tracks);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<StoredWindowState> StoredWindowState::fromJson(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;

    const QJsonObject object = document.object();
    const QJsonValue frame = object.value(frameKey);
    const QJsonValue opacity = object.value(opacityKey);
    const QJsonValue pinned = object.value(pinnedKey);
    const QJsonValue volume = object.value(volumeKey);
    const QJsonValue lockAspect = object.value(lockAspectKey);
    if (!frame.isString() || !opacity.isDouble() || !pinned.isBool() || !volume.isDouble()
        || !lockAspect.isBool())
        return std::nullopt;
    // The parser refuses out-of-range numbers, but a non-finite value must never reach a window.
    if (!std::isfinite(opacity.toDouble()) || !std::isfinite(volume.toDouble()))
        return std::nullopt;
    return StoredWindowState(frame.toString(), opacity.toDouble(), pinned.toBool(),
                             volume.toDouble(), lockAspect.toBool(),
                             object.value(tracksKey).toString());
}

#include "playback/WebMediaState.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace {

// A page can put anything into the record; only a finite, non-negative number is a time or size.
double number(const QJsonObject &record, QLatin1StringView key)
{
    const QJsonValue value = record.value(key);
    if (!value.isDouble())
        return 0;
    const double n = value.toDouble();
    return std::isfinite(n) && n >= 0 ? n : 0.0;
}

bool flag(const QJsonObject &record, QLatin1StringView key, bool fallback)
{
    const QJsonValue value = record.value(key);
    return value.isBool() ? value.toBool() : fallback;
}

} // namespace

std::optional<double> WebMediaState::aspect() const
{
    if (videoWidth <= 0 || videoHeight <= 0)
        return std::nullopt;
    const double ratio = videoWidth / videoHeight;
    if (!std::isfinite(ratio) || ratio <= 0)
        return std::nullopt;
    return ratio;
}

std::optional<WebMediaState> WebMediaState::parse(const QVariant &result)
{
    if (result.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = result.toString();
    if (text.isEmpty())
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject record = document.object();
    WebMediaState state;
    state.time = number(record, QLatin1StringView("t"));
    state.duration = number(record, QLatin1StringView("d"));
    state.paused = flag(record, QLatin1StringView("p"), true);
    state.ended = flag(record, QLatin1StringView("en"), false);
    state.seekable = flag(record, QLatin1StringView("se"), false);
    state.adShowing = flag(record, QLatin1StringView("ad"), false);
    state.videoWidth = number(record, QLatin1StringView("vw"));
    state.videoHeight = number(record, QLatin1StringView("vh"));
    return state;
}

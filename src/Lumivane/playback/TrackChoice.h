#pragma once

#include <QString>

#include <optional>

// The audio and subtitle tracks picked for one source, kept with its window state. A type
// without a pick plays the media's default; subtitle 0 means subtitles off.
struct TrackChoice final
{
    std::optional<int> audio;
    std::optional<int> subtitle;

    // "audio=2 subtitle=0"; empty when nothing was picked.
    QString toText() const;
    // Parts that do not read are left at the default.
    static TrackChoice fromText(const QString &text);

    bool operator==(const TrackChoice &) const = default;
};

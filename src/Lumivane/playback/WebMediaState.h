#pragma once

#include <QVariant>

#include <optional>

// One answer of the media-state script: the page's primary media element as the poll sees
// it. Numbers that are missing, not numbers, not finite or negative read as 0; a missing
// or non-boolean "p" reads as paused, other missing booleans as false.
struct WebMediaState final {
    double time = 0;
    double duration = 0;
    bool paused = true;
    bool ended = false;
    bool seekable = false;
    bool adShowing = false;
    double videoWidth = 0;
    double videoHeight = 0;

    // The picture's width / height when both sides are known and the ratio is a usable number.
    std::optional<double> aspect() const;

    // The record in the script's result: a non-empty string holding a JSON object. None for
    // anything else (no media element, a thrown script, invalid JSON, another JSON type).
    static std::optional<WebMediaState> parse(const QVariant &result);
};

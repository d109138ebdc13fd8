#pragma once

#include "KiteCore/GeoSize.h"

#include <QString>

#include <optional>

// A screen rectangle with the origin at the bottom left and y growing upwards, so the top
// edge is maxY. Qt's rectangles assume y down; the window layer converts at its seam.
struct GeoRect final
{
    // Wider or taller than any screen: a stored frame this size is damaged, not a wish.
    static constexpr double largestExtent = 16384;
    static constexpr double farthestCoordinate = 1e6;

    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double midX() const { return x + width * 0.5; }
    double maxX() const { return x + width; }
    double minY() const { return y; }
    double midY() const { return y + height * 0.5; }
    double maxY() const { return y + height; }
    GeoSize size() const { return {width, height}; }

    // The stored-frame text "{{x, y}, {w, h}}", numbers in the C locale.
    QString toText() const;
    // Accepts any spacing and plain decimal or exponent numbers; refuses anything else,
    // non-finite numbers, negative sizes and sizes or places no screen could hold.
    static std::optional<GeoRect> fromText(const QString &text);

    bool operator==(const GeoRect &other) const = default;
};

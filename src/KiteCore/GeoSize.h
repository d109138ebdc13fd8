#pragma once

// A width and a height in screen points.
struct GeoSize final
{
    double width = 0;
    double height = 0;

    bool operator==(const GeoSize &other) const = default;
};

#include "KiteCore/GeoRect.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

// A stored frame text may be anything. Parsing never crashes, never yields a frame no screen
// could hold, and a parsed frame written back reads as the same frame.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto frame = GeoRect::fromText(text);
    if (!frame)
        return 0;
    if (!(frame->width >= 0 && frame->width <= GeoRect::largestExtent && frame->height >= 0
          && frame->height <= GeoRect::largestExtent && std::abs(frame->x) <= GeoRect::farthestCoordinate
          && std::abs(frame->y) <= GeoRect::farthestCoordinate))
        __builtin_trap();
    if (GeoRect::fromText(frame->toText()) != frame)
        __builtin_trap();
    return 0;
}

#include "windows/StoredWindowState.h"

#include <QByteArray>

#include <cmath>
#include <cstddef>
#include <cstdint>

// A window-state record in the settings file may hold anything. Decoding never crashes and
// never yields a number a window cannot take; a decoded record always encodes, and reads back
// the same after one save.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto decoded = StoredWindowState::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!decoded)
        return 0;
    if (!std::isfinite(decoded->opacity()) || !std::isfinite(decoded->volume()))
        __builtin_trap();
    const auto encoded = decoded->toJson();
    if (!encoded)
        __builtin_trap();
    const auto once = StoredWindowState::fromJson(*encoded);
    if (!once)
        __builtin_trap();
    const auto twice = StoredWindowState::fromJson(once->toJson().value_or(QByteArray()));
    if (!twice || *twice != *once)
        __builtin_trap();
    return 0;
}

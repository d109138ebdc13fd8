#include "KiteCore/ShortcutBindings.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// A stored bindings string may be anything; decoding it must never crash, and whatever it
// yields must survive an encode/decode round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto decoded = ShortcutBindings::decode(text);
    if (!decoded)
        return 0;
    const auto again = ShortcutBindings::decode(ShortcutBindings::encode(*decoded));
    if (!again || *again != *decoded)
        __builtin_trap();
    return 0;
}

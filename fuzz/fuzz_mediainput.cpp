#include "KiteCore/MediaInput.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// Any text a user can paste must end in a source or in one of the four input errors.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = MediaInput::parse(text);
    if (result) {
        if (!result->url().isValid())
            __builtin_trap();
    } else {
        switch (result.error().kind()) {
        case MediaInputError::Case::unreadableFile:
        case MediaInputError::Case::unsupportedScheme:
        case MediaInputError::Case::empty:
        case MediaInputError::Case::malformed: break;
        default: __builtin_trap();
        }
    }
    MediaInput::normalize(text);
    return 0;
}

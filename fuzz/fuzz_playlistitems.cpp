#include "KiteCore/StoredJson.h"
#include "KiteCore/TextBounds.h"
#include "windows/PlaylistItem.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// A playlist file may hold anything. Decoding never crashes, what it yields is bounded, and
// what is saved reads back: one save and load reaches a form that every later one keeps.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto decoded = StoredJson::decodeList<PlaylistItem>(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!decoded)
        return 0;
    for (const PlaylistItem &item : *decoded) {
        if (item.title.size() > TextBounds::maxTitleLength || !TextBounds::fitsURL(item.urlString))
            __builtin_trap();
    }
    const auto saved = [](const QList<PlaylistItem> &items) {
        QJsonArray array;
        for (const PlaylistItem &item : items)
            array.append(item.toJson());
        return StoredJson::decodeList<PlaylistItem>(StoredJson::compact(array));
    };
    const auto once = saved(*decoded);
    if (!once || once->size() != decoded->size())
        __builtin_trap();
    const auto twice = saved(*once);
    if (!twice || *twice != *once)
        __builtin_trap();
    return 0;
}

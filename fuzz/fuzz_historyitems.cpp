#include "KiteCore/HistoryItem.h"
#include "KiteCore/StoredJson.h"
#include "KiteCore/TextBounds.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// A history file may hold anything. Decoding never crashes, what it yields is bounded, and
// what is saved reads back: one save and load reaches a form that every later one keeps.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto decoded = StoredJson::decodeList<HistoryItem>(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!decoded)
        return 0;
    for (const HistoryItem &item : *decoded) {
        if (item.title.size() > TextBounds::maxTitleLength || !TextBounds::fitsURL(item.urlString))
            __builtin_trap();
    }
    const auto saved = [](const QList<HistoryItem> &items) {
        QJsonArray array;
        for (const HistoryItem &item : items)
            array.append(item.toJson());
        return StoredJson::decodeList<HistoryItem>(StoredJson::compact(array));
    };
    const auto once = saved(*decoded);
    if (!once || once->size() != decoded->size())
        __builtin_trap();
    const auto twice = saved(*once);
    if (!twice || *twice != *once)
        __builtin_trap();
    return 0;
}

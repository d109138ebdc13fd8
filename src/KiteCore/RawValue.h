#pragma once

#include <QString>

#include <optional>
#include <ranges>

// The reverse of an enumeration's toRaw(): the case among `cases` whose raw value is exactly
// `raw`, or nothing for any other text.
template <std::ranges::input_range Cases>
std::optional<std::ranges::range_value_t<Cases>> caseFromRaw(const Cases &cases, const QString &raw)
{
    for (const auto value : cases) {
        if (toRaw(value) == raw)
            return value;
    }
    return std::nullopt;
}

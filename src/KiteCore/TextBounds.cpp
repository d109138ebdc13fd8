#include "KiteCore/TextBounds.h"

namespace TextBounds {

QString title(const QString &text)
{
    if (text.size() <= maxTitleLength)
        return text;
    qsizetype kept = maxTitleLength - 1;
    if (text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept) + QChar(0x2026);
}

bool fitsURL(const QString &text)
{
    return text.size() <= maxURLLength;
}

} // namespace TextBounds

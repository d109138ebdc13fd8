#include "KiteCore/WindowPosition.h"

#include "KiteCore/RawValue.h"

QString toRaw(WindowPosition position)
{
    switch (position) {
    case WindowPosition::topLeft: return QStringLiteral("topLeft");
    case WindowPosition::topRight: return QStringLiteral("topRight");
    case WindowPosition::bottomLeft: return QStringLiteral("bottomLeft");
    case WindowPosition::bottomRight: return QStringLiteral("bottomRight");
    case WindowPosition::center: return QStringLiteral("center");
    }
    return QStringLiteral("center");
}

std::optional<WindowPosition> windowPositionFromRaw(const QString &raw)
{
    return caseFromRaw(WindowPositions::allCases, raw);
}

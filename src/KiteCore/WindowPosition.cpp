#include "KiteCore/WindowPosition.h"

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
    for (WindowPosition position : WindowPositions::allCases) {
        if (toRaw(position) == raw)
            return position;
    }
    return std::nullopt;
}

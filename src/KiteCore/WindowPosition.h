#pragma once

#include <QString>

#include <array>
#include <optional>

// The five places a window can be sent to on its screen.
enum class WindowPosition { topLeft, topRight, bottomLeft, bottomRight, center };

namespace WindowPositions {
inline constexpr std::array<WindowPosition, 5> allCases{
    WindowPosition::topLeft, WindowPosition::topRight, WindowPosition::bottomLeft,
    WindowPosition::bottomRight, WindowPosition::center};
}

QString toRaw(WindowPosition position);
std::optional<WindowPosition> windowPositionFromRaw(const QString &raw);

#pragma once

#include <QToolButton>

#include <algorithm>

namespace ToolButtons {
// The first tool button under root with this tool tip, or null.
inline QToolButton *withToolTip(const QWidget &root, const QString &toolTip)
{
    const QList<QToolButton *> buttons = root.findChildren<QToolButton *>();
    const auto found = std::ranges::find(buttons, toolTip, &QToolButton::toolTip);
    return found == buttons.end() ? nullptr : *found;
}
} // namespace ToolButtons

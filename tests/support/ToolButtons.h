#pragma once

#include <QString>

class QToolButton;
class QWidget;

namespace ToolButtons {
// The first tool button under root with this tool tip, or null.
QToolButton *withToolTip(const QWidget &root, const QString &toolTip);
} // namespace ToolButtons

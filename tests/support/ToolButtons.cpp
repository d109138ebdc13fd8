#include "ToolButtons.h"

#include <QToolButton>

namespace ToolButtons {

QToolButton *withToolTip(const QWidget &root, const QString &toolTip)
{
    for (QToolButton *candidate : root.findChildren<QToolButton *>()) {
        if (candidate->toolTip() == toolTip)
            return candidate;
    }
    return nullptr;
}

} // namespace ToolButtons

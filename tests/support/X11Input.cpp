#include "X11Input.h"

#include <QProcess>

namespace X11Input {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool pointerTo(const QPoint &point)
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                    QString::number(point.x()), QString::number(point.y())});
}

bool button(const QString &action)
{
    return xdotool({action, QStringLiteral("1")});
}

bool key(const QString &combination)
{
    return xdotool({QStringLiteral("key"), combination});
}

} // namespace X11Input

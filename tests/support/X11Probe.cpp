#include "X11Probe.h"

#include <QProcess>

namespace {
QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}
} // namespace

namespace X11Probe {

QList<WId> clientStacking()
{
    // "_NET_CLIENT_LIST_STACKING(WINDOW): window id # 0x400007, 0x600003"
    const QString list = output(QStringLiteral("xprop"), {"-root", "_NET_CLIENT_LIST_STACKING"}).section(u'#', 1);
    QList<WId> windows;
    for (const QString &id : list.split(u',', Qt::SkipEmptyParts))
        windows.append(id.trimmed().toULongLong(nullptr, 16));
    return windows;
}

bool isViewable(WId window)
{
    return output(QStringLiteral("xwininfo"), {"-id", QString::number(window)}).contains(u"Map State: IsViewable");
}

} // namespace X11Probe

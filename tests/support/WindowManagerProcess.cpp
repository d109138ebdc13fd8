#include "WindowManagerProcess.h"

#include "X11Probe.h"

#include <QProcessEnvironment>
#include <QTest>
#include <QWindow>

namespace {
constexpr int timeoutMs = 10000;
constexpr int probeWaitMs = 500;
} // namespace

bool WindowManagerProcess::start()
{
    if (isRunning())
        return true;
    // Without XDG_* the manager's folders all lie below its own home.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("HOME"), m_home.path());
    m_process.setProcessEnvironment(environment);
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    return m_process.waitForStarted(timeoutMs) && managesNewWindows();
}

bool WindowManagerProcess::managesNewWindows()
{
    // openbox announces itself before it is ready, and a window mapped in between is never
    // managed: map a probe until one is.
    for (int waited = 0; waited < timeoutMs && isRunning(); waited += probeWaitMs) {
        QWindow probe;
        probe.setFlag(Qt::FramelessWindowHint);
        probe.setGeometry(0, 0, 1, 1);
        probe.show();
        if (QTest::qWaitFor([&probe] { return X11Probe::clientStacking().contains(probe.winId()); }, probeWaitMs))
            return true;
    }
    return false;
}

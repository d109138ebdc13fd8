#include "WindowManagerProcess.h"

#include "X11Probe.h"

#include <QProcessEnvironment>
#include <QTest>
#include <QWindow>

namespace {
constexpr int startTimeoutMs = 10000;
constexpr int stopTimeoutMs = 3000;
constexpr int probeAttempts = 20;
constexpr int probeWaitMs = 500;
} // namespace

WindowManagerProcess::WindowManagerProcess() = default;

WindowManagerProcess::~WindowManagerProcess()
{
    stop();
}

bool WindowManagerProcess::start()
{
    if (isRunning())
        return true;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    m_process.setProcessEnvironment(environment);
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_process.waitForStarted(startTimeoutMs))
        return false;
    if (!QTest::qWaitFor([this] { return !isRunning() || X11Probe::windowManagerActive(); },
                         startTimeoutMs))
        return false;
    return isRunning() && managesNewWindows();
}

bool WindowManagerProcess::managesNewWindows()
{
    // openbox announces itself before it is ready, and a window mapped in between is never
    // managed: map a probe until one is.
    for (int attempt = 0; attempt < probeAttempts && isRunning(); ++attempt) {
        QWindow probe;
        probe.setFlag(Qt::FramelessWindowHint);
        probe.setGeometry(0, 0, 1, 1);
        probe.show();
        if (QTest::qWaitFor([&probe] { return X11Probe::isViewable(probe.winId()); }, probeWaitMs))
            return true;
    }
    return false;
}

void WindowManagerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(stopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(stopTimeoutMs);
    }
}

bool WindowManagerProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

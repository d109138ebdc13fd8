#include "TrayProcess.h"

#include "X11Input.h"

#include "platform/TrayServiceWait.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace {
constexpr int slot = 32;
constexpr int timeoutMs = 10000;
} // namespace

TrayProcess::~TrayProcess()
{
    stop();
}

bool TrayProcess::start()
{
    const QString size = QString::number(slot);
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(QStringLiteral("trayer"),
                    {u"--edge"_qs, u"bottom"_qs, u"--align"_qs, u"right"_qs, u"--widthtype"_qs,
                     u"pixel"_qs, u"--width"_qs, size, u"--heighttype"_qs, u"pixel"_qs,
                     u"--height"_qs, size});
    return m_process.waitForStarted(timeoutMs)
           && QTest::qWaitFor([] { return TrayServiceWait::xembedTrayPresent(); }, timeoutMs);
}

void TrayProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(timeoutMs);
    }
}

bool TrayProcess::clickIcon(int button)
{
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().bottomRight()
                          - QPoint(slot / 2, slot / 2);
    // Not pointerTo(): its --sync waits in vain when the pointer is already there.
    return X11Input::xdotool({u"mousemove"_qs, QString::number(centre.x()),
                              QString::number(centre.y()), u"click"_qs, QString::number(button)});
}

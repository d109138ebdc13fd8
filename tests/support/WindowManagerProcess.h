#pragma once

#include <QProcess>
#include <QTemporaryDir>

// An openbox window manager for tests that check stacking, desktops or full-screen
// placement. Runs on the test's display with its own home folder, so it reads the stock
// configuration and writes nothing of the user's; stopped by its process id.
class WindowManagerProcess final
{
public:
    WindowManagerProcess() = default;
    ~WindowManagerProcess() { stop(); }
    WindowManagerProcess(const WindowManagerProcess &) = delete;
    WindowManagerProcess &operator=(const WindowManagerProcess &) = delete;

    // Starts openbox and waits (bounded) until it manages new windows.
    bool start();
    void stop()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    bool isRunning() const { return m_process.state() == QProcess::Running; }

private:
    bool managesNewWindows();

    QTemporaryDir m_home;
    QProcess m_process;
};

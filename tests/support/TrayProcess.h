#pragma once

#include <QPoint>
#include <QProcess>

// An XEmbed tray (trayer) of one 32 × 32 slot in the bottom right corner of the test's
// display, where no window of the tests goes, for tests of the tray icon. Stopped by its
// process id.
class TrayProcess final
{
public:
    TrayProcess() = default;
    ~TrayProcess();
    TrayProcess(const TrayProcess &) = delete;
    TrayProcess &operator=(const TrayProcess &) = delete;

    // Starts trayer and waits (bounded) until it owns the tray selection.
    bool start();
    void stop();

    // A real click of the X server on the one icon in the tray (1 left, 3 right).
    static bool clickIcon(int button);

private:
    QProcess m_process;
};

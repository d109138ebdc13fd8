#include "platform/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler may only write to a descriptor; the event loop reads the other end.
int g_pipe[2] = {-1, -1};
// Whether the event loop has started, and whether it still owes an answer to a signal.
volatile sig_atomic_t g_loopRunning = 0;
volatile sig_atomic_t g_unanswered = 0;

void onSignal(int signal)
{
    // Before the event loop runs (a slow start, a file that blocks) or while it is stuck on
    // an earlier signal, nobody would read the byte: the signal ends the process as usual.
    if (!g_loopRunning || g_unanswered) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    g_unanswered = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}
} // namespace

namespace QuitOnSignal {
bool install()
{
    if (g_pipe[0] >= 0)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_pipe[1], &byte, 1);
        g_unanswered = 0;
        QCoreApplication::quit();
    });
    QTimer::singleShot(0, notifier, [] { g_loopRunning = 1; });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    bool ok = true;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ok = ::sigaction(signal, &action, nullptr) == 0 && ok;
    return ok;
}
} // namespace QuitOnSignal

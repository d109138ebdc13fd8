#include "platform/QuitOnSignal.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

class TestQuitOnSignal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // In the event loop a signal quits in order; before the loop runs, or while it owes an
    // answer to the last one, a signal ends the process at once. Each row runs in a child.
    void endings()
    {
        struct Row { const char *name; std::function<void()> steps; bool inLoop, killed; };
        const Row rows[] = {{"before the loop", [] { ::raise(SIGTERM); }, false, true}, {"in the loop", [] { ::raise(SIGINT); }, true, false},
                            {"the loop stuck on the first", [] { ::raise(SIGTERM); ::raise(SIGTERM); }, true, true}};
        for (const Row &row : rows) {
            if (const pid_t child = ::fork(); child == 0) {
                QuitOnSignal::install();
                row.inLoop ? QTimer::singleShot(0, row.steps) : row.steps();
                ::_exit(row.inLoop ? QCoreApplication::exec() : 3);
            } else {
                int status = 0;
                QVERIFY(::waitpid(child, &status, 0) == child);
                QVERIFY2(row.killed ? WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM : WIFEXITED(status) && WEXITSTATUS(status) == 0, row.name);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestQuitOnSignal)
#include "tst_quitonsignal.moc"

#include "platform/RuntimeFolder.h"
#include "platform/SingleInstance.h"

#include <QLocalSocket>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

using Outcome = SingleInstance::Outcome;
using namespace std::chrono_literals;

namespace {
// The helper processes' exit codes (see main).
constexpr int forwardedCode = 0;
constexpr int unansweredCode = 3;
}

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Bad messages are dropped at once, not after the stalled-connection time-out; what
    // later launches hand over is taken as it was sent.
    void handsOverToTheRunningInstance()
    {
        auto primary = startPrimary();
        for (const QByteArray &bytes : {QByteArray("\0\x20\0\0[]", 6), QByteArray("\0\0\0\x08--open x", 12),
                                        QByteArray("\0\0\0\x09{\"a\":\"b\"}", 13), QByteArray("\0\0\0\x07[\"a\",1]", 11)}) {
            QLocalSocket client;
            client.connectToServer(m_folder.filePath("lumivane.socket"));
            QVERIFY(client.waitForConnected(1000) && client.write(bytes) == bytes.size());
            QTRY_COMPARE_WITH_TIMEOUT(client.state(), QLocalSocket::UnconnectedState, 3000);
            QVERIFY(client.readAll().isEmpty());
        }
        for (const QStringList &arguments : {QStringList{"--open", "/tmp/a b; c.mp4", "中文", "a\nb \"q\" ;$(x)", "", QString(100000, u'x')},
                                             QStringList{}}) {
            QCOMPARE(SingleInstance(m_folder.path()).start(arguments), Outcome::forwarded);
            QCOMPARE(received(*primary), arguments);
        }
    }

    // A killed primary leaves its lock and socket behind; the next launch takes over.
    void killedPrimaryIsReplaced()
    {
        auto primary = startPrimary();
        primary->kill();
        QVERIFY(primary->waitForFinished(5000));
        SingleInstance next(m_folder.path());
        QCOMPARE(next.start({}, 2s), Outcome::primary);
        QVERIFY(next.problem().isEmpty());
    }

    // A stopped primary holds the lock: a launch waits for its answer, hands over once it
    // wakes, and otherwise gives up without ever running as a second instance (what it sent
    // is still carried out once the primary wakes).
    void stoppedPrimaryNeverYieldsTwo()
    {
        auto primary = startPrimary();
        ::kill(pid_t(primary->processId()), SIGSTOP);
        QCOMPARE(launch({"given up"}, 300ms), unansweredCode);
        QTimer::singleShot(1000ms, this, [&primary] { ::kill(pid_t(primary->processId()), SIGCONT); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(launch({"handed over"}, 10s), forwardedCode);
        qInfo("hand-over to a primary stopped for 1 s took %lld ms", clock.elapsed());
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(received(*primary), QStringList{"given up"});
        QCOMPARE(received(*primary), QStringList{"handed over"});
    }

    // Each end accepts only a peer of the expected user.
    void peerOfAnotherUserIsRefused()
    {
        auto primary = startPrimary(::getuid() + 1);
        SingleInstance launch(m_folder.path());
        QCOMPARE(launch.start({"x"}, 300ms), Outcome::unanswered);
        SingleInstance suspicious(m_folder.path(), ::getuid() + 1);
        QCOMPARE(suspicious.start({"x"}, 5s), Outcome::unanswered);
        QVERIFY(suspicious.problem().contains("another user"));
        QVERIFY(!primary->waitForReadyRead(200));
    }

    // Another user may have made the folder first, or a link to theirs.
    void runtimeFolderIsPrivate()
    {
        struct Row { const char *name; std::function<void(const QString &)> prepare; const char *refusal; };
        const QList<Row> rows{
            {"made here", [](const QString &) {}, nullptr},
            {"open to others", [](const QString &path) { ::mkdir(QFile::encodeName(path), 0755); }, "mode 755"},
            {"a link", [this](const QString &path) { QFile::link(m_folder.path(), path); }, "not a folder"},
            {"another user's", [](const QString &path) { ::mkdir(QFile::encodeName(path), 0700); (void)::chown(QFile::encodeName(path), 65534, 65534); },
             "belongs to user"},
        };
        // Only root can give a folder away.
        for (const Row &row : rows.first(::getuid() == 0 ? 4 : 3)) {
            const QString path = m_folder.filePath(row.name);
            row.prepare(path);
            const std::expected<QString, QString> folder = RuntimeFolder::claim(path);
            QVERIFY2(row.refusal ? !folder && folder.error().contains(row.refusal) : folder == path, row.name);
        }
        QCOMPARE(RuntimeFolder::first({m_folder.filePath("a link"), m_folder.filePath("next")}), m_folder.filePath("next"));
    }

private:
    // A primary in another process; it prints "ready", then each message it takes as JSON.
    std::unique_ptr<QProcess> startPrimary(uid_t peerUser = ::getuid())
    {
        auto process = std::make_unique<QProcess>();
        process->start(QCoreApplication::applicationFilePath(), {"primary", m_folder.path(), QString::number(peerUser)});
        if (!process->waitForReadyRead(10000) || process->readLine() != "ready\n")
            qFatal("the primary did not start");
        return process;
    }

    static QStringList received(QProcess &primary)
    {
        if (!QTest::qWaitFor([&primary] { return primary.canReadLine(); }, 5000))
            return {"nothing"};
        return QJsonDocument::fromJson(primary.readLine()).toVariant().toStringList();
    }

    // Another launch in its own process; its exit code.
    int launch(const QStringList &arguments, std::chrono::milliseconds patience) const
    {
        QProcess second;
        second.start(QCoreApplication::applicationFilePath(),
                     QStringList{"launch", m_folder.path(), QString::number(patience.count())} + arguments);
        const bool ended = QTest::qWaitFor([&second] { return second.state() == QProcess::NotRunning; }, 20000);
        return ended && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

    QTemporaryDir m_folder;
};

// Also the helper processes: "primary <folder> <peer uid>", "launch <folder> <patience ms> <arguments…>".
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == u"primary") {
        SingleInstance instance(arguments.at(2), uid_t(arguments.at(3).toUInt()));
        if (instance.start({}) != Outcome::primary)
            return 2;
        QObject::connect(&instance, &SingleInstance::argumentsReceived, [](const QStringList &received) {
            std::printf("%s\n", QJsonDocument(QJsonArray::fromStringList(received)).toJson(QJsonDocument::Compact).constData());
            std::fflush(stdout);
        });
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (arguments.value(1) == u"launch") {
        const Outcome outcome = SingleInstance(arguments.at(2)).start(arguments.mid(4), std::chrono::milliseconds(arguments.at(3).toInt()));
        return outcome == Outcome::forwarded ? forwardedCode : outcome == Outcome::unanswered ? unansweredCode : 1;
    }
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "itst_singleinstance.moc"

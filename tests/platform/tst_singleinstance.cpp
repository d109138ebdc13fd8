#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QtTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A killed instance leaves its socket file behind; the next one takes the name over and
    // keeps it from later ones. Bad messages are dropped at once, not after the stalled-
    // connection time-out; what second processes hand over is taken. Nobody, or a holder
    // of the socket that never answers, keeps no launch waiting.
    void secondProcessHandsOver()
    {
        QProcess crashed;
        crashed.start(QCoreApplication::applicationFilePath(), {"listen", m_name});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(m_name), 10000);
        crashed.kill();
        QVERIFY(crashed.waitForFinished(5000) && QFileInfo::exists(m_name));
        auto running = std::make_unique<SingleInstance>(m_name);
        QVERIFY(running->listen() && !SingleInstance(m_name).listen());
        QSignalSpy received(running.get(), &SingleInstance::argumentsReceived);
        // A 32-bit big-endian size, then the payload: 2 MiB said, not JSON, no array, not only strings.
        for (const QByteArray &bytes : {QByteArray("\0\x20\0\0[]", 6), QByteArray("\0\0\0\x08--open x", 12),
                                        QByteArray("\0\0\0\x09{\"a\":\"b\"}", 13), QByteArray("\0\0\0\x07[\"a\",1]", 11)}) {
            QLocalSocket client;
            client.connectToServer(m_name);
            QVERIFY(client.waitForConnected(1000) && client.write(bytes) == bytes.size());
            QTRY_COMPARE_WITH_TIMEOUT(client.state(), QLocalSocket::UnconnectedState, 3000);
            QVERIFY(client.readAll().isEmpty() && received.isEmpty());
        }
        for (const QStringList &arguments : {QStringList{"--open", "/tmp/a b; c.mp4", "中文", "a\nb \"q\" ;$(x)", "", QString(100000, u'x')},
                                             QStringList{}}) {
            QCOMPARE(forward(arguments), 0);
            QCOMPARE(received.size(), 1);
            QCOMPARE(received.takeFirst().at(0).toStringList(), arguments);
        }
        running.reset();
        QVERIFY(!SingleInstance(m_name).forwardToRunning({"x"}));
        QLocalServer silent;
        QVERIFY(silent.listen(m_name));
        QDeadlineTimer deadline(1500);
        QVERIFY(!SingleInstance(m_name).forwardToRunning({"x"}, std::chrono::milliseconds(300)) && !deadline.hasExpired());
    }

private:
    // A second process hands the arguments over; its exit code, 0 when they were taken.
    int forward(const QStringList &arguments) const
    {
        QProcess second;
        second.start(QCoreApplication::applicationFilePath(), QStringList{"forward", m_name} + arguments);
        const bool ended = QTest::qWaitFor([&second] { return second.state() == QProcess::NotRunning; }, 10000);
        return ended && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

    QTemporaryDir m_folder;
    const QString m_name = m_folder.filePath("lumivane-test");
};

// Also the second process of the tests: "forward <name> <arguments…>" or "listen <name>".
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == u"forward")
        return SingleInstance(arguments.at(2)).forwardToRunning(arguments.mid(3)) ? 0 : 1;
    if (arguments.value(1) == u"listen") {
        SingleInstance instance(arguments.at(2));
        return instance.listen() ? app.exec() : 2;
    }
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"

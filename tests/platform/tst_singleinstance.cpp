#include "platform/SingleInstance.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <future>
#include <memory>

#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QByteArray frame(const QByteArray &payload)
{
    QByteArray header(4, '\0');
    qToBigEndian(quint32(payload.size()), header.data());
    return header + payload;
}

QByteArray frameClaiming(const QByteArray &payload, quint32 declaredSize)
{
    QByteArray header(4, '\0');
    qToBigEndian(declaredSize, header.data());
    return header + payload;
}

bool isReady(const std::future<bool> &result)
{
    return result.wait_for(0s) == std::future_status::ready;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_name = m_folder->filePath(u"lumivane-test"_qs);
    }

    void defaultName_data()
    {
        QTest::addColumn<QByteArray>("runtimeFolder");
        QTest::addColumn<QString>("expected");
        const QString own = u"lumivane-%1"_qs.arg(::getuid());
        QTest::newRow("runtime folder") << QByteArray("/run/user/4242") << u"/run/user/4242/"_qs + own;
        QTest::newRow("no runtime folder") << QByteArray() << own;
    }

    void defaultName()
    {
        QFETCH(QByteArray, runtimeFolder);
        QFETCH(QString, expected);
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtimeFolder);
        const QString name = SingleInstance::defaultServerName();
        qputenv("XDG_RUNTIME_DIR", saved);
        QCOMPARE(name, expected);
        QCOMPARE(SingleInstance().serverName(), SingleInstance::defaultServerName());
    }

    void forwardsArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("open request") << QStringList{u"/usr/bin/lumivane"_qs, u"--open"_qs, u"https://x.org/a.mp4"_qs};
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("awkward text") << QStringList{u"中文 ñ"_qs, u"line\nbreak \"quoted\" ;$(x)"_qs, QString()};
        QTest::newRow("long") << QStringList{QString(200000, u'x'), u"end"_qs};
    }

    void forwardsArguments()
    {
        QFETCH(QStringList, arguments);
        SingleInstance first(m_name);
        QVERIFY(first.listen());
        QVERIFY(first.isListening());
        QSignalSpy received(&first, &SingleInstance::argumentsReceived);

        const SingleInstance second(m_name);
        std::future<bool> forwarded
            = std::async(std::launch::async, [&second, arguments] { return second.forwardToRunning(arguments); });
        QTRY_VERIFY_WITH_TIMEOUT(isReady(forwarded), 5000);
        QVERIFY(forwarded.get());
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toStringList(), arguments);
    }

    void nobodyListening()
    {
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!SingleInstance(m_name).forwardToRunning({u"x"_qs}));
        QVERIFY2(timer.elapsed() < 500, qPrintable(u"%1 ms"_qs.arg(timer.elapsed())));
    }

    void liveInstanceKeepsItsName()
    {
        SingleInstance first(m_name);
        QVERIFY(first.listen());
        SingleInstance second(m_name);
        QVERIFY(!second.listen());
        QVERIFY(!second.isListening());
        QVERIFY(first.isListening());

        QSignalSpy received(&first, &SingleInstance::argumentsReceived);
        std::future<bool> forwarded
            = std::async(std::launch::async, [&second] { return second.forwardToRunning({u"still here"_qs}); });
        QTRY_VERIFY_WITH_TIMEOUT(isReady(forwarded), 5000);
        QVERIFY(forwarded.get());
        QCOMPARE(received.size(), 1);
    }

    void crashedInstanceLeavesNoObstacle()
    {
        QProcess crashed;
        crashed.start(QStringLiteral(SINGLEINSTANCE_HELPER), {u"listen"_qs, m_name});
        QVERIFY(crashed.waitForReadyRead(10000));
        QCOMPARE(crashed.readLine().trimmed(), QByteArray("listening"));
        crashed.kill();
        QVERIFY(crashed.waitForFinished(5000));
        QVERIFY2(QFileInfo::exists(m_name), "the killed process should leave its socket file behind");

        SingleInstance next(m_name);
        QVERIFY(!next.forwardToRunning({u"x"_qs}));
        QVERIFY(next.listen());
        QSignalSpy received(&next, &SingleInstance::argumentsReceived);
        const SingleInstance later(m_name);
        std::future<bool> forwarded
            = std::async(std::launch::async, [&later] { return later.forwardToRunning({u"after crash"_qs}); });
        QTRY_VERIFY_WITH_TIMEOUT(isReady(forwarded), 5000);
        QVERIFY(forwarded.get());
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toStringList(), QStringList{u"after crash"_qs});
    }

    void secondProcessHandsOverAndExits()
    {
        SingleInstance first(m_name);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::argumentsReceived);

        QProcess second;
        QElapsedTimer timer;
        timer.start();
        second.start(QStringLiteral(SINGLEINSTANCE_HELPER),
                     {u"forward"_qs, m_name, u"--open"_qs, u"/tmp/a b; c.mp4"_qs});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        qInfo("second process handed over and exited after %lld ms", timer.elapsed());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).toStringList(), (QStringList{u"--open"_qs, u"/tmp/a b; c.mp4"_qs}));
    }

    void secondProcessAloneSaysSo()
    {
        QProcess second;
        second.start(QStringLiteral(SINGLEINSTANCE_HELPER), {u"forward"_qs, m_name, u"--settings"_qs});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1);
    }

    // A process that holds the socket but never answers must not keep a launch waiting.
    void silentInstanceBoundsTheWait()
    {
        QLocalServer silent;
        QVERIFY(silent.listen(m_name));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!SingleInstance(m_name).forwardToRunning({u"x"_qs}, 300ms));
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed >= 250 && elapsed < 1500, qPrintable(u"%1 ms"_qs.arg(elapsed)));
    }

    void badMessagesAreDropped_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("oversized") << frameClaiming("[]", 2u * 1024 * 1024);
        QTest::newRow("not JSON") << frame("--open x");
        QTest::newRow("object") << frame(R"({"a":"b"})");
        QTest::newRow("number in array") << frame(R"(["a",1])");
    }

    void badMessagesAreDropped()
    {
        QFETCH(QByteArray, bytes);
        SingleInstance first(m_name);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::argumentsReceived);

        QLocalSocket client;
        client.connectToServer(m_name);
        QVERIFY(client.waitForConnected(1000));
        client.write(bytes);
        client.flush();
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QLocalSocket::UnconnectedState, 3000);
        QCOMPARE(received.size(), 0);
        QCOMPARE(client.readAll(), QByteArray());

        const SingleInstance second(m_name);
        std::future<bool> forwarded
            = std::async(std::launch::async, [&second] { return second.forwardToRunning({u"good"_qs}); });
        QTRY_VERIFY_WITH_TIMEOUT(isReady(forwarded), 5000);
        QVERIFY(forwarded.get());
        QCOMPARE(received.size(), 1);
    }

    void messageInPieces()
    {
        SingleInstance first(m_name);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::argumentsReceived);

        const QByteArray message = frame(R"(["--settings","x"])");
        QLocalSocket client;
        client.connectToServer(m_name);
        QVERIFY(client.waitForConnected(1000));
        // Header split, then payload split: the server must wait for the whole message.
        for (const QByteArray &piece : {message.left(2), message.mid(2, 6)}) {
            client.write(piece);
            QVERIFY(client.waitForBytesWritten(1000));
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            QCOMPARE(client.state(), QLocalSocket::ConnectedState);
            QCOMPARE(received.size(), 0);
        }
        client.write(message.mid(8));
        client.flush();
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 3000);
        QCOMPARE(received.at(0).at(0).toStringList(), (QStringList{u"--settings"_qs, u"x"_qs}));
        QTRY_COMPARE_WITH_TIMEOUT(client.bytesAvailable(), qint64(2), 3000);
        QCOMPARE(client.readAll(), QByteArray("ok"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_name;
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"

#include "platform/DebugLog.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>
#include <vector>

namespace {

double secondsNow()
{
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Line
{
    double seconds = 0;
    QByteArray message;
};

// Splits the file into lines and each line at its first space; the time must parse
// in the C locale whatever locale the test runs under.
QList<Line> parse(const QByteArray &content, bool *ok)
{
    QList<Line> lines;
    *ok = content.endsWith('\n');
    for (const QByteArray &raw : content.split('\n')) {
        if (raw.isEmpty())
            continue;
        const qsizetype space = raw.indexOf(' ');
        bool numberOk = false;
        const double seconds = raw.left(space).toDouble(&numberOk);
        *ok = *ok && space > 0 && numberOk;
        lines.append({seconds, raw.mid(space + 1)});
    }
    return lines;
}

} // namespace

class TestDebugLog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_file;

private Q_SLOTS:
    void init()
    {
        m_file = m_folder.filePath(QStringLiteral("grab.log"));
        QFile::remove(m_file);
        DebugLog::setFileForTesting(m_file);
        qputenv("LUMIVANE_DEBUG", "1");
    }

    void cleanup()
    {
        qunsetenv("LUMIVANE_DEBUG");
        DebugLog::setFileForTesting(QString());
    }

    void onlyExactlyOneSwitchesItOn_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("unset");
        QTest::addColumn<bool>("written");
        QTest::newRow("1") << QByteArray("1") << false << true;
        QTest::newRow("unset") << QByteArray() << true << false;
        QTest::newRow("empty") << QByteArray() << false << false;
        QTest::newRow("true") << QByteArray("true") << false << false;
        QTest::newRow("01") << QByteArray("01") << false << false;
        QTest::newRow("1 with space") << QByteArray("1 ") << false << false;
        QTest::newRow("yes") << QByteArray("yes") << false << false;
    }

    void onlyExactlyOneSwitchesItOn()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, unset);
        QFETCH(bool, written);
        if (unset)
            qunsetenv("LUMIVANE_DEBUG");
        else
            qputenv("LUMIVANE_DEBUG", value);
        DebugLog::grab(QStringLiteral("handButton -> grabMode=true"));
        QCOMPARE(QFileInfo::exists(m_file), written);
    }

    // The variable is read on every call, not once.
    void switchIsReadOnEveryCall()
    {
        DebugLog::grab(QStringLiteral("one"));
        qputenv("LUMIVANE_DEBUG", "0");
        DebugLog::grab(QStringLiteral("two"));
        qputenv("LUMIVANE_DEBUG", "1");
        DebugLog::grab(QStringLiteral("three"));
        bool ok = false;
        const QList<Line> lines = parse(readFile(m_file), &ok);
        QVERIFY(ok);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).message, QByteArray("one"));
        QCOMPARE(lines.at(1).message, QByteArray("three"));
    }

    void firstLineCreatesFileLaterLinesAppend()
    {
        const double before = secondsNow();
        DebugLog::grab(QStringLiteral("window init version=1.0 build=7"));
        QCOMPARE(QFile::permissions(m_file) & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        DebugLog::grab(QStringLiteral("startup grab=on"));
        DebugLog::grab(QStringLiteral("windowDidMove -> {{10, 20}, {640, 360}}"));
        const double after = secondsNow();

        bool ok = false;
        const QList<Line> lines = parse(readFile(m_file), &ok);
        QVERIFY(ok);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0).message, QByteArray("window init version=1.0 build=7"));
        QCOMPARE(lines.at(1).message, QByteArray("startup grab=on"));
        QCOMPARE(lines.at(2).message, QByteArray("windowDidMove -> {{10, 20}, {640, 360}}"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QVERIFY(lines.at(i).seconds >= before - 0.001);
            QVERIFY(lines.at(i).seconds <= after + 0.001);
            if (i > 0)
                QVERIFY(lines.at(i).seconds >= lines.at(i - 1).seconds);
        }
    }

    void appendsToAnExistingFile()
    {
        QFile existing(m_file);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("earlier line\n");
        existing.close();
        DebugLog::grab(QStringLiteral("webView.mouseDown"));
        const QByteArray content = readFile(m_file);
        QVERIFY(content.startsWith("earlier line\n"));
        QVERIFY(content.endsWith(" webView.mouseDown\n"));
        QCOMPARE(content.count('\n'), 2);
    }

    void messageIsWrittenUnchanged_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("line feeds") << QStringLiteral("first\nsecond\n");
        QTest::newRow("non-ASCII") << QStringLiteral("窗口 → ventana");
        QTest::newRow("empty") << QString();
        QTest::newRow("escapes stay literal") << QStringLiteral("a\\nb \"quoted\" %s");
    }

    void messageIsWrittenUnchanged()
    {
        QFETCH(QString, message);
        DebugLog::grab(message);
        const QByteArray content = readFile(m_file);
        const qsizetype space = content.indexOf(' ');
        QVERIFY(space > 0);
        QCOMPARE(content.mid(space + 1), message.toUtf8() + '\n');
    }

    void lineFormat_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("example") << 1700000000.5 << QByteArray("1700000000.5 m\n");
        QTest::newRow("shortest, not fixed six places")
            << 1700000000.25 << QByteArray("1700000000.25 m\n");
        QTest::newRow("microseconds kept")
            << 1700000000.123456 << QByteArray("1700000000.123456 m\n");
        QTest::newRow("whole second") << 1700000000.0 << QByteArray("1700000000 m\n");
        QTest::newRow("small") << 0.1 << QByteArray("0.1 m\n");
        QTest::newRow("too large for digits") << 1e300 << QByteArray("1e+300 m\n");
    }

    // Runs under a German locale in the suite: a comma here would be a fault.
    void lineFormat()
    {
        QFETCH(double, seconds);
        QFETCH(QByteArray, expected);
        QCOMPARE(DebugLog::line(seconds, QStringLiteral("m")), expected);
    }

    // A link planted at the log's place in a shared folder is not followed.
    void doesNotFollowALink()
    {
        const QString target = m_folder.filePath(QStringLiteral("victim"));
        QFile victim(target);
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("precious\n");
        victim.close();
        QVERIFY(QFile::link(target, m_file));
        DebugLog::grab(QStringLiteral("dragHandle enabled=true"));
        QCOMPARE(readFile(target), QByteArray("precious\n"));
        QVERIFY(QFileInfo(m_file).isSymLink());
    }

    void concurrentWritersProduceWholeLines_data()
    {
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("linesEach");
        QTest::newRow("2 x 500") << 2 << 500;
        QTest::newRow("8 x 200") << 8 << 200;
    }

    void concurrentWritersProduceWholeLines()
    {
        QFETCH(int, threads);
        QFETCH(int, linesEach);
        // Long messages make torn writes likely if the lock were missing.
        const QString padding(200, QLatin1Char('x'));
        std::vector<std::thread> writers;
        for (int t = 0; t < threads; ++t) {
            writers.emplace_back([t, linesEach, padding] {
                for (int i = 0; i < linesEach; ++i)
                    DebugLog::grab(QStringLiteral("t%1 n%2 %3").arg(t).arg(i).arg(padding));
            });
        }
        for (std::thread &writer : writers)
            writer.join();

        bool ok = false;
        const QList<Line> lines = parse(readFile(m_file), &ok);
        QVERIFY(ok);
        QCOMPARE(lines.size(), threads * linesEach);
        std::vector<int> next(static_cast<size_t>(threads), 0);
        for (const Line &line : lines) {
            const QList<QByteArray> parts = line.message.split(' ');
            QCOMPARE(parts.size(), 3);
            QCOMPARE(parts.at(2), padding.toLatin1());
            bool threadOk = false;
            bool indexOk = false;
            const int t = parts.at(0).mid(1).toInt(&threadOk);
            const int i = parts.at(1).mid(1).toInt(&indexOk);
            QVERIFY(threadOk && indexOk && t >= 0 && t < threads);
            // Each thread's lines appear in its call order, none lost or doubled.
            QCOMPARE(i, next[static_cast<size_t>(t)]);
            ++next[static_cast<size_t>(t)];
        }
    }
};

QTEST_GUILESS_MAIN(TestDebugLog)
#include "tst_debuglog.moc"

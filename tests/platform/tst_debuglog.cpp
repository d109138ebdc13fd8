#include "platform/DebugLog.h"

#include <QtTest>

static QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestDebugLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { DebugLog::setFileForTesting(m_folder.filePath(QTest::currentTestFunction())); }

    // Read on every call, only exactly "1" switches the log on. The first line creates an
    // owner-only file, later ones append; each starts with the time now, a '.' whatever the
    // locale (the suite runs in German), then the message as given.
    void writesOnlyWithExactlyOne()
    {
        const double before = double(QDateTime::currentMSecsSinceEpoch()) / 1000;
        for (const char *value : {"1", "", "true", "01", "1 ", "0", "1"}) {
            qputenv("LUMIVANE_DEBUG", value);
            DebugLog::grab(QString::fromLatin1(value) + QStringLiteral("|窗口"));
        }
        qunsetenv("LUMIVANE_DEBUG");
        DebugLog::grab(QStringLiteral("unset"));
        const QString file = m_folder.filePath(QTest::currentTestFunction());
        const QRegularExpressionMatch match = QRegularExpression("^([0-9.]+) 1\\|窗口\\n[0-9.]+ 1\\|窗口\\n$").match(read(file));
        QVERIFY2(match.hasMatch(), read(file).constData());
        QVERIFY(match.captured(1).toDouble() >= before - 0.01 && match.captured(1).toDouble() < before + 10);
        QCOMPARE(QFile::permissions(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }

    // A link planted at the log's place in a shared folder is not followed.
    void doesNotFollowALink()
    {
        qputenv("LUMIVANE_DEBUG", "1");
        QFile victim(m_folder.filePath("victim"));
        QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("precious\n") && victim.flush());
        QVERIFY(victim.link(m_folder.filePath(QTest::currentTestFunction())));
        DebugLog::grab(QStringLiteral("dragHandle enabled=true"));
        QCOMPARE(read(victim.fileName()), QByteArray("precious\n"));
    }

private:
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestDebugLog)
#include "tst_debuglog.moc"

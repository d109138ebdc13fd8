#include "KiteCore/SafeFile.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// A version is its number, padding that makes writing it take a while, and an end mark.
QByteArray version(long long number) { return QByteArray::number(number) + ':' + QByteArray(256 * 1024, 'x') + ":end"; }

// The child: writes ever newer versions until it is killed, reporting each one saved.
int writeLoop(const QString &file)
{
    for (long long number = 1; SafeFile::write(file, version(number)); ++number) {
        std::printf("saved %lld\n", number);
        std::fflush(stdout);
    }
    return 1;
}

} // namespace

class TestSafeFileCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A writer killed at any moment leaves the version it last reported or a newer one, whole.
    void killedWriterLeavesAWholeVersion()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("list.json");
        int round = 0;
        for (const QDeadlineTimer budget(4000); round < 100 && !budget.hasExpired(); ++round) {
            QVERIFY(SafeFile::write(file, version(0)));
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--write-loop", file});
            // Generous: an fsync on a machine busy with other writes can take seconds.
            QVERIFY2(child.waitForReadyRead(30000) && child.canReadLine(), qPrintable(QStringLiteral("round %1").arg(round)));
            const long long saved = child.readLine().mid(6).trimmed().toLongLong();
            child.kill();
            QVERIFY(child.waitForFinished(30000));
            const QByteArray left = TestFiles::contentOf(file);
            const long long number = left.left(left.indexOf(':')).toLongLong();
            QVERIFY2(left == version(number) && number >= saved,
                     qPrintable(QStringLiteral("round %1: %2 saved, %3 left").arg(round).arg(saved).arg(left.left(20))));
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--write-loop") == 0)
        return writeLoop(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestSafeFileCrash test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_safefilecrash.moc"

#include "KiteCore/SafeFile.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// Each version is its number and enough padding that writing it takes a while, then an end mark.
QByteArray version(qint64 number)
{
    return QByteArray::number(number) + ':' + QByteArray(256 * 1024, 'x') + ":end";
}

// The version a whole file holds; none for a torn or foreign file.
std::optional<qint64> versionIn(const QByteArray &content)
{
    bool ok = false;
    const qint64 number = content.left(content.indexOf(':')).toLongLong(&ok);
    return ok && content == version(number) ? std::optional(number) : std::nullopt;
}

// The child: writes ever newer versions until it is killed, reporting each one saved.
int writeLoop(const QString &file)
{
    for (qint64 number = 1;; ++number) {
        if (!SafeFile::write(file, version(number)))
            return 1;
        std::printf("saved %lld\n", static_cast<long long>(number));
        std::fflush(stdout);
    }
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
        const QString file = dir.filePath(QStringLiteral("list.json"));
        QRandomGenerator random(20261206);
        QElapsedTimer elapsed;
        elapsed.start();
        int rounds = 0;
        for (; rounds < 100 && elapsed.elapsed() < 4000; ++rounds) {
            QVERIFY(SafeFile::write(file, version(0)));
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--write-loop"), file});
            const int wanted = random.bounded(1, 4);
            int seen = 0;
            qint64 confirmed = 0;
            // Generous: an fsync on a machine busy with other writes can take seconds.
            const QDeadlineTimer deadline(30000);
            while (seen < wanted && (child.canReadLine() || child.waitForReadyRead(int(deadline.remainingTime())))) {
                while (child.canReadLine()) {
                    confirmed = child.readLine().mid(6).trimmed().toLongLong();
                    ++seen;
                }
            }
            QVERIFY2(seen >= wanted, qPrintable(QStringLiteral("round %1: the writer stopped early").arg(rounds)));
            child.kill();
            QVERIFY(child.waitForFinished(30000));
            const std::optional<qint64> left = versionIn(TestFiles::contentOf(file));
            QVERIFY2(left && *left >= confirmed, qPrintable(QStringLiteral("round %1: %2 saved, %3 left")
                                                                .arg(rounds).arg(confirmed).arg(left.value_or(-1))));
        }
        qInfo("%d rounds in %lld ms", rounds, elapsed.elapsed());
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

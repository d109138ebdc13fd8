#include "app/LaunchArguments.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLaunchArguments final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void absolutize_data();
    void absolutize();
};

// "%d" stands for the working folder; it holds clip.mp4 and the folder films/.
void TestLaunchArguments::absolutize_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");

    const QString program = u"lumivane"_qs;
    QTest::newRow("relative file") << QStringList{program, u"--open"_qs, u"clip.mp4"_qs}
                                   << QStringList{program, u"--open"_qs, u"%d/clip.mp4"_qs};
    QTest::newRow("dot path") << QStringList{program, u"--open"_qs, u"./films/"_qs}
                              << QStringList{program, u"--open"_qs, u"%d/films"_qs};
    QTest::newRow("missing relative file stays")
        << QStringList{program, u"--open"_qs, u"gone.mp4"_qs}
        << QStringList{program, u"--open"_qs, u"gone.mp4"_qs};
    QTest::newRow("link stays") << QStringList{program, u"--open"_qs, u"https://a.example/x"_qs}
                                << QStringList{program, u"--open"_qs, u"https://a.example/x"_qs};
    QTest::newRow("absolute path stays") << QStringList{program, u"--open"_qs, u"/tmp"_qs}
                                         << QStringList{program, u"--open"_qs, u"/tmp"_qs};
    QTest::newRow("tilde stays") << QStringList{program, u"--open"_qs, u"~/clip.mp4"_qs}
                                 << QStringList{program, u"--open"_qs, u"~/clip.mp4"_qs};
    QTest::newRow("only the value after --open")
        << QStringList{program, u"clip.mp4"_qs, u"--settings"_qs, u"--open"_qs, u"films"_qs}
        << QStringList{program, u"clip.mp4"_qs, u"--settings"_qs, u"--open"_qs, u"%d/films"_qs};
    QTest::newRow("--open at the end") << QStringList{program, u"--open"_qs}
                                       << QStringList{program, u"--open"_qs};
    QTest::newRow("web engine arguments untouched")
        << QStringList{program, u"--webEngineArgs"_qs, u"--open"_qs, u"clip.mp4"_qs}
        << QStringList{program, u"--webEngineArgs"_qs, u"--open"_qs, u"clip.mp4"_qs};
    QTest::newRow("program name alone") << QStringList{program} << QStringList{program};
}

void TestLaunchArguments::absolutize()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(u"films"_qs);
    QFile clip(folder.filePath(u"clip.mp4"_qs));
    QVERIFY(clip.open(QIODevice::WriteOnly));
    clip.close();
    expected.replaceInStrings(u"%d"_qs, folder.path());

    QCOMPARE(LaunchArguments::absolutize(arguments, QDir(folder.path())), expected);
}

QTEST_GUILESS_MAIN(TestLaunchArguments)
#include "tst_launcharguments.moc"

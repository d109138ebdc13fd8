#include "ModelHarness.h"

#include "app/AppModel.h"
#include "app/QuitGuard.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

// Qt closes every window when the application is asked to quit; the list of windows open
// at that moment must survive for the next start.
class TestQuitGuard final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quitKeepsTheWindowsOpenAtQuit_data();
    void quitKeepsTheWindowsOpenAtQuit();
};

void TestQuitGuard::quitKeepsTheWindowsOpenAtQuit_data()
{
    QTest::addColumn<bool>("guarded");
    QTest::addColumn<int>("remembered");
    QTest::newRow("with the guard") << true << 2;
    QTest::newRow("without it the closing windows empty the list") << false << 0;
}

void TestQuitGuard::quitKeepsTheWindowsOpenAtQuit()
{
    QFETCH(bool, guarded);
    QFETCH(int, remembered);
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    harness.openClip(2);
    QuitGuard guard(model);
    if (guarded)
        qApp->installEventFilter(&guard);

    // The quit request is handled inside a running event loop, as in the application.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();
    qApp->removeEventFilter(&guard);

    QVERIFY(model.sessions().isEmpty());
    QCOMPARE(harness.settings().value(AppModel::lastWindowURLsKey).toStringList().size(),
             remembered);
    QCOMPARE(model.isTerminating(), guarded);
}

QTEST_MAIN(TestQuitGuard)
#include "tst_quitguard.moc"

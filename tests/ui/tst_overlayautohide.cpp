#include "ui/OverlayAutoHide.h"

#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int shortLeaveMs = 40;
constexpr int shortAppearMs = 80;
// Long enough for any shortened timer to have fired.
constexpr int settleMs = 2000;
} // namespace

class TestOverlayAutoHide : public QObject
{
    Q_OBJECT

private:
    // A ready session whose window has just appeared.
    static void prepare(OverlayAutoHide &autoHide)
    {
        autoHide.setDelays(shortLeaveMs, shortAppearMs);
        autoHide.setReady(true);
        autoHide.appeared();
    }

private Q_SLOTS:
    void realDelays()
    {
        QCOMPARE(OverlayAutoHide::leaveDelayMs, 1600);
        QCOMPARE(OverlayAutoHide::appearDelayMs, 3200);
    }

    void hidesAfterAppearing()
    {
        OverlayAutoHide autoHide;
        prepare(autoHide);
        QVERIFY(autoHide.visible());
        QSignalSpy changes(&autoHide, &OverlayAutoHide::visibleChanged);
        QTRY_VERIFY_WITH_TIMEOUT(!autoHide.visible(), settleMs);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.first().first().toBool(), false);
    }

    void pointerOverWindowKeepsThemAfterAppearing()
    {
        OverlayAutoHide autoHide;
        prepare(autoHide);
        autoHide.pointerEntered();
        QVERIFY(!autoHide.hidePending());
        QTest::qWait(shortAppearMs * 3);
        QVERIFY(autoHide.visible());
    }

    void hidesAfterPointerLeaves()
    {
        OverlayAutoHide autoHide;
        prepare(autoHide);
        autoHide.pointerEntered();
        autoHide.pointerLeft();
        QVERIFY(autoHide.visible());
        QVERIFY(autoHide.hidePending());
        QTRY_VERIFY_WITH_TIMEOUT(!autoHide.visible(), settleMs);
    }

    // Re-entering within the delay cancels the pending hide; the old timer changes nothing.
    void leaveAndReenterKeepsThem()
    {
        OverlayAutoHide autoHide;
        prepare(autoHide);
        autoHide.setDelays(shortAppearMs, shortAppearMs);
        autoHide.pointerEntered();
        autoHide.pointerLeft();
        autoHide.pointerEntered();
        QVERIFY(!autoHide.hidePending());
        QTest::qWait(shortAppearMs * 3);
        QVERIFY(autoHide.visible());
        QVERIFY(autoHide.linger());
    }

    // A new leave restarts the wait in full.
    void secondLeaveRestartsTheWait()
    {
        OverlayAutoHide autoHide;
        prepare(autoHide);
        autoHide.setDelays(300, shortAppearMs);
        autoHide.pointerEntered();
        autoHide.pointerLeft();
        QTest::qWait(200);
        autoHide.pointerEntered();
        autoHide.pointerLeft();
        QTest::qWait(200);
        QVERIFY(autoHide.visible());
        QTRY_VERIFY_WITH_TIMEOUT(!autoHide.visible(), settleMs);
    }

    void neverHide_data()
    {
        QTest::addColumn<bool>("autoHide");
        QTest::addColumn<bool>("pinned");
        QTest::addColumn<bool>("ready");
        QTest::newRow("auto-hide off") << false << false << true;
        QTest::newRow("controls pinned") << true << true << true;
        QTest::newRow("loading or failed") << true << false << false;
    }

    void neverHide()
    {
        QFETCH(bool, autoHide);
        QFETCH(bool, pinned);
        QFETCH(bool, ready);
        OverlayAutoHide rules;
        rules.setDelays(shortLeaveMs, shortAppearMs);
        rules.setAutoHide(autoHide);
        rules.setControlsPinned(pinned);
        rules.setReady(ready);
        rules.appeared();
        rules.pointerEntered();
        rules.pointerLeft();
        QTest::qWait(shortAppearMs * 3);
        QVERIFY(rules.visible());
    }

    // Controls hidden while playing come back when the session fails or the user pins them.
    void stateChangesShowThemAgain()
    {
        OverlayAutoHide autoHide;
        prepare(autoHide);
        QTRY_VERIFY_WITH_TIMEOUT(!autoHide.visible(), settleMs);
        QSignalSpy changes(&autoHide, &OverlayAutoHide::visibleChanged);
        autoHide.setReady(false);
        QVERIFY(autoHide.visible());
        autoHide.setReady(true);
        QVERIFY(!autoHide.visible());
        autoHide.setControlsPinned(true);
        QVERIFY(autoHide.visible());
        autoHide.setControlsPinned(false);
        autoHide.setAutoHide(false);
        QVERIFY(autoHide.visible());
        QCOMPARE(changes.size(), 5);
    }

    // Pinning while a hide is pending keeps the controls after unpinning too.
    void pinnedWhileWaitingKeepsLinger()
    {
        OverlayAutoHide autoHide;
        prepare(autoHide);
        autoHide.setControlsPinned(true);
        QTest::qWait(shortAppearMs * 3);
        autoHide.setControlsPinned(false);
        QVERIFY(autoHide.visible());
    }
};

QTEST_GUILESS_MAIN(TestOverlayAutoHide)
#include "tst_overlayautohide.moc"

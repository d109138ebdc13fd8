#include "ui/OverlayAutoHide.h"

#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int leaveMs = 20;
constexpr int appearMs = 40;

// Returns once the hide timer, started before, has had its chance to fire.
bool pastHideDelays()
{
    QTimer later;
    QSignalSpy fired(&later, &QTimer::timeout);
    later.start(appearMs * 2);
    return fired.wait(5000);
}
} // namespace

class TestOverlayAutoHide : public QObject
{
    Q_OBJECT
    OverlayAutoHide *m_rules = nullptr;

private Q_SLOTS:
    // A ready session whose window has just appeared.
    void init()
    {
        m_rules = new OverlayAutoHide(this);
        m_rules->setDelays(leaveMs, appearMs);
        m_rules->setReady(true);
        m_rules->appeared();
    }

    void cleanup() { delete m_rules; }

    void hidesAfterAppearingAndAfterTheLeave()
    {
        QSignalSpy changes(m_rules, &OverlayAutoHide::visibleChanged);
        QVERIFY(m_rules->visible());
        QVERIFY(changes.wait(5000));
        QVERIFY(!m_rules->visible());
        m_rules->pointerEntered();
        QVERIFY(m_rules->visible() && !m_rules->hidePending());
        m_rules->pointerLeft();
        QVERIFY(m_rules->visible() && m_rules->hidePending());
        QVERIFY(changes.wait(5000));
        QCOMPARE(changes.last().first().toBool(), false);
        // Back over the window within the delay: the pending hide is gone.
        m_rules->pointerEntered();
        m_rules->pointerLeft();
        m_rules->pointerEntered();
        QVERIFY(!m_rules->hidePending() && m_rules->visible());
    }

    // Off, pinned or not ready: they stay. Pinned or off while the hide waited, they also
    // stay once back to normal; not ready, the wait has ended and they go.
    void neverHide()
    {
        struct Row { std::function<void(OverlayAutoHide &)> change; bool visibleAfter; };
        const QList<Row> rows{{[](auto &r) { r.setAutoHide(false); }, true},
                              {[](auto &r) { r.setControlsPinned(true); }, true},
                              {[](auto &r) { r.setReady(false); }, false}};
        for (const Row &row : rows) {
            OverlayAutoHide rules;
            rules.setDelays(leaveMs, appearMs);
            rules.appeared();
            rules.setReady(true);
            row.change(rules);
            rules.pointerEntered();
            rules.pointerLeft();
            QVERIFY(pastHideDelays());
            QVERIFY(rules.visible());
            rules.setControlsPinned(false);
            rules.setAutoHide(true);
            rules.setReady(true);
            QCOMPARE(rules.visible(), row.visibleAfter);
        }
    }

    // Controls hidden while playing come back when the session is not ready, is pinned or
    // auto-hide goes off.
    void stateChangesShowThemAgain()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!m_rules->visible(), 5000);
        QSignalSpy changes(m_rules, &OverlayAutoHide::visibleChanged);
        m_rules->setReady(false);
        QVERIFY(m_rules->visible());
        m_rules->setReady(true);
        m_rules->setControlsPinned(true);
        QVERIFY(m_rules->visible());
        m_rules->setControlsPinned(false);
        m_rules->setAutoHide(false);
        QCOMPARE(changes.size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestOverlayAutoHide)
#include "tst_overlayautohide.moc"

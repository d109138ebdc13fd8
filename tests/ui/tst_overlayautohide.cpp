#include "ui/OverlayAutoHide.h"

#include "TimerWait.h"

#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int leaveMs = 20;
constexpr int appearMs = 40;

// A ready session's controls, whose window has just appeared.
std::unique_ptr<OverlayAutoHide> appeared()
{
    auto rules = std::make_unique<OverlayAutoHide>();
    rules->setDelays(leaveMs, appearMs);
    rules->setReady(true);
    rules->appeared();
    return rules;
}
} // namespace

class TestOverlayAutoHide : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // They hide a while after the window appeared and after the pointer left; back over the
    // window within the wait, nothing is pending.
    void hide()
    {
        auto rules = appeared();
        QSignalSpy changes(rules.get(), &OverlayAutoHide::visibleChanged);
        QVERIFY(rules->visible() && changes.wait(5000) && !rules->visible());
        rules->pointerEntered();
        rules->pointerLeft();
        QVERIFY(rules->visible() && rules->hidePending() && changes.wait(5000) && !rules->visible());
        rules->pointerEntered();
        rules->pointerLeft();
        rules->pointerEntered();
        QVERIFY(!rules->hidePending() && rules->visible());
        QCOMPARE(changes.size(), 4);
    }

    // Off, pinned or not ready, they stay. Pinned or off while the wait after appearing
    // ended, they also stay once back to normal; not ready then, they go.
    void keep()
    {
        struct Row { std::function<void(OverlayAutoHide &)> change; bool visibleAfter; };
        for (const Row &row : QList<Row>{{[](auto &r) { r.setAutoHide(false); }, true},
                                         {[](auto &r) { r.setControlsPinned(true); }, true},
                                         {[](auto &r) { r.setReady(false); }, false}}) {
            auto rules = appeared();
            row.change(*rules);
            QVERIFY(TimerWait::pastTimers(std::chrono::milliseconds(appearMs)) && rules->visible());
            rules->setControlsPinned(false);
            rules->setAutoHide(true);
            rules->setReady(true);
            QCOMPARE(rules->visible(), row.visibleAfter);
            rules->setAutoHide(false);
            QVERIFY(rules->visible());
        }
    }
};

QTEST_GUILESS_MAIN(TestOverlayAutoHide)
#include "tst_overlayautohide.moc"

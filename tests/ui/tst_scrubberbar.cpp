#include "ui/ScrubberBar.h"

#include <QSignalSpy>
#include <QTest>

namespace {
// A point at a fraction of the track, which is inset by the knob's radius at both ends.
QPoint at(const ScrubberBar &bar, double fraction)
{
    return {int(std::lround(6 + fraction * (bar.width() - 12))), bar.height() / 2};
}
} // namespace

class TestScrubberBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void progress()
    {
        ScrubberBar bar;
        bar.setProgress(-3, 100);
        QCOMPARE(bar.value(), 0.0);
        bar.setProgress(5, qQNaN());
        QCOMPARE(bar.value(), 5.0);
        QCOMPARE(bar.duration(), 0.0);
    }

    // A drag follows the pointer, ignores progress meanwhile and seeks once at the release,
    // clamped to the track.
    void dragSeeksOnceAtTheEnd()
    {
        ScrubberBar bar;
        bar.resize(212, 18);
        bar.setProgress(10, 80);
        QSignalSpy seeks(&bar, &ScrubberBar::seekRequested);
        QTest::mousePress(&bar, Qt::LeftButton, {}, at(bar, 0.25));
        QVERIFY(bar.scrubbing());
        QTest::mouseMove(&bar, at(bar, 0.5));
        bar.setProgress(11, 80);
        QCOMPARE(bar.value(), 40.0);
        QTest::mouseMove(&bar, QPoint(-50, 9));
        QCOMPARE(seeks.size(), 0);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(400, 9));
        QCOMPARE(seeks.size(), 1);
        QCOMPARE(seeks.first().first().toDouble(), 80.0);
        bar.setProgress(76, 80);
        QCOMPARE(bar.value(), 76.0);
    }

    // A live stream has no length: a press must not seek it to the start.
    void noSeekWithoutLength()
    {
        ScrubberBar bar;
        bar.resize(212, 18);
        bar.setProgress(42, 0);
        QSignalSpy seeks(&bar, &ScrubberBar::seekRequested);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, at(bar, 0.5));
        QVERIFY(!bar.scrubbing());
        QCOMPARE(seeks.size(), 0);
        QCOMPARE(bar.value(), 42.0);
    }

    // Disabled or hidden mid-drag, no release will come: the drag ends at once, unsought.
    void dragCutShort()
    {
        for (const bool disable : {true, false}) {
            QWidget parent;
            auto *bar = new ScrubberBar(&parent);
            bar->resize(212, 18);
            parent.show();
            bar->setProgress(10, 100);
            QSignalSpy seeks(bar, &ScrubberBar::seekRequested);
            QTest::mousePress(bar, Qt::LeftButton, {}, at(*bar, 0.5));
            disable ? bar->setEnabled(false) : parent.hide();
            QVERIFY(!bar->scrubbing());
            QTest::mouseRelease(bar, Qt::LeftButton, {}, at(*bar, 0.5));
            QCOMPARE(seeks.size(), 0);
            bar->setProgress(12, 100);
            QCOMPARE(bar->value(), 12.0);
        }
    }
};

QTEST_MAIN(TestScrubberBar)
#include "tst_scrubberbar.moc"

#include "ui/ScrubberBar.h"

#include <QSignalSpy>
#include <QWidget>
#include <QTest>

class TestScrubberBar : public QObject
{
    Q_OBJECT

private:
    // x of a fraction of the track (the track is inset by the knob radius at both ends).
    static QPoint at(const ScrubberBar &bar, double fraction)
    {
        const double inset = 6;
        const double x = inset + fraction * (bar.width() - 2 * inset);
        return {static_cast<int>(std::lround(x)), bar.height() / 2};
    }

private Q_SLOTS:
    void progressMovesItWhenIdle_data()
    {
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("length");
        QTest::newRow("normal") << 12.5 << 100.0 << 12.5 << 100.0;
        QTest::newRow("negative time") << -3.0 << 100.0 << 0.0 << 100.0;
        QTest::newRow("NaN time") << std::nan("") << 100.0 << 0.0 << 100.0;
        QTest::newRow("unknown length") << 5.0 << 0.0 << 5.0 << 0.0;
        QTest::newRow("NaN length") << 5.0 << std::nan("") << 5.0 << 0.0;
    }

    void progressMovesItWhenIdle()
    {
        QFETCH(double, elapsed);
        QFETCH(double, duration);
        QFETCH(double, value);
        QFETCH(double, length);
        ScrubberBar bar;
        bar.setProgress(elapsed, duration);
        QCOMPARE(bar.value(), value);
        QCOMPARE(bar.duration(), length);
    }

    void dragSeeksOnceAtTheEnd()
    {
        ScrubberBar bar;
        bar.resize(212, 18);
        bar.setProgress(10, 100);
        QSignalSpy seeks(&bar, &ScrubberBar::seekRequested);
        QSignalSpy scrubbing(&bar, &ScrubberBar::scrubbingChanged);

        QTest::mousePress(&bar, Qt::LeftButton, {}, at(bar, 0.25));
        QVERIFY(bar.scrubbing());
        QCOMPARE(bar.value(), 25.0);
        QTest::mouseMove(&bar, at(bar, 0.5));
        QCOMPARE(bar.value(), 50.0);
        // Progress arriving during the drag does not pull it back.
        bar.setProgress(11, 100);
        QCOMPARE(bar.value(), 50.0);
        QTest::mouseMove(&bar, at(bar, 0.75));
        QCOMPARE(seeks.size(), 0);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, at(bar, 0.75));

        QCOMPARE(seeks.size(), 1);
        QCOMPARE(seeks.first().first().toDouble(), 75.0);
        QVERIFY(!bar.scrubbing());
        QCOMPARE(scrubbing.size(), 2);
        QCOMPARE(scrubbing.at(0).first().toBool(), true);
        QCOMPARE(scrubbing.at(1).first().toBool(), false);
        // After the drag, progress moves it again.
        bar.setProgress(76, 100);
        QCOMPARE(bar.value(), 76.0);
    }

    void dragPastTheEndsIsClamped()
    {
        ScrubberBar bar;
        bar.resize(212, 18);
        bar.setProgress(10, 80);
        QSignalSpy seeks(&bar, &ScrubberBar::seekRequested);
        QTest::mousePress(&bar, Qt::LeftButton, {}, at(bar, 0.5));
        QTest::mouseMove(&bar, QPoint(-50, 9));
        QCOMPARE(bar.value(), 0.0);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(400, 9));
        QCOMPARE(seeks.size(), 1);
        QCOMPARE(seeks.first().first().toDouble(), 80.0);
    }

    // A live stream has no length: a press must not seek it to the start.
    void noSeekWithoutLength()
    {
        ScrubberBar bar;
        bar.resize(212, 18);
        bar.setProgress(42, 0);
        QSignalSpy seeks(&bar, &ScrubberBar::seekRequested);
        QTest::mousePress(&bar, Qt::LeftButton, {}, at(bar, 0.5));
        QVERIFY(!bar.scrubbing());
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, at(bar, 0.5));
        QCOMPARE(seeks.size(), 0);
        QCOMPARE(bar.value(), 42.0);
    }

    void dragCutShort_data()
    {
        QTest::addColumn<bool>("disable");
        QTest::newRow("disabled") << true;
        QTest::newRow("hidden") << false;
    }

    // No release will come: the drag ends at once, without a seek, and progress moves the
    // track again.
    void dragCutShort()
    {
        QFETCH(bool, disable);
        QWidget parent;
        auto *bar = new ScrubberBar(&parent);
        bar->resize(212, 18);
        parent.show();
        bar->setProgress(10, 100);
        QSignalSpy seeks(bar, &ScrubberBar::seekRequested);
        QSignalSpy scrubbing(bar, &ScrubberBar::scrubbingChanged);
        QTest::mousePress(bar, Qt::LeftButton, {}, at(*bar, 0.5));
        QVERIFY(bar->scrubbing());
        if (disable)
            bar->setEnabled(false);
        else
            parent.hide();
        QVERIFY(!bar->scrubbing());
        QCOMPARE(scrubbing.size(), 2);
        QCOMPARE(scrubbing.last().first().toBool(), false);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at(*bar, 0.5));
        QCOMPARE(seeks.size(), 0);
        bar->setProgress(12, 100);
        QCOMPARE(bar->value(), 12.0);
    }
};

QTEST_MAIN(TestScrubberBar)
#include "tst_scrubberbar.moc"

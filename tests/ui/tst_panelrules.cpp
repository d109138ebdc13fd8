#include "ui/PanelRules.h"

#include "KiteCore/L10n.h"

#include <QTest>

#include <limits>

class TestPanelRules final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }

    void statusSummary_data()
    {
        QTest::addColumn<int>("windows");
        QTest::addColumn<int>("playing");
        QTest::addColumn<int>("hidden");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<PanelRules::Tone>("tone");
        using Tone = PanelRules::Tone;
        QTest::newRow("none") << 0 << 0 << 0 << u"No floating windows"_qs << Tone::hidden;
        QTest::newRow("three, one playing") << 3 << 1 << 2 << u"3 windows · 1 playing"_qs
                                            << Tone::playing;
        QTest::newRow("one, playing") << 1 << 1 << 0 << u"1 window · 1 playing"_qs << Tone::playing;
        QTest::newRow("two, one hidden") << 2 << 0 << 1 << u"2 windows · paused"_qs << Tone::idle;
        QTest::newRow("two, both hidden") << 2 << 0 << 2 << u"All 2 hidden"_qs << Tone::hidden;
        QTest::newRow("one, hidden") << 1 << 0 << 1 << u"Window hidden"_qs << Tone::hidden;
    }

    void statusSummary()
    {
        QFETCH(int, windows);
        QFETCH(int, playing);
        QFETCH(int, hidden);
        QFETCH(QString, summary);
        QFETCH(PanelRules::Tone, tone);
        QCOMPARE(PanelRules::statusSummary(windows, playing, hidden), summary);
        QCOMPARE(PanelRules::summaryTone(windows, playing, hidden), tone);
    }

    void rowSubtitle_data()
    {
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<double>("duration");
        QTest::addColumn<QString>("subtitle");
        QTest::newRow("file") << MediaKind::localFile << 65.4 << 3600.0
                              << u"Playing · 1:05 / 1:00:00"_qs;
        QTest::newRow("media link") << MediaKind::mediaURL << 0.0 << 59.6 << u"Playing · 0:00 / 1:00"_qs;
        QTest::newRow("unknown length") << MediaKind::localFile << 12.0 << 0.0 << u"Playing"_qs;
        QTest::newRow("not a number") << MediaKind::mediaURL << std::numeric_limits<double>::quiet_NaN()
                                      << 30.0 << u"Playing · 0:00 / 0:30"_qs;
        QTest::newRow("web page, no times") << MediaKind::web << 10.0 << 100.0 << u"Playing"_qs;
    }

    void rowSubtitle()
    {
        QFETCH(MediaKind, kind);
        QFETCH(double, elapsed);
        QFETCH(double, duration);
        QFETCH(QString, subtitle);
        QCOMPARE(PanelRules::rowSubtitle(u"Playing"_qs, kind, elapsed, duration), subtitle);
    }

    void rowTone_data()
    {
        using Tone = PanelRules::Tone;
        QTest::addColumn<bool>("loading");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<Tone>("tone");
        QTest::newRow("failure wins") << false << true << true << true << Tone::failed;
        QTest::newRow("loading before hidden") << true << false << true << false << Tone::loading;
        QTest::newRow("hidden before playing") << false << false << true << true << Tone::hidden;
        QTest::newRow("playing") << false << false << false << true << Tone::playing;
        QTest::newRow("paused") << false << false << false << false << Tone::idle;
    }

    void rowTone()
    {
        QFETCH(bool, loading);
        QFETCH(bool, failed);
        QFETCH(bool, hidden);
        QFETCH(bool, playing);
        QFETCH(PanelRules::Tone, tone);
        QCOMPARE(PanelRules::rowTone({loading, failed, hidden, playing}), tone);
    }

    // A tray at the top opens the panel below the cursor, one at the bottom above it.
    void placement_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("top right corner") << QPoint(1270, 10) << QRect(950, 20, 330, 430);
        QTest::newRow("bottom middle") << QPoint(640, 790) << QRect(475, 350, 330, 430);
        QTest::newRow("left edge") << QPoint(5, 300) << QRect(0, 310, 330, 430);
        QTest::newRow("low in the upper half") << QPoint(600, 390) << QRect(435, 370, 330, 430);
    }

    void placement()
    {
        QFETCH(QPoint, cursor);
        QFETCH(QRect, placed);
        QCOMPARE(PanelRules::placement(cursor, QSize(330, 430), QRect(0, 0, 1280, 800)), placed);
    }
};

QTEST_GUILESS_MAIN(TestPanelRules)
#include "tst_panelrules.moc"

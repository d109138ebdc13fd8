#include "ui/OverlayRules.h"

#include "KiteCore/L10n.h"

#include <QTest>

#include <cmath>
#include <limits>

using OverlayRules::EscapeAction;
using Kind = AppError::Kind;

class TestOverlayRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void timeLabels_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("label");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("zero") << 0.0 << u"0:00"_qs;
        QTest::newRow("NaN") << std::nan("") << u"0:00"_qs;
        QTest::newRow("infinite") << inf << u"0:00"_qs;
        QTest::newRow("minus infinite") << -inf << u"0:00"_qs;
        QTest::newRow("negative") << -5.0 << u"0:00"_qs;
        QTest::newRow("tiny negative") << -0.2 << u"0:00"_qs;
        QTest::newRow("rounds down") << 4.4 << u"0:04"_qs;
        QTest::newRow("rounds up") << 4.5 << u"0:05"_qs;
        QTest::newRow("59.6 is a minute") << 59.6 << u"1:00"_qs;
        QTest::newRow("ten minutes") << 605.0 << u"10:05"_qs;
        QTest::newRow("last before an hour") << 3599.0 << u"59:59"_qs;
        QTest::newRow("rounds into an hour") << 3599.5 << u"1:00:00"_qs;
        QTest::newRow("an hour") << 3600.0 << u"1:00:00"_qs;
        QTest::newRow("hours with padding") << 3600.0 * 2 + 65 << u"2:01:05"_qs;
        QTest::newRow("many hours") << 3600.0 * 125 + 59 * 60 + 9 << u"125:59:09"_qs;
    }

    void timeLabels()
    {
        QFETCH(double, seconds);
        QFETCH(QString, label);
        QCOMPARE(OverlayRules::timeLabel(seconds), label);
    }

    // Absurd values still give an hours label instead of overflowing.
    void timeLabelOfHugeValue()
    {
        const QString label = OverlayRules::timeLabel(1e300);
        QVERIFY2(label.count(QLatin1Char(':')) == 2, qPrintable(label));
        QVERIFY(!label.startsWith(QLatin1Char('-')));
    }

    void speedLabels_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("label");
        QTest::newRow("1") << 1.0 << u"1×"_qs;
        QTest::newRow("2") << 2.0 << u"2×"_qs;
        QTest::newRow("1.5") << 1.5 << u"1.5×"_qs;
        QTest::newRow("0.5") << 0.5 << u"0.5×"_qs;
        QTest::newRow("0.75") << 0.75 << u"0.75×"_qs;
        QTest::newRow("1.25") << 1.25 << u"1.25×"_qs;
        QTest::newRow("3") << 3.0 << u"3×"_qs;
        QTest::newRow("shortest form") << 0.1 << u"0.1×"_qs;
    }

    // Labels use a dot whatever the locale (the tests run under a German locale too).
    void speedLabels()
    {
        QFETCH(double, speed);
        QFETCH(QString, label);
        QCOMPARE(OverlayRules::speedLabel(speed), label);
    }

    void offeredSpeedsAreLabelledAsShown()
    {
        QStringList labels;
        for (double speed : OverlayRules::speeds)
            labels << OverlayRules::speedLabel(speed);
        QCOMPARE(labels, (QStringList{u"0.5×"_qs, u"0.75×"_qs, u"1×"_qs, u"1.25×"_qs, u"1.5×"_qs,
                                      u"2×"_qs}));
    }

    void currentSpeed_data()
    {
        QTest::addColumn<double>("current");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("checked");
        QTest::newRow("equal") << 1.5 << 1.5 << true;
        QTest::newRow("just inside") << 1.009 << 1.0 << true;
        QTest::newRow("just inside below") << 0.991 << 1.0 << true;
        QTest::newRow("just outside") << 1.011 << 1.0 << false;
        QTest::newRow("neighbour") << 1.25 << 1.5 << false;
        QTest::newRow("NaN") << std::nan("") << 1.0 << false;
    }

    void currentSpeed()
    {
        QFETCH(double, current);
        QFETCH(double, value);
        QFETCH(bool, checked);
        QCOMPARE(OverlayRules::isCurrentSpeed(current, value), checked);
    }

    void percentLabels_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<QString>("label");
        QTest::newRow("full") << 1.0 << u"100%"_qs;
        QTest::newRow("default volume") << 0.85 << u"85%"_qs;
        QTest::newRow("rounded") << 0.254 << u"25%"_qs;
        QTest::newRow("mute") << 0.0 << u"0%"_qs;
        QTest::newRow("above range") << 1.7 << u"100%"_qs;
        QTest::newRow("below range") << -0.3 << u"0%"_qs;
        QTest::newRow("NaN") << std::nan("") << u"0%"_qs;
    }

    void percentLabels()
    {
        QFETCH(double, fraction);
        QFETCH(QString, label);
        QCOMPARE(OverlayRules::percentLabel(fraction), label);
    }

    void visibility_data()
    {
        QTest::addColumn<bool>("autoHide");
        QTest::addColumn<bool>("pinned");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<bool>("hovering");
        QTest::addColumn<bool>("linger");
        QTest::addColumn<bool>("visible");
        QTest::newRow("ready, away: hidden") << true << false << true << false << false << false;
        QTest::newRow("auto-hide off") << false << false << true << false << false << true;
        QTest::newRow("pinned") << true << true << true << false << false << true;
        QTest::newRow("loading or failed") << true << false << false << false << false << true;
        QTest::newRow("hovering") << true << false << true << true << false << true;
        QTest::newRow("lingering") << true << false << true << false << true << true;
    }

    void visibility()
    {
        QFETCH(bool, autoHide);
        QFETCH(bool, pinned);
        QFETCH(bool, ready);
        QFETCH(bool, hovering);
        QFETCH(bool, linger);
        QFETCH(bool, visible);
        QCOMPARE(OverlayRules::controlsVisible({.autoHide = autoHide,
                                                .controlsPinned = pinned,
                                                .ready = ready,
                                                .hovering = hovering,
                                                .linger = linger}),
                 visible);
    }

    void escapeOrder_data()
    {
        QTest::addColumn<bool>("cinema");
        QTest::addColumn<bool>("clickThrough");
        QTest::addColumn<EscapeAction>("action");
        QTest::newRow("cinema first") << true << true << EscapeAction::exitCinema;
        QTest::newRow("cinema alone") << true << false << EscapeAction::exitCinema;
        QTest::newRow("click-through") << false << true << EscapeAction::endClickThrough;
        QTest::newRow("otherwise close") << false << false << EscapeAction::closeWindow;
    }

    void escapeOrder()
    {
        QFETCH(bool, cinema);
        QFETCH(bool, clickThrough);
        QFETCH(EscapeAction, action);
        QCOMPARE(OverlayRules::escapeAction(cinema, clickThrough), action);
    }

    void skipTargets_data()
    {
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<double>("delta");
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<double>("target");
        QTest::newRow("native forward") << 30.0 << 10.0 << MediaKind::localFile << 40.0;
        QTest::newRow("native back") << 30.0 << -10.0 << MediaKind::mediaURL << 20.0;
        // The session clamps native seeks itself.
        QTest::newRow("native near start") << 4.0 << -10.0 << MediaKind::localFile << -6.0;
        QTest::newRow("web near start") << 4.0 << -10.0 << MediaKind::web << 0.0;
        QTest::newRow("web forward") << 4.0 << 10.0 << MediaKind::web << 14.0;
    }

    void skipTargets()
    {
        QFETCH(double, elapsed);
        QFETCH(double, delta);
        QFETCH(MediaKind, kind);
        QFETCH(double, target);
        QCOMPARE(OverlayRules::skipTarget(elapsed, delta, kind), target);
    }

    void scrubSeconds_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("seconds");
        QTest::newRow("middle") << 0.5 << 120.0 << 60.0;
        QTest::newRow("before the track") << -0.2 << 120.0 << 0.0;
        QTest::newRow("past the track") << 1.3 << 120.0 << 120.0;
        QTest::newRow("unknown length") << 0.5 << 0.0 << 0.0;
        QTest::newRow("NaN length") << 0.5 << std::nan("") << 0.0;
        QTest::newRow("NaN fraction") << std::nan("") << 120.0 << 0.0;
    }

    void scrubSeconds()
    {
        QFETCH(double, fraction);
        QFETCH(double, duration);
        QFETCH(double, seconds);
        QCOMPARE(OverlayRules::scrubSeconds(fraction, duration), seconds);
    }

    void failureIcons_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("icon");
        QTest::newRow("input") << Kind::input << u"kind-input"_qs;
        QTest::newRow("network") << Kind::network << u"kind-network"_qs;
        QTest::newRow("decode") << Kind::decode << u"kind-decode"_qs;
        QTest::newRow("web") << Kind::web << u"kind-web"_qs;
        QTest::newRow("external") << Kind::external << u"kind-external"_qs;
        QTest::newRow("storage") << Kind::storage << u"kind-storage"_qs;
    }

    void failureIcons()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, icon);
        QCOMPARE(OverlayRules::failureIconName(kind), icon);
    }

    void clickThroughMessage_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("hasTray");
        QTest::addColumn<QString>("mustContain");
        QTest::addColumn<QString>("mustNotContain");
        QTest::newRow("en bound") << AppLanguage::en << u"Ctrl+Alt+F"_qs << true
                                  << u"or press Ctrl+Alt+F,"_qs << u"⌃"_qs;
        QTest::newRow("es bound") << AppLanguage::es << u"Ctrl+Alt+R"_qs << true
                                  << u"pulsa Ctrl+Alt+R"_qs << u"Clicks"_qs;
        QTest::newRow("zh bound") << AppLanguage::zh << u"Ctrl+Alt+F"_qs << true
                                  << u"或按 Ctrl+Alt+F"_qs << u"Clicks"_qs;
        QTest::newRow("en unbound") << AppLanguage::en << QString() << true
                                    << u"tray icon → Restore All Windows"_qs << u"press"_qs;
        QTest::newRow("en without a tray") << AppLanguage::en << u"Ctrl+Alt+F"_qs << false
                                           << u"Playback → Restore All Windows"_qs << u"tray"_qs;
    }

    void clickThroughMessage()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QString, key);
        QFETCH(bool, hasTray);
        QFETCH(QString, mustContain);
        QFETCH(QString, mustNotContain);
        L10n::setLanguage(language);
        const QString message = OverlayRules::clickThroughMessage(key, hasTray);
        QVERIFY2(message.contains(mustContain), qPrintable(message));
        QVERIFY2(!message.contains(mustNotContain), qPrintable(message));
        QVERIFY(!message.contains(u"%1"_qs));
    }
};

QTEST_GUILESS_MAIN(TestOverlayRules)
#include "tst_overlayrules.moc"

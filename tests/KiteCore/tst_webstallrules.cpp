#include "KiteCore/WebStallRules.h"

#include <QTest>

#include <limits>

using WebStallRules::Action;

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();
} // namespace

class TestWebStallRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void constants()
    {
        QCOMPARE(WebStallRules::reseekAfter, 6.0);
        QCOMPARE(WebStallRules::showErrorAfter, 14.0);
        QCOMPARE(WebStallRules::maxRecoveryAttempts, 1);
        QCOMPARE(WebStallRules::postAdRecoveryWindowPolls, 12);
        QCOMPARE(WebStallRules::lostPositionThreshold, 30.0);
    }

    void action_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("ended");
        QTest::addColumn<bool>("adShowing");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<double>("stallSeconds");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<Action>("expected");
        // playing, ended, ad, visible, advanced
        QTest::newRow("just below re-seek") << true << false << false << true << false << 5.999 << 0 << Action::none;
        QTest::newRow("exactly re-seek") << true << false << false << true << false << 6.0 << 0 << Action::reseekBack;
        QTest::newRow("long stall, no attempt") << true << false << false << true << false << 40.0 << 0 << Action::reseekBack;
        QTest::newRow("after attempt, 6 s") << true << false << false << true << false << 6.0 << 1 << Action::none;
        QTest::newRow("after attempt, 13.9 s") << true << false << false << true << false << 13.9 << 1 << Action::none;
        QTest::newRow("after attempt, 14 s") << true << false << false << true << false << 14.0 << 1 << Action::showError;
        QTest::newRow("two attempts, 14 s") << true << false << false << true << false << 14.0 << 2 << Action::showError;
        QTest::newRow("no stall") << true << false << false << true << false << 0.0 << 0 << Action::none;
        QTest::newRow("advertisement") << true << false << true << true << false << 20.0 << 0 << Action::none;
        QTest::newRow("advertisement, attempt made") << true << false << true << true << false << 20.0 << 1 << Action::none;
        QTest::newRow("off screen") << true << false << false << false << false << 20.0 << 0 << Action::none;
        QTest::newRow("off screen, attempt made") << true << false << false << false << false << 20.0 << 1 << Action::none;
        QTest::newRow("ended") << true << true << false << true << false << 20.0 << 0 << Action::none;
        QTest::newRow("ended, attempt made") << true << true << false << true << false << 20.0 << 1 << Action::none;
        QTest::newRow("not playing") << false << false << false << true << false << 20.0 << 0 << Action::none;
        QTest::newRow("time advanced") << true << false << false << true << true << 20.0 << 0 << Action::none;
        QTest::newRow("NaN stall") << true << false << false << true << false << notANumber << 0 << Action::none;
        QTest::newRow("NaN stall, attempt made") << true << false << false << true << false << notANumber << 1 << Action::none;
        QTest::newRow("infinite stall") << true << false << false << true << false << infinity << 0 << Action::reseekBack;
        QTest::newRow("infinite stall, attempt made") << true << false << false << true << false << infinity << 1 << Action::showError;
        QTest::newRow("negative infinite stall") << true << false << false << true << false << -infinity << 0 << Action::none;
        QTest::newRow("negative attempts count as none") << true << false << false << true << false << 6.0 << -3 << Action::reseekBack;
    }

    void action()
    {
        QFETCH(bool, playing);
        QFETCH(bool, ended);
        QFETCH(bool, adShowing);
        QFETCH(bool, visible);
        QFETCH(bool, advanced);
        QFETCH(double, stallSeconds);
        QFETCH(int, attempts);
        QFETCH(Action, expected);
        QCOMPARE(WebStallRules::action(playing, ended, adShowing, visible, advanced, stallSeconds,
                                       attempts),
                 expected);
    }

    void isPositionLost_data()
    {
        QTest::addColumn<double>("lastGood");
        QTest::addColumn<double>("current");
        QTest::addColumn<bool>("expected");
        QTest::newRow("within first 30 s") << 30.0 << 0.0 << false;
        QTest::newRow("just past 30 s") << 30.5 << 0.0 << true;
        QTest::newRow("exactly 30 behind") << 100.0 << 70.0 << false;
        QTest::newRow("more than 30 behind") << 100.0 << 69.9 << true;
        QTest::newRow("ahead") << 100.0 << 500.0 << false;
        QTest::newRow("slightly behind") << 100.0 << 90.0 << false;
        QTest::newRow("NaN current") << 100.0 << notANumber << false;
        QTest::newRow("NaN last good") << notANumber << 0.0 << false;
        QTest::newRow("infinite last good") << infinity << 0.0 << false;
        QTest::newRow("negative infinite current") << 100.0 << -infinity << false;
    }

    void isPositionLost()
    {
        QFETCH(double, lastGood);
        QFETCH(double, current);
        QFETCH(bool, expected);
        QCOMPARE(WebStallRules::isPositionLost(lastGood, current), expected);
    }

    void shouldRecoverLostPosition_data()
    {
        QTest::addColumn<double>("lastGood");
        QTest::addColumn<double>("current");
        QTest::addColumn<int>("windowPollsLeft");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<bool>("expected");
        QTest::newRow("lost, first poll of window") << 100.0 << 0.0 << 12 << 0 << true;
        QTest::newRow("lost, last poll of window") << 100.0 << 0.0 << 1 << 0 << true;
        QTest::newRow("window run out") << 100.0 << 0.0 << 0 << 0 << false;
        QTest::newRow("window negative") << 100.0 << 0.0 << -1 << 0 << false;
        QTest::newRow("attempt made") << 100.0 << 0.0 << 12 << 1 << false;
        QTest::newRow("negative attempts") << 100.0 << 0.0 << 12 << -1 << false;
        QTest::newRow("not lost") << 100.0 << 70.0 << 12 << 0 << false;
        QTest::newRow("NaN position") << 100.0 << notANumber << 12 << 0 << false;
    }

    void shouldRecoverLostPosition()
    {
        QFETCH(double, lastGood);
        QFETCH(double, current);
        QFETCH(int, windowPollsLeft);
        QFETCH(int, attempts);
        QFETCH(bool, expected);
        QCOMPARE(WebStallRules::shouldRecoverLostPosition(lastGood, current, windowPollsLeft,
                                                          attempts),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestWebStallRules)
#include "tst_webstallrules.moc"

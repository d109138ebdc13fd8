#include "KiteCore/PlaybackRules.h"

#include <QTest>

using PlaybackRules::HideAction;
using PlaybackRules::ShowAction;

class TestPlaybackRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hiding_data()
    {
        QTest::addColumn<bool>("waitingToAutoplay");
        QTest::addColumn<bool>("pauseWhenHidden");
        QTest::addColumn<bool>("isPlaying");
        QTest::addColumn<HideAction>("expected");
        // Every combination; waiting for the automatic start overrides the preference.
        QTest::newRow("waiting, pref on, playing") << true << true << true << HideAction::pause;
        QTest::newRow("waiting, pref on, paused") << true << true << false << HideAction::pause;
        QTest::newRow("waiting, pref off, playing") << true << false << true << HideAction::pause;
        QTest::newRow("waiting, pref off, paused") << true << false << false << HideAction::pause;
        QTest::newRow("pref on, playing") << false << true << true << HideAction::pause;
        QTest::newRow("pref on, paused") << false << true << false << HideAction::none;
        QTest::newRow("pref off, playing") << false << false << true << HideAction::continue_;
        QTest::newRow("pref off, paused") << false << false << false << HideAction::none;
    }

    void hiding()
    {
        QFETCH(bool, waitingToAutoplay);
        QFETCH(bool, pauseWhenHidden);
        QFETCH(bool, isPlaying);
        QFETCH(HideAction, expected);
        QCOMPARE(PlaybackRules::hiding(isPlaying, waitingToAutoplay, pauseWhenHidden), expected);
    }

    void showing_data()
    {
        QTest::addColumn<bool>("wasPausedByHide");
        QTest::addColumn<bool>("waitingToAutoplay");
        QTest::addColumn<bool>("pausedByUser");
        QTest::addColumn<ShowAction>("expected");
        QTest::newRow("hide paused") << true << false << false << ShowAction::resume;
        QTest::newRow("hide paused, waiting") << true << true << false << ShowAction::resume;
        QTest::newRow("user paused meanwhile") << true << false << true << ShowAction::none;
        QTest::newRow("user paused, waiting") << true << true << true << ShowAction::none;
        QTest::newRow("not paused by hide") << false << false << false << ShowAction::none;
        QTest::newRow("not paused by hide, waiting") << false << true << false << ShowAction::none;
        QTest::newRow("user paused only") << false << false << true << ShowAction::none;
        QTest::newRow("all but hide") << false << true << true << ShowAction::none;
    }

    void showing()
    {
        QFETCH(bool, wasPausedByHide);
        QFETCH(bool, waitingToAutoplay);
        QFETCH(bool, pausedByUser);
        QFETCH(ShowAction, expected);
        QCOMPARE(PlaybackRules::showing(wasPausedByHide, waitingToAutoplay, pausedByUser),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackRules)
#include "tst_playbackrules.moc"

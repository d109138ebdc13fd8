#include "KiteCore/PlaybackRules.h"

#include <QTest>

using PlaybackRules::HideAction;
using PlaybackRules::ShowAction;

class TestPlaybackRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Waiting for the automatic start pauses whatever the preference says.
    void hiding()
    {
        struct Row { bool waiting, pauseWhenHidden, playing; HideAction expected; };
        const Row rows[] = {{true, false, false, HideAction::pause}, {false, true, true, HideAction::pause}, {false, true, false, HideAction::none},
                            {false, false, true, HideAction::continue_}, {false, false, false, HideAction::none}};
        for (const Row &row : rows)
            QCOMPARE(PlaybackRules::hiding(row.playing, row.waiting, row.pauseWhenHidden), row.expected);
    }

    // Only what hiding paused comes back, and not when the user paused it since.
    void showing()
    {
        struct Row { bool pausedByHide, waiting, pausedByUser; ShowAction expected; };
        const Row rows[] = {{true, true, false, ShowAction::resume}, {true, false, true, ShowAction::none},
                            {false, false, false, ShowAction::none}};
        for (const Row &row : rows)
            QCOMPARE(PlaybackRules::showing(row.pausedByHide, row.waiting, row.pausedByUser), row.expected);
    }

    // Lengths may be estimates: 2 s or 5 % short of them, whichever is more, still ends.
    void endedEarly()
    {
        struct Row { double position, duration; bool expected; };
        const Row rows[] = {{3, 15, true}, {12.9, 15, true}, {13.1, 15, false}, {569, 600, true}, {571, 600, false},
                            {3, 0, false}, {3, qInf(), false}};
        for (const Row &row : rows)
            QCOMPARE(PlaybackRules::endedEarly(row.position, row.duration), row.expected);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackRules)
#include "tst_playbackrules.moc"

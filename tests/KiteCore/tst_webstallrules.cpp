#include "KiteCore/WebStallRules.h"

#include <QTest>
#include <QtNumeric>

using WebStallRules::Action;

class TestWebStallRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A playing, visible video that does not move: one re-seek at 6 s, the error at 14 s after it.
    void action()
    {
        struct Row { double stall; int attempts; Action expected; bool playing = true, ended = false, ad = false, visible = true, advanced = false; };
        const Row rows[] = {{5.999, 0, Action::none}, {6, 0, Action::reseekBack}, {13.9, 1, Action::none}, {14, 1, Action::showError},
                            {14, 2, Action::showError}, {6, -3, Action::reseekBack}, {qQNaN(), 1, Action::none}, {qInf(), 0, Action::reseekBack},
                            {20, 0, Action::none, false}, {20, 0, Action::none, true, true}, {20, 1, Action::none, true, false, true},
                            {20, 1, Action::none, true, false, false, false}, {20, 0, Action::none, true, false, false, true, true}};
        for (const Row &row : rows) {
            const Action actual = WebStallRules::action(row.playing, row.ended, row.ad, row.visible, row.advanced, row.stall, row.attempts);
            QVERIFY2(actual == row.expected, qPrintable(QString::number(&row - rows)));
        }
    }

    // Lost: the last good position beyond 30 s and the current one more than 30 s behind it;
    // restored once, while the window after an advertisement is open.
    void lostPosition()
    {
        struct Row { double lastGood, current; int windowPolls, attempts; bool lost, recover; };
        const Row rows[] = {{30, 0, 12, 0, false, false}, {30.5, 0, 1, 0, true, true}, {100, 70, 12, 0, false, false},
                            {100, 69.9, 12, 0, true, true}, {qQNaN(), 0, 12, 0, false, false}, {qInf(), 0, 12, 0, false, false},
                            {100, -qInf(), 12, 0, false, false}, {100, 0, 0, 0, true, false}, {100, 0, 12, 1, true, false},
                            {100, 0, 12, -1, true, false}};
        for (const Row &row : rows) {
            const QByteArray name = QByteArray::number(&row - rows);
            QVERIFY2(WebStallRules::isPositionLost(row.lastGood, row.current) == row.lost, name.constData());
            QVERIFY2(WebStallRules::shouldRecoverLostPosition(row.lastGood, row.current, row.windowPolls, row.attempts) == row.recover,
                     name.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestWebStallRules)
#include "tst_webstallrules.moc"

#include "playback/WebStallTracker.h"

#include <QRegularExpression>
#include <QTest>

using Verdict = WebStallTracker::Verdict;

namespace {

// polls: space-separated "<time>[flags][*<count>]", flags p paused, e ended, a advertisement,
// h hidden, s scrubbing, l live (no duration). decisions: "<poll>:recover <target>" or
// "<poll>:error", polls counted from 1.
struct Row {
    const char *name;
    QString polls;
    QStringList decisions;
    double step = 1.0;
    double duration = 100;
    bool nearAdAfter = false;
};

const QList<Row> rows{
    {"nudged at 6 s, given up 14 s later", u"50 50*6 50*14"_qs, {u"7:recover 49"_qs, u"21:error"_qs}},
    {"frozen where the nudge sent it", u"50 50*6 49*13 49"_qs, {u"7:recover 49"_qs, u"21:error"_qs}},
    {"progress clears the attempt", u"50 50*6 60 60*6"_qs, {u"7:recover 49"_qs, u"14:recover 59"_qs}},
    {"paused after the nudge", u"50 50*6 50p*20"_qs, {u"7:recover 49"_qs}},
    {"0.3 s is progress", u"50 50*5 50.3 50.3*4"_qs, {}},
    {"0.2 s is not", u"50 50*5 50.2"_qs, {u"7:recover 49"_qs}},
    {"paused", u"50 50p*30"_qs, {}},
    {"ended", u"50 50e*30"_qs, {}},
    {"hidden", u"50 50h*30"_qs, {}},
    {"scrubbing", u"50 50s*30"_qs, {}},
    {"live", u"50 50l*30"_qs, {}},
    {"advertisement", u"50 50a*30"_qs, {}, 1.0, 100, true},
    {"a slept machine counts 1.5 s a poll", u"50 50*4"_qs, {u"5:recover 49"_qs}, 600},
    {"a clock going back counts nothing", u"50 50*40"_qs, {}, -5},
    {"position thrown back during the advertisement", u"600 600a 0a 0 0.2 0.4 0.6 0.8"_qs,
     {u"4:recover 600"_qs}, 0.2, 1000, true},
    {"position thrown back after it", u"600 600a 600 0 0.2 0.4 0.6"_qs, {u"5:recover 600"_qs}, 0.2, 1000,
     true},
    {"a short video is never restored", u"25 25a 0a 0 0.2 0.4 0.6"_qs, {}, 0.2, 25, true},
    {"window after the advertisement: 12 polls", u"600 600a 600p*12"_qs, {}, 1.0, 1000, true},
    {"then normal polls", u"600 600a 600p*13"_qs, {}, 1.0, 1000, false},
};

} // namespace

class TestWebStallTracker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decides_data()
    {
        QTest::addColumn<qsizetype>("row");
        for (qsizetype i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void decides()
    {
        QFETCH(qsizetype, row);
        const Row &r = rows.at(row);
        double now = 1000;
        WebStallTracker tracker(now);
        QStringList decisions;
        int poll = 0;
        for (const QString &token : r.polls.split(u' ')) {
            const QRegularExpressionMatch m = QRegularExpression(u"^([0-9.]+)([a-z]*)(?:\\*(\\d+))?$"_qs).match(token);
            const QString flags = m.captured(2);
            const WebStallTracker::Sample sample{m.captured(1).toDouble(), flags.contains(u'l') ? 0 : r.duration,
                                                 flags.contains(u'p'), flags.contains(u'e'), flags.contains(u'a'),
                                                 flags.contains(u'h'), flags.contains(u's')};
            for (int i = 0; i < (m.hasCaptured(3) ? m.captured(3).toInt() : 1); ++i) {
                const WebStallTracker::Decision decision = tracker.observe(sample, now += r.step);
                ++poll;
                if (decision.verdict == Verdict::recover)
                    decisions << u"%1:recover %2"_qs.arg(poll).arg(decision.target);
                else if (decision.verdict == Verdict::showError)
                    decisions << u"%1:error"_qs.arg(poll);
            }
        }
        QCOMPARE(decisions, r.decisions);
        QCOMPARE(tracker.nearAd(), r.nearAdAfter);
    }
};

QTEST_GUILESS_MAIN(TestWebStallTracker)
#include "tst_webstalltracker.moc"

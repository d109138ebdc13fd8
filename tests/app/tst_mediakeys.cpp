#include "FakeMediaControls.h"
#include "ModelHarness.h"

#include "app/MediaKeys.h"

#include <QPointer>
#include <QTest>

namespace {

using Status = MediaControls::Status;

// Clip 1, ready, 60 s long, in a model whose windows each get fake media controls.
struct Fixture {
    ModelHarness h;
    QList<QPointer<FakeMediaControls>> made;
    bool busAvailable = true;
    MediaKeys keys{h.model(), [this]() -> std::unique_ptr<MediaControls> {
                       if (!busAvailable)
                           return nullptr;
                       auto controls = std::make_unique<FakeMediaControls>();
                       made.append(controls.get());
                       return controls;
                   }};

    PlaybackSession &session() const { return *h.model().sessions().first(); }
    FakeMediaControls &controls() const { return *made.first(); }
    FakeNativePlayer &player() const { return *ModelHarness::player(session()); }

    void openReady()
    {
        h.openClip(1);
        player().emitDuration(player().currentItem(), 60);
        player().emitStatus(player().currentItem(), NativePlayer::Status::readyToPlay);
    }

    // The status, title, position/length, rate and volume published last, what can be done,
    // the seeks announced, and how many players are on the bus.
    QString summary() const
    {
        const int alive = int(std::ranges::count_if(made, [](const auto &c) { return !c.isNull(); }));
        if (made.isEmpty() || made.first().isNull())
            return u"players %1"_qs.arg(alive);
        const MediaControls::State &s = controls().published;
        const char *status[] = {"playing", "paused", "stopped"};
        QStringList can;
        for (const auto &[on, name] : {std::pair(s.canPlay, "play"), {s.canSeek, "seek"}, {s.canGoNext, "next"}})
            if (on)
                can << QString::fromLatin1(name);
        QStringList seeks;
        for (double at : controls().seeked)
            seeks << QString::number(at);
        return u"%1 %2 %3/%4 x%5 v%6 [%7] seeked [%8] players %9"_qs.arg(status[int(s.status)], s.title)
            .arg(s.position).arg(s.length.value_or(-1)).arg(s.rate).arg(s.volume)
            .arg(can.join(u' '), seeks.join(u' ')).arg(alive);
    }
};

struct Row {
    const char *name;
    std::function<void(Fixture &)> act;
    QString expected;
};

const QList<Row> rows{
    {"loading media cannot be played yet", [](Fixture &f) { f.h.openClip(1); },
     "stopped media.example 0/-1 x1 v0.85 [] seeked [] players 1"},
    {"ready media plays and seeks", [](Fixture &f) { f.openReady(); },
     "playing media.example 0/60 x1 v0.85 [play seek] seeked [] players 1"},
    {"play-pause pauses a playing window",
     [](Fixture &f) { f.openReady(); Q_EMIT f.controls().playPauseRequested(); },
     "paused media.example 0/60 x1 v0.85 [play seek] seeked [] players 1"},
    {"play on a playing window changes nothing",
     [](Fixture &f) { f.openReady(); Q_EMIT f.controls().playRequested(); QCOMPARE(f.player().playCount(), 1); },
     "playing media.example 0/60 x1 v0.85 [play seek] seeked [] players 1"},
    {"a relative seek moves and is announced",
     [](Fixture &f) { f.openReady(); Q_EMIT f.controls().seekRequested(5); },
     "playing media.example 5/60 x1 v0.85 [play seek] seeked [5] players 1"},
    {"a seek back by half a second is announced too",
     [](Fixture &f) { f.openReady(); f.player().emitTick(f.player().currentItem(), 1); Q_EMIT f.controls().seekRequested(-0.5); },
     "playing media.example 0.5/60 x1 v0.85 [play seek] seeked [0.5] players 1"},
    {"a tick is no seek",
     [](Fixture &f) { f.openReady(); f.player().emitTick(f.player().currentItem(), 1); },
     "playing media.example 1/60 x1 v0.85 [play seek] seeked [] players 1"},
    {"a position for another track is ignored",
     [](Fixture &f) { f.openReady(); Q_EMIT f.controls().positionRequested(u"/other"_qs, 30); },
     "playing media.example 0/60 x1 v0.85 [play seek] seeked [] players 1"},
    {"a position for this track moves there",
     [](Fixture &f) { f.openReady(); Q_EMIT f.controls().positionRequested(f.controls().published.trackId, 30); },
     "playing media.example 30/60 x1 v0.85 [play seek] seeked [30] players 1"},
    {"rate and volume follow, volume within 0..1, no rate of 0",
     [](Fixture &f) {
         f.openReady();
         Q_EMIT f.controls().rateRequested(0);
         Q_EMIT f.controls().rateRequested(1.5);
         Q_EMIT f.controls().volumeRequested(3);
     },
     "playing media.example 0/60 x1.5 v1 [play seek] seeked [] players 1"},
    {"each window has its own player; closing one takes it away",
     [](Fixture &f) { f.openReady(); f.h.openClip(2); f.h.model().close(f.session()); },
     "players 1"},
    {"no session bus: no players, the window plays on",
     [](Fixture &f) { f.busAvailable = false; f.openReady(); QVERIFY(!f.keys.controls(f.session())); },
     "players 0"},
    {"next takes the playlist's following entry",
     [](Fixture &f) {
         const QUrl a = QUrl::fromLocalFile(f.h.touch(u"q/a.mp4"_qs)), b = QUrl::fromLocalFile(f.h.touch(u"q/b.mp4"_qs));
         f.h.model().addToPlaylist({a, b});
         QVERIFY(f.controls().published.canGoNext);
         Q_EMIT f.controls().nextRequested();
         QCOMPARE(f.h.model().sessions().first()->source().url(), b);
         QVERIFY(!f.made.last()->published.canGoNext);
     },
     "players 1"},
    {"raise brings a hidden window back",
     [](Fixture &f) { f.openReady(); f.h.model().hide(f.session()); Q_EMIT f.controls().raiseRequested(); QVERIFY(!f.session().isHidden()); },
     "playing media.example 0/60 x1 v0.85 [play seek] seeked [] players 1"},
};

} // namespace

class TestMediaKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requests_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void requests()
    {
        QFETCH(int, row);
        Fixture fixture;
        rows.at(row).act(fixture);
        if (!QTest::currentTestFailed())
            QCOMPARE(fixture.summary(), rows.at(row).expected);
    }
};

QTEST_MAIN(TestMediaKeys)
#include "tst_mediakeys.moc"

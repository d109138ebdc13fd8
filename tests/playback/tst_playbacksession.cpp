#include "SessionScript.h"
#include "platform/AppPaths.h"

#include "KiteCore/L10n.h"
#include "TemporaryHome.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

using Status = NativePlayer::Status;
using namespace std::chrono_literals;
using SessionScript::number;

namespace {

const MediaSource clip = SessionHarness::localSource(u"/media/clip.mp4"_qs, u"Evening news: part 2/3"_qs);

// Steps of the native player: "dur:<s|none>", "ready", "fail", "tick:<s>", "size:<w>x<h>", "end",
// "stale", "staletick:<s>" (events of another item), "staledur:<s>" (a length the player knows before telling),
// "ppause" (the player pauses by itself), "frame:<ok|reason>" (a frame request ends), "lang:<code>",
// "wait:<on|off>" (the player waits for data, or no longer).
// "tracks" (audio 1 and 2, subtitle 1; 1s shown), "staletracks", "pick:<a|s><id>" (s0: off),
// "restore:<a|s><id>,..." (a remembered pick).
// Facts: seeks ("<s>" exact, "~<s>" near), plays, pauses, rate, pvolume, aspect, progress, ends,
// shown (the tracks the session knows to be shown), choice.
struct Row {
    const char *name;
    const char *steps;
    const char *facts;
};

const QList<Row> rows{
    {"defaults", "", "state=loading;title=Evening news: part 2/3;volume=0.85;pvolume=0.85;speed=1;loop=0;canPiP=0;status=Opening…"},
    {"switches from the preferences", "pref.alwaysOnTop=true pref.lockAspect=false pref.bilibiliHideDanmaku=true", "isPinned=1;lockAspect=0;bilibiliDanmakuHidden=1"},
    {"stored speed 0.2 refused", "store.speed=0.2 ready", "speed=1;rate=1"},
    {"stored speed 0.25 applied", "store.speed=0.25 ready", "speed=0.25;rate=0.25"},
    {"stored speed 3 applied", "store.speed=3 ready", "speed=3;rate=3"},
    {"stored speed 3.5 refused", "store.speed=3.5", "speed=1"},
    {"damaged stored values ignored", "store.speed=fast store.volume=loud", "speed=1;volume=0.85;pvolume=0.85"},
    {"loud volume kept, player clamped", "store.volume=1.5 store.loop=true", "volume=1.5;pvolume=1;loop=1"},
    {"quick values written", "set.volume=0.3 set.speed=1.75 set.loop=true", "stored.volume=0.3;stored.speed=1.75;stored.loop=true"},
    {"unusable values refused", "set.speed=0 set.speed=-1 set.speed=nan set.volume=nan", "speed=1;volume=0.85;stored.speed=;stored.volume="},
    {"speed reaches a playing player", "ready set.speed=1.5", "rate=1.5"},
    {"a paused player stays paused", "ready toggle set.speed=2", "rate=0;isPlaying=0;status=Paused"},
    {"and plays at the new speed", "ready toggle set.speed=2 toggle", "rate=2;isPlaying=1;status=Playing"},
    {"ready resumes, then plays once", "resume=40 dur:100 ready ppause ready", "state=ready;plays=1;isPlaying=0"},
    {"3 s is not resumed", "resume=3 dur:100 ready", "seeks="},
    {"3.5 s is", "resume=3.5 dur:100 ready", "seeks=~3.5"},
    {"resume stops 3 s before the end", "resume=99 dur:100 ready", "seeks=~97"},
    {"longer than a short media", "resume=10 dur:2 ready", "seeks=~0"},
    {"length unknown: uncapped", "resume=99 ready", "seeks=~99"},
    {"length the player knows already", "resume=99 staledur:100 ready", "duration=100;seeks=~97"},
    {"resume switched off", "pref.resumePlayback=false resume=50 dur:100 ready", "seeks="},
    {"saved position not a number", "resume=nan dur:100 ready", "seeks="},
    {"play 0.4 s before the end starts over", "pref.pauseWhenHidden=true hide dur:100 ready tick:99.6 play", "seeks=0;plays=1;rate=1"},
    {"0.5 s before plays on", "pref.pauseWhenHidden=true hide dur:100 ready tick:99.5 play", "seeks=;plays=1"},
    {"length unknown plays on", "pref.pauseWhenHidden=true hide ready tick:500 play", "seeks=;plays=1"},
    {"seek before the start", "dur:120 ready seek:-5", "seeks=0;elapsed=0"},
    {"seek past the end", "dur:120 ready seek:500", "seeks=120;elapsed=120"},
    {"seek with the length unknown", "ready seek:500", "seeks=500;elapsed=500"},
    {"seek to no number", "dur:120 ready seek:nan", "seeks=;elapsed=0"},
    {"player values followed, other items ignored", "ready dur:60 tick:12 size:1920x1080 stale", "duration=60;elapsed=12;aspect=1.77778;isPlaying=1;progress=0.2"},
    {"no picture, no aspect", "ready size:0x0", "aspect=none"},
    {"progress past the end", "dur:100 tick:150", "progress=1"},
    {"progress every third tick", "ready tick:1 tick:2 tick:3 tick:4 dur:30 tick:5 tick:6 tick:7 tick:8 tick:9 tick:10 staletick:11 tick:11 tick:12", "reports=3/-,6/30,9/30,12/30"},
    {"the end", "dur:10 ready tick:10 end stale", "ends=1;isPlaying=0;seeks=;plays=1"},
    {"the end of a loop", "dur:10 ready set.loop=true tick:10 end", "ends=0;isPlaying=1;seeks=0;rate=1"},
    {"an end well before the length fails, looping or not", "dur:15 ready set.loop=true tick:3 end",
     "ends=0;state=failed;error=Playback stopped at 0:03 of 0:15.;isPlaying=0"},
    {"waiting for data shows", "ready wait:on", "isBuffering=1;status=Buffering…;state=ready"},
    {"and ends with the data", "ready wait:on wait:off", "isBuffering=0;status=Playing"},
    {"hiding pauses", "pref.pauseWhenHidden=true dur:100 ready tick:17 hide hide", "isPlaying=0;pauses=1;status=Hidden;reports=17/100"},
    {"showing resumes", "pref.pauseWhenHidden=true ready hide show", "isPlaying=1;reports=0/-"},
    {"hiding may keep playing", "pref.pauseWhenHidden=false ready hide", "isPlaying=1;pauses=0"},
    {"paused before hiding stays paused", "pref.pauseWhenHidden=true ready toggle hide show", "isPlaying=0"},
    {"the hide pause is spent once shown", "pref.pauseWhenHidden=true ready hide show toggle hide show", "isPlaying=0"},
    {"opened hidden waits", "pref.pauseWhenHidden=false hide ready", "state=ready;pauses=1;plays=0;isPlaying=0"},
    {"until shown", "pref.pauseWhenHidden=false hide ready show", "plays=1;isPlaying=1"},
    {"failure pauses", "ready hide fail", "state=failed;error=Bad data.;rate=0;isPlaying=0;status=Failed"},
    {"stopped: late events change nothing", "resume=50 stop ready fail tick:1 tick:2 tick:3 end play seek:5 shot", "state=loading;isPlaying=0;elapsed=0;reports=;ends=0;plays=0;seeks="},
    {"screenshot saved", "ready shot frame:ok", "toast=Screenshot saved to Desktop;state=ready"},
    {"screenshot failed", "ready shot frame:broken", "toast=Screenshot failed"},
    {"picks are remembered", "ready tracks pick:a2 pick:s0", "shown=a2;choice=audio=2 subtitle=0"},
    {"a remembered pick waits for the tracks", "restore:a2,s0 ready", "shown=;choice=audio=2 subtitle=0"},
    {"and applies once they are known", "restore:a2,s0 ready tracks", "shown=a2"},
    {"a pick the media lacks leaves its default", "restore:a5,s4 tracks", "shown=a1 s1"},
    {"tracks of another item are ignored", "staletracks", "shown="},
    {"failure names its reason in Chinese", "ready shot lang:zh frame:broken", "toast=截图失败：broken"},
    {"or asks to try again", "ready shot lang:zh frame:", "toast=截图失败：请重试"},
};

} // namespace

class TestPlaybackSession : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<SessionHarness> m_harness;

    PlaybackSession *m_current = nullptr;

    FakeNativePlayer &player() const { return *m_harness->player(); }

    bool step(const QString &step)
    {
        FakeNativePlayer &p = player();
        const quint64 item = p.currentItem();
        const QString arg = step.section(u':', 1);
        if (step.startsWith(u"dur:")) p.emitDuration(item, arg == u"none" ? std::nullopt : std::optional(arg.toDouble()));
        else if (step.startsWith(u"staledur:")) p.emitDuration(item + 1, arg.toDouble());
        else if (step == u"ready") p.emitStatus(item, Status::readyToPlay);
        else if (step == u"fail") p.emitStatus(item, Status::failed, PlatformError{PlatformError::Domain::media, -17, u"Bad data."_qs});
        else if (step.startsWith(u"tick:")) p.emitTick(item, arg.toDouble());
        else if (step.startsWith(u"staletick:")) p.emitTick(item + 1, arg.toDouble());
        else if (step.startsWith(u"size:")) p.emitPresentationSize(item, QSizeF(arg.section(u'x', 0, 0).toDouble(), arg.section(u'x', 1).toDouble()));
        else if (step == u"end") p.emitPlayedToEnd(item);
        else if (step == u"ppause") p.pause();
        else if (step.startsWith(u"wait:")) p.emitBuffering(item, arg == u"on");
        else if (step.startsWith(u"frame:")) return p.completeFrameRequest(arg == u"ok", arg == u"ok" ? QString() : arg);
        else if (step.startsWith(u"lang:")) L10n::setLanguage(arg == u"zh" ? AppLanguage::zh : AppLanguage::en);
        else if (step == u"tracks" || step == u"staletracks") {
            using T = NativePlayer::TrackType;
            p.emitTracks(item + (step == u"tracks" ? 0 : 1), {{1, T::audio, {}, {}, {}, true, false, true}, {2, T::audio, {}, {}, {}, false, false, false},
                                                             {1, T::subtitle, {}, {}, {}, true, false, true}});
        } else if (step.startsWith(u"pick:")) {
            const int id = arg.mid(1).toInt();
            m_current->selectTrack(arg.startsWith(u'a') ? NativePlayer::TrackType::audio : NativePlayer::TrackType::subtitle,
                                   id > 0 ? std::optional(id) : std::nullopt);
        } else if (step.startsWith(u"restore:"))
            m_current->restoreTrackChoice(TrackChoice::fromText(QString(arg).replace(u"a"_qs, u"audio="_qs).replace(u"s"_qs, u"subtitle="_qs).replace(u',', u' ')));
        else if (step == u"stale") {
            p.emitDuration(item + 1, 999.0);
            p.emitTick(item + 1, 77.0);
            p.emitPresentationSize(item + 1, QSizeF(100, 100));
            p.emitRate(item + 1, 0.0);
            p.emitPlayedToEnd(item + 1);
        } else return false;
        return true;
    }

    std::optional<QString> fact(const PlaybackSession &session, const QString &name) const
    {
        FakeNativePlayer &p = player();
        if (name == u"seeks") {
            QStringList seeks;
            for (const FakeNativePlayer::Seek &seek : p.seeks())
                seeks << (seek.mode == NativePlayer::SeekMode::exact ? QString() : u"~"_qs) + number(seek.seconds);
            return seeks.join(u',');
        }
        if (name == u"plays") return QString::number(p.playCount());
        if (name == u"pauses") return QString::number(p.pauseCount());
        if (name == u"rate") return number(p.rate());
        if (name == u"pvolume") return number(p.volume());
        if (name == u"aspect") return session.contentAspect() ? number(*session.contentAspect()) : u"none"_qs;
        if (name == u"progress") return number(session.progress());
        if (name == u"ends") return QString::number(m_harness->reachedEnd());
        if (name == u"shown") {
            QStringList shown;
            for (const NativePlayer::Track &t : session.tracks())
                if (t.isSelected)
                    shown << (t.type == NativePlayer::TrackType::audio ? u"a"_qs : u"s"_qs) + QString::number(t.id);
            return shown.join(u' ');
        }
        if (name == u"choice") return session.trackChoice().toText();
        return std::nullopt;
    }

private Q_SLOTS:
    void initTestCase() { m_home = std::make_unique<TemporaryHome>(); }

    void init()
    {
        m_harness = std::make_unique<SessionHarness>();
        QVERIFY(m_harness->isValid());
        L10n::setLanguage(AppLanguage::en);
    }

    void cleanup()
    {
        m_harness.reset();
        QDir(AppPaths::screenshotFolder()).removeRecursively();
    }

    void operations_data()
    {
        QTest::addColumn<qsizetype>("row");
        for (qsizetype i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void operations()
    {
        QFETCH(qsizetype, row);
        const QStringList steps = QString::fromUtf8(rows.at(row).steps).split(u' ', Qt::SkipEmptyParts);
        auto session = m_harness->open(clip, SessionScript::prepare(*m_harness, steps));
        m_current = session.get();
        QPointer<FakeNativePlayer> loaded = m_harness->player();
        QCOMPARE(loaded->loadedUrls(), QList<QUrl>{clip.url()});
        SessionScript::check(*m_harness, session, QString::fromUtf8(rows.at(row).steps), QString::fromUtf8(rows.at(row).facts),
                             [this](const QString &s) { return step(s); },
                             [&](const QString &name) { return fact(*session, name); });
    }

    void screenshotIsNamedAfterTheTitle()
    {
        auto session = m_harness->open(clip);
        player().emitStatus(player().currentItem(), Status::readyToPlay);
        const QString before = QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_qs);
        session->captureScreenshot();
        QCOMPARE(player().frameRequests().size(), 1);
        const QFileInfo file(player().frameRequests().first().path);
        QCOMPARE(file.absolutePath(), m_home->filePath(u"Desktop/澜萤截图"_qs));
        QVERIFY2(file.fileName().startsWith(u"Evening news- part 2-3-"_qs) && file.fileName().mid(23, 15) >= before, qPrintable(file.fileName()));
        QVERIFY(player().completeFrameRequest(true));
        QVERIFY(file.exists());
    }

    void watchdogFailsAStuckLoadOnly()
    {
        PlaybackSession::Timing timing;
        timing.watchdog = 20ms;
        auto stuck = m_harness->open(clip, std::nullopt, timing);
        auto ready = m_harness->open(clip, std::nullopt, timing);
        player().emitStatus(player().currentItem(), Status::readyToPlay);
        QTRY_VERIFY(stuck->state().isFailed());
        QCOMPARE(stuck->state().error()->message(), u"The file still hasn't opened after 30 seconds."_qs);
        QVERIFY(ready->state().isReady());
    }

    // Playing without moving on in time or data fails; paused waits as long as it likes.
    void stallFailsOnlyWhilePlaying()
    {
        PlaybackSession::Timing timing;
        timing.nativeStall = 40ms;
        auto stalled = m_harness->open(clip, std::nullopt, timing);
        FakeNativePlayer *stalledPlayer = m_harness->player();
        auto paused = m_harness->open(clip, std::nullopt, timing);
        for (FakeNativePlayer *p : {stalledPlayer, m_harness->player()}) {
            p->emitStatus(p->currentItem(), Status::readyToPlay);
            p->emitBuffering(p->currentItem(), true);
        }
        paused->togglePlayback();
        QTRY_VERIFY(stalled->state().isFailed());
        QCOMPARE(stalled->state().error()->kind(), AppError::Kind::network);
        QVERIFY(!stalled->isBuffering() && paused->state().isReady());
    }

    void newerToastStaysItsFullTime()
    {
        PlaybackSession::Timing timing;
        timing.toast = 150ms;
        auto session = m_harness->open(clip, std::nullopt, timing);
        QElapsedTimer clock;
        clock.start();
        session->showToast(u"first"_qs);
        QTRY_VERIFY(clock.elapsed() >= 75);
        session->showToast(u"second"_qs);
        QTRY_VERIFY(!session->toast());
        QVERIFY2(clock.elapsed() >= 220, qPrintable(QString::number(clock.elapsed())));
    }

    void retryRebuildsAndIgnoresTheOldPlayer()
    {
        auto session = m_harness->open(clip, 40.0);
        QPointer<FakeNativePlayer> old = m_harness->player();
        old->emitStatus(old->currentItem(), Status::failed);
        session->retry();
        QCOMPARE(m_harness->playersMade(), 2);
        QCOMPARE(old->unloadCount(), 1);
        QVERIFY(session->player() == m_harness->player() && session->state().isLoading());
        // Late events of the old player, even naming an item the new one also uses.
        old->emitTick(player().currentItem(), 80.0);
        old->emitPlayedToEnd(player().currentItem());
        QCOMPARE(session->elapsed(), 0.0);
        player().emitDuration(player().currentItem(), 100.0);
        player().emitStatus(player().currentItem(), Status::readyToPlay);
        QCOMPARE(player().seeks().size(), 1);
        QCOMPARE(player().playCount(), 1);
        QTRY_VERIFY(old.isNull());
    }

    void ownerMayDiscardTheSessionFromItsEndCallback()
    {
        auto session = m_harness->open(clip);
        connect(session.get(), &PlaybackSession::reachedEnd, [&session] { session.reset(); });
        player().emitPlayedToEnd(player().currentItem());
        QVERIFY(!session);
        QTRY_VERIFY(!m_harness->player());
    }

    void playerThatCannotBeMadeFails()
    {
        auto session = m_harness->openWith([] { return std::unique_ptr<NativePlayer>(); }, clip);
        QCOMPARE(session->state().error()->message(), u"An unknown error occurred."_qs);
        session->captureScreenshot();
        QVERIFY(!session->toast());
    }

    void everyAssignmentNotifies()
    {
        auto session = m_harness->open(clip);
        QSignalSpy loop(session.get(), &PlaybackSession::loopChanged);
        session->setLoop(false);
        session->setLoop(false);
        QCOMPARE(loop.size(), 2);
    }
};

QTEST_MAIN(TestPlaybackSession)
#include "tst_playbacksession.moc"

#include "SessionHarness.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

using Status = NativePlayer::Status;
using SeekMode = NativePlayer::SeekMode;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {
PlaybackSession::Timing withTiming(std::chrono::milliseconds watchdog,
                                   std::chrono::milliseconds toast = std::chrono::milliseconds(2600))
{
    PlaybackSession::Timing timing;
    timing.watchdog = watchdog;
    timing.toast = toast;
    return timing;
}


const MediaSource clip = SessionHarness::localSource(QStringLiteral("/media/clip.mp4"));
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

QList<double> seekTargets(const FakeNativePlayer &player)
{
    QList<double> targets;
    for (const FakeNativePlayer::Seek &seek : player.seeks())
        targets.append(seek.seconds);
    return targets;
}

QList<double> elapsedOf(const QList<SessionHarness::Progress> &reports)
{
    QList<double> values;
    for (const SessionHarness::Progress &report : reports)
        values.append(report.elapsed);
    return values;
}

} // namespace

class TestPlaybackSession : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SessionHarness> m_harness;

    // A session on a fake player; the duration is reported before the item is ready.
    std::unique_ptr<PlaybackSession> openReady(std::optional<double> duration = 100.0,
                                               std::optional<double> resume = std::nullopt)
    {
        auto session = m_harness->open(clip, resume);
        FakeNativePlayer *player = m_harness->player();
        if (duration)
            player->emitDuration(player->currentItem(), duration);
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        return session;
    }

private Q_SLOTS:
    void init()
    {
        m_harness = std::make_unique<SessionHarness>();
        QVERIFY(m_harness->isValid());
        L10n::setLanguage(AppLanguage::en);
    }

    void cleanup() { m_harness.reset(); }

    void startsFromPreferencesAndDefaults_data()
    {
        QTest::addColumn<bool>("switches");
        QTest::newRow("switches on") << true;
        QTest::newRow("switches off") << false;
    }

    void startsFromPreferencesAndDefaults()
    {
        QFETCH(bool, switches);
        m_harness->preferences().setAlwaysOnTop(switches);
        m_harness->preferences().setLockAspect(!switches);
        m_harness->preferences().setBilibiliHideDanmaku(switches);
        auto session = m_harness->open(clip);
        QCOMPARE(session->isPinned(), switches);
        QCOMPARE(session->lockAspect(), !switches);
        QCOMPARE(session->bilibiliDanmakuHidden(), switches);
        QVERIFY(session->state().isLoading());
        QCOMPARE(session->title(), clip.title());
        QCOMPARE(session->volume(), 0.85);
        QCOMPARE(session->speed(), 1.0);
        QVERIFY(!session->loop());
        QVERIFY(!session->canPiP());
        // The player exists at once, already loading the source at the session's volume.
        QVERIFY(session->player() == m_harness->player());
        QCOMPARE(m_harness->player()->loadedUrls(), QList<QUrl>{clip.url()});
        QCOMPARE(m_harness->player()->volume(), 0.85);
    }

    void restoresQuickPreferences_data()
    {
        QTest::addColumn<QVariant>("storedVolume");
        QTest::addColumn<QVariant>("storedSpeed");
        QTest::addColumn<QVariant>("storedLoop");
        QTest::addColumn<double>("volume");
        QTest::addColumn<double>("playerVolume");
        QTest::addColumn<double>("speed");
        QTest::addColumn<bool>("loop");
        const QVariant none;
        QTest::newRow("nothing stored") << none << none << none << 0.85 << 0.85 << 1.0 << false;
        QTest::newRow("speed 0.2 ignored") << none << QVariant(0.2) << none << 0.85 << 0.85 << 1.0 << false;
        QTest::newRow("speed 3.5 ignored") << none << QVariant(3.5) << none << 0.85 << 0.85 << 1.0 << false;
        QTest::newRow("speed 0.25 applied") << none << QVariant(0.25) << none << 0.85 << 0.85 << 0.25 << false;
        QTest::newRow("speed 3.0 applied") << none << QVariant(3.0) << none << 0.85 << 0.85 << 3.0 << false;
        QTest::newRow("speed not a number") << none << QVariant(u"fast"_qs) << none << 0.85 << 0.85 << 1.0 << false;
        QTest::newRow("volume and loop") << QVariant(0.4) << none << QVariant(true) << 0.4 << 0.4 << 1.0 << true;
        QTest::newRow("damaged volume ignored") << QVariant(u"loud"_qs) << none << none << 0.85 << 0.85 << 1.0 << false;
        QTest::newRow("loud volume kept, player clamped")
            << QVariant(1.5) << none << QVariant(false) << 1.5 << 1.0 << 1.0 << false;
    }

    void restoresQuickPreferences()
    {
        QFETCH(QVariant, storedVolume);
        QFETCH(QVariant, storedSpeed);
        QFETCH(QVariant, storedLoop);
        QFETCH(double, volume);
        QFETCH(double, playerVolume);
        QFETCH(double, speed);
        QFETCH(bool, loop);
        QSettings &store = m_harness->quickStore();
        const std::pair<QString, QVariant> stored[] = {
            {u"default.volume"_qs, storedVolume}, {u"default.speed"_qs, storedSpeed}, {u"default.loop"_qs, storedLoop}};
        for (const auto &[key, value] : stored) {
            if (value.isValid())
                store.setValue(key, value);
        }
        auto session = m_harness->open(clip);
        QCOMPARE(session->volume(), volume);
        QCOMPARE(m_harness->player()->volume(), playerVolume);
        QCOMPARE(session->speed(), speed);
        QCOMPARE(session->loop(), loop);
        // The speed reaches the player with the first play.
        m_harness->player()->emitStatus(m_harness->player()->currentItem(), Status::readyToPlay);
        QCOMPARE(m_harness->player()->rate(), speed);
    }

    void writesQuickPreferences_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("volume") << u"volume"_qs << QVariant(0.3) << u"default.volume"_qs << QVariant(0.3);
        QTest::newRow("speed") << u"speed"_qs << QVariant(1.75) << u"default.speed"_qs << QVariant(1.75);
        QTest::newRow("loop") << u"loop"_qs << QVariant(true) << u"default.loop"_qs << QVariant(true);
        QTest::newRow("speed 0 refused") << u"speed"_qs << QVariant(0.0) << u"default.speed"_qs << QVariant();
        QTest::newRow("negative speed refused") << u"speed"_qs << QVariant(-1.0) << u"default.speed"_qs << QVariant();
        QTest::newRow("speed not a number refused") << u"speed"_qs << QVariant(notANumber) << u"default.speed"_qs << QVariant();
        QTest::newRow("volume not a number refused") << u"volume"_qs << QVariant(notANumber) << u"default.volume"_qs << QVariant();
    }

    void writesQuickPreferences()
    {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        auto session = m_harness->open(clip);
        const QVariant before = session->property(property.toLatin1().constData());
        QVERIFY(session->setProperty(property.toLatin1().constData(), value));
        const QVariant after = session->property(property.toLatin1().constData());
        const QVariant onDisk = m_harness->storedQuickValue(key);
        if (stored.isValid()) {
            QCOMPARE(after, value);
            QVERIFY2(onDisk.isValid(), "not written");
            QCOMPARE(onDisk.toString(), stored.toString());
        } else {
            QCOMPARE(after, before);
            QVERIFY(!onDisk.isValid());
        }
    }

    void speedReachesOnlyAPlayingPlayer()
    {
        auto session = openReady();
        FakeNativePlayer *player = m_harness->player();
        QCOMPARE(player->rate(), 1.0);
        session->setSpeed(1.5);
        QCOMPARE(player->rate(), 1.5);
        session->togglePlayback();
        QCOMPARE(player->rate(), 0.0);
        QVERIFY(!session->isPlaying());
        // A paused player stays paused and picks the speed up on the next play.
        session->setSpeed(2.0);
        QCOMPARE(player->rate(), 0.0);
        session->togglePlayback();
        QCOMPARE(player->rate(), 2.0);
        QVERIFY(session->isPlaying());
    }

    void readyResumesThenPlaysOnce()
    {
        auto session = openReady(100.0, 40.0);
        FakeNativePlayer *player = m_harness->player();
        QVERIFY(session->state().isReady());
        QCOMPARE(player->seeks().size(), 1);
        QCOMPARE(player->seeks().first().seconds, 40.0);
        QCOMPARE(player->seeks().first().mode, SeekMode::defaultTolerance);
        QCOMPARE(player->playCount(), 1);
        QVERIFY(session->isPlaying());
        // Auto-play happens once per load, even if the item reports ready again.
        player->pause();
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        QCOMPARE(player->playCount(), 1);
        QVERIFY(!session->isPlaying());
    }

    void resumesSavedPosition_data()
    {
        QTest::addColumn<std::optional<double>>("saved");
        QTest::addColumn<std::optional<double>>("duration");
        QTest::addColumn<bool>("resumePlayback");
        QTest::addColumn<QList<double>>("seeks");
        const std::optional<double> none;
        QTest::newRow("3.0 is not resumed") << std::optional(3.0) << std::optional(100.0) << true << QList<double>{};
        QTest::newRow("3.5 resumes") << std::optional(3.5) << std::optional(100.0) << true << QList<double>{3.5};
        QTest::newRow("99 of 100 stops 3 s early") << std::optional(99.0) << std::optional(100.0) << true << QList<double>{97.0};
        QTest::newRow("longer than a short media") << std::optional(10.0) << std::optional(2.0) << true << QList<double>{0.0};
        QTest::newRow("length unknown: uncapped") << std::optional(99.0) << none << true << QList<double>{99.0};
        QTest::newRow("preference off") << std::optional(50.0) << std::optional(100.0) << false << QList<double>{};
        QTest::newRow("nothing saved") << none << std::optional(100.0) << true << QList<double>{};
        QTest::newRow("not a number") << std::optional(notANumber) << std::optional(100.0) << true << QList<double>{};
    }

    void resumesSavedPosition()
    {
        QFETCH(std::optional<double>, saved);
        QFETCH(std::optional<double>, duration);
        QFETCH(bool, resumePlayback);
        QFETCH(QList<double>, seeks);
        m_harness->preferences().setResumePlayback(resumePlayback);
        const auto session = openReady(duration, saved);
        QCOMPARE(seekTargets(*m_harness->player()), seeks);
    }

    void resumeUsesALengthThePlayerAlreadyKnows()
    {
        auto session = m_harness->open(clip, 99.0);
        FakeNativePlayer *player = m_harness->player();
        // The player knows the length, but its notice for this item has not arrived yet.
        player->emitDuration(player->currentItem() + 1, 100.0);
        QCOMPARE(session->duration(), 0.0);
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        QCOMPARE(session->duration(), 100.0);
        QCOMPARE(seekTargets(*player), QList<double>{97.0});
    }

    void playNearTheEndStartsOver_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<std::optional<double>>("duration");
        QTest::addColumn<QList<double>>("seeks");
        QTest::newRow("99.7 of 100 restarts") << 99.7 << std::optional(100.0) << QList<double>{0.0};
        QTest::newRow("exactly 0.4 before the end") << 99.6 << std::optional(100.0) << QList<double>{0.0};
        QTest::newRow("at the end") << 100.0 << std::optional(100.0) << QList<double>{0.0};
        QTest::newRow("99.5 continues") << 99.5 << std::optional(100.0) << QList<double>{};
        QTest::newRow("length unknown continues") << 500.0 << std::optional<double>() << QList<double>{};
    }

    void playNearTheEndStartsOver()
    {
        QFETCH(double, position);
        QFETCH(std::optional<double>, duration);
        QFETCH(QList<double>, seeks);
        m_harness->preferences().setPauseWhenHidden(true);
        auto session = m_harness->open(clip);
        FakeNativePlayer *player = m_harness->player();
        // Hidden, so the item does not start by itself.
        session->setHidden(true);
        player->emitDuration(player->currentItem(), duration);
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        player->emitTick(player->currentItem(), position);
        QCOMPARE(session->elapsed(), position);
        QCOMPARE(player->playCount(), 0);
        session->play();
        QCOMPARE(seekTargets(*player), seeks);
        QCOMPARE(player->playCount(), 1);
        QCOMPARE(player->rate(), 1.0);
    }

    void seekClampsExactly_data()
    {
        QTest::addColumn<double>("requested");
        QTest::addColumn<std::optional<double>>("duration");
        QTest::addColumn<QList<double>>("seeks");
        QTest::newRow("before the start") << -5.0 << std::optional(120.0) << QList<double>{0.0};
        QTest::newRow("inside") << 42.5 << std::optional(120.0) << QList<double>{42.5};
        QTest::newRow("past the end") << 500.0 << std::optional(120.0) << QList<double>{120.0};
        QTest::newRow("length unknown") << 500.0 << std::optional<double>() << QList<double>{500.0};
        QTest::newRow("not a number") << notANumber << std::optional(120.0) << QList<double>{};
    }

    void seekClampsExactly()
    {
        QFETCH(double, requested);
        QFETCH(std::optional<double>, duration);
        QFETCH(QList<double>, seeks);
        auto session = openReady(duration);
        FakeNativePlayer *player = m_harness->player();
        const double before = session->elapsed();
        session->seek(requested);
        QCOMPARE(seekTargets(*player), seeks);
        for (const FakeNativePlayer::Seek &seek : player->seeks())
            QCOMPARE(seek.mode, SeekMode::exact);
        // The position shows the target at once, before the player reports it.
        QCOMPARE(session->elapsed(), seeks.isEmpty() ? before : seeks.first());
    }

    void followsThePlayersValues_data()
    {
        QTest::addColumn<std::optional<double>>("reportedDuration");
        QTest::addColumn<double>("tick");
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<std::optional<double>>("aspect");
        QTest::newRow("video") << std::optional(60.0) << 12.0 << QSizeF(1920, 1080) << 60.0 << 12.0
                               << std::optional(1920.0 / 1080.0);
        QTest::newRow("portrait") << std::optional(60.0) << 0.0 << QSizeF(720, 1280) << 60.0 << 0.0
                                  << std::optional(720.0 / 1280.0);
        QTest::newRow("audio, no picture") << std::optional(60.0) << 5.0 << QSizeF() << 60.0 << 5.0
                                           << std::optional<double>();
        QTest::newRow("no length, negative time") << std::optional<double>() << -3.0 << QSizeF(0, 1080)
                                                  << 0.0 << 0.0 << std::optional<double>();
        QTest::newRow("infinite length, NaN time")
            << std::optional(std::numeric_limits<double>::infinity()) << notANumber << QSizeF() << 0.0 << 0.0
            << std::optional<double>();
    }

    void followsThePlayersValues()
    {
        QFETCH(std::optional<double>, reportedDuration);
        QFETCH(double, tick);
        QFETCH(QSizeF, size);
        QFETCH(double, duration);
        QFETCH(double, elapsed);
        QFETCH(std::optional<double>, aspect);
        auto session = openReady(std::nullopt);
        FakeNativePlayer *player = m_harness->player();
        const quint64 item = player->currentItem();
        player->emitDuration(item, reportedDuration);
        player->emitTick(item, tick);
        player->emitPresentationSize(item, size);
        QCOMPARE(session->duration(), duration);
        QCOMPARE(session->elapsed(), elapsed);
        QCOMPARE(session->contentAspect(), aspect);
        // Events naming another item change nothing.
        player->emitDuration(item + 1, 999.0);
        player->emitTick(item + 1, 77.0);
        player->emitPresentationSize(item + 1, QSizeF(100, 100));
        player->emitRate(item + 1, 0.0);
        QCOMPARE(session->duration(), duration);
        QCOMPARE(session->elapsed(), elapsed);
        QCOMPARE(session->contentAspect(), aspect);
        QVERIFY(session->isPlaying());
    }

    void reportsProgressEveryThirdTick()
    {
        auto session = openReady(std::nullopt);
        FakeNativePlayer *player = m_harness->player();
        const quint64 item = player->currentItem();
        for (int second = 1; second <= 10; ++second) {
            if (second == 5)
                player->emitDuration(item, 30.0);
            player->emitTick(item, second);
        }
        const QList<SessionHarness::Progress> &reports = m_harness->progress();
        QCOMPARE(elapsedOf(reports), (QList<double>{3.0, 6.0, 9.0}));
        QCOMPARE(reports.at(0).duration, std::nullopt);
        QCOMPARE(reports.at(1).duration, std::optional(30.0));
        QCOMPARE(reports.at(2).duration, std::optional(30.0));
        QCOMPARE(session->progress(), 10.0 / 30.0);
        // Ticks of another item are not counted.
        player->emitTick(item + 1, 11.0);
        player->emitTick(item, 11.0);
        QCOMPARE(reports.size(), 3);
        player->emitTick(item, 12.0);
        QCOMPARE(elapsedOf(reports).last(), 12.0);
    }

    void endsOrLoops_data()
    {
        QTest::addColumn<bool>("loop");
        QTest::newRow("no loop") << false;
        QTest::newRow("loop") << true;
    }

    void endsOrLoops()
    {
        QFETCH(bool, loop);
        auto session = openReady(10.0);
        session->setLoop(loop);
        FakeNativePlayer *player = m_harness->player();
        player->emitTick(player->currentItem(), 10.0);
        QVERIFY(session->isPlaying());
        const int playsBefore = player->playCount();
        QSignalSpy playing(session.get(), &PlaybackSession::isPlayingChanged);
        player->emitPlayedToEnd(player->currentItem());
        QCOMPARE(m_harness->reachedEnd(), loop ? 0 : 1);
        QVERIFY(!playing.isEmpty());
        QCOMPARE(playing.first().at(0).toBool(), false);
        if (loop) {
            QCOMPARE(seekTargets(*player), QList<double>{0.0});
            QCOMPARE(player->rate(), 1.0);
            QVERIFY(session->isPlaying());
        } else {
            QVERIFY(player->seeks().isEmpty());
            QCOMPARE(player->playCount(), playsBefore);
            QVERIFY(!session->isPlaying());
        }
        // An end of another item is not ours.
        player->emitPlayedToEnd(player->currentItem() + 1);
        QCOMPARE(m_harness->reachedEnd(), loop ? 0 : 1);
    }

    void hidingAndShowingFollowTheRules_data()
    {
        QTest::addColumn<bool>("pauseWhenHidden");
        QTest::addColumn<bool>("playingBefore");
        QTest::addColumn<bool>("pausedOnHide");
        QTest::addColumn<bool>("playingAfterShow");
        QTest::newRow("playing, pause when hidden") << true << true << true << true;
        QTest::newRow("playing, keep playing") << false << true << false << true;
        QTest::newRow("paused, pause when hidden") << true << false << false << false;
        QTest::newRow("paused, keep playing") << false << false << false << false;
    }

    void hidingAndShowingFollowTheRules()
    {
        QFETCH(bool, pauseWhenHidden);
        QFETCH(bool, playingBefore);
        QFETCH(bool, pausedOnHide);
        QFETCH(bool, playingAfterShow);
        m_harness->preferences().setPauseWhenHidden(pauseWhenHidden);
        auto session = openReady();
        FakeNativePlayer *player = m_harness->player();
        if (!playingBefore)
            session->togglePlayback();
        const int pauses = player->pauseCount();
        session->setHidden(true);
        QVERIFY(session->isHidden());
        QCOMPARE(player->pauseCount() - pauses, pausedOnHide ? 1 : 0);
        QCOMPARE(session->isPlaying(), playingBefore && !pausedOnHide);
        session->setHidden(false);
        QVERIFY(!session->isHidden());
        QCOMPARE(session->isPlaying(), playingAfterShow);
    }

    void userPauseWhileHiddenIsKeptAfterHideAgain()
    {
        m_harness->preferences().setPauseWhenHidden(true);
        auto session = openReady();
        session->setHidden(true);
        session->setHidden(false);
        QVERIFY(session->isPlaying());
        // The remembered hide-pause is spent: pausing and hiding again does not resume.
        session->togglePlayback();
        session->setHidden(true);
        session->setHidden(false);
        QVERIFY(!session->isPlaying());
    }

    void openedHiddenLoadsWithoutStarting_data()
    {
        QTest::addColumn<bool>("pauseWhenHidden");
        QTest::newRow("pause when hidden") << true;
        QTest::newRow("keep playing when hidden") << false;
    }

    void openedHiddenLoadsWithoutStarting()
    {
        QFETCH(bool, pauseWhenHidden);
        m_harness->preferences().setPauseWhenHidden(pauseWhenHidden);
        auto session = m_harness->open(clip);
        FakeNativePlayer *player = m_harness->player();
        // Still loading: the hide pauses whatever the preference says.
        session->setHidden(true);
        QCOMPARE(player->pauseCount(), 1);
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        QVERIFY(session->state().isReady());
        QCOMPARE(player->playCount(), 0);
        QCOMPARE(player->rate(), 0.0);
        QVERIFY(!session->isPlaying());
        // The hide had paused it, so showing starts it.
        session->setHidden(false);
        QCOMPARE(player->playCount(), 1);
        QVERIFY(session->isPlaying());
    }

    void hidingReportsProgressOncePerChange()
    {
        auto session = openReady(100.0);
        FakeNativePlayer *player = m_harness->player();
        player->emitTick(player->currentItem(), 17.0);
        QSignalSpy hidden(session.get(), &PlaybackSession::isHiddenChanged);
        session->setHidden(true);
        session->setHidden(true);
        QCOMPARE(hidden.size(), 1);
        QCOMPARE(m_harness->progress().size(), 1);
        QCOMPARE(m_harness->progress().first().elapsed, 17.0);
        QCOMPARE(m_harness->progress().first().duration, std::optional(100.0));
        // Showing reports nothing.
        session->setHidden(false);
        QCOMPARE(m_harness->progress().size(), 1);
    }

    void failureClassifiesAndPauses()
    {
        auto session = openReady();
        FakeNativePlayer *player = m_harness->player();
        QVERIFY(player->rate() > 0);
        const PlatformError error{PlatformError::Domain::media, -17, u"Unrecognised media format."_qs};
        // A ready item that fails later becomes failed too.
        player->emitStatus(player->currentItem(), Status::failed, error);
        QVERIFY(session->state().isFailed());
        QCOMPARE(session->state().error()->kind(), AppError::Kind::decode);
        QCOMPARE(session->state().error()->message(), error.description);
        QCOMPARE(player->rate(), 0.0);
        QVERIFY(!session->isPlaying());
    }

    void watchdogFailsAStuckLoad()
    {
        auto session = m_harness->open(clip, std::nullopt, withTiming(20ms));
        QSignalSpy states(session.get(), &PlaybackSession::stateChanged);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), 2000);
        QCOMPARE(states.size(), 1);
        QCOMPARE(session->state().error()->message(), u"Still loading after 30 seconds."_qs);
        QCOMPARE(m_harness->player()->rate(), 0.0);
    }

    void readyCancelsTheWatchdog()
    {
        auto session = m_harness->open(clip, std::nullopt, withTiming(20ms));
        FakeNativePlayer *player = m_harness->player();
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        // A later timer of the same length has fired, so the watchdog would have too.
        bool later = false;
        QTimer::singleShot(60ms, [&later] { later = true; });
        QTRY_VERIFY(later);
        QVERIFY(session->state().isReady());
    }

    void stopMakesLateEventsHarmless_data()
    {
        QTest::addColumn<QString>("event");
        QTest::newRow("ready") << u"ready"_qs;
        QTest::newRow("failed") << u"failed"_qs;
        QTest::newRow("ticks") << u"ticks"_qs;
        QTest::newRow("end") << u"end"_qs;
        QTest::newRow("rate") << u"rate"_qs;
        QTest::newRow("watchdog") << u"watchdog"_qs;
    }

    void stopMakesLateEventsHarmless()
    {
        QFETCH(QString, event);
        auto session = m_harness->open(clip, 50.0, withTiming(20ms));
        QPointer<FakeNativePlayer> player = m_harness->player();
        const quint64 item = player->currentItem();
        QSignalSpy players(session.get(), &PlaybackSession::playerChanged);
        session->stop();
        QVERIFY(session->player() == nullptr);
        QCOMPARE(players.size(), 1);
        QVERIFY(session->state().isLoading());
        QCOMPARE(player->unloadCount(), 1);
        const int plays = player->playCount();
        const qsizetype seeks = player->seeks().size();
        QSignalSpy states(session.get(), &PlaybackSession::stateChanged);
        QSignalSpy playing(session.get(), &PlaybackSession::isPlayingChanged);

        // Events that were already on their way when the window closed.
        if (event == u"ready") {
            player->emitStatus(item, Status::readyToPlay);
        } else if (event == u"failed") {
            player->emitStatus(item, Status::failed);
        } else if (event == u"ticks") {
            for (int second = 1; second <= 6; ++second)
                player->emitTick(item, second);
        } else if (event == u"end") {
            player->emitPlayedToEnd(item);
        } else if (event == u"rate") {
            player->emitRate(item, 1.0);
        } else {
            bool later = false;
            QTimer::singleShot(60ms, [&later] { later = true; });
            QTRY_VERIFY(later);
        }
        QVERIFY(session->state().isLoading());
        QVERIFY(states.isEmpty());
        QVERIFY(playing.isEmpty());
        QVERIFY(m_harness->progress().isEmpty());
        QCOMPARE(m_harness->reachedEnd(), 0);
        if (player) {
            QCOMPARE(player->playCount(), plays);
            QCOMPARE(player->seeks().size(), seeks);
        }
        // Operations without a player do nothing.
        session->play();
        session->seek(5);
        session->captureScreenshot();
        QCOMPARE(session->elapsed(), 0.0);
        // The old player goes away with the event loop.
        QTRY_VERIFY(player.isNull());
    }

    void retryRebuildsAndIgnoresTheOldItem()
    {
        auto session = openReady(100.0, 40.0);
        QPointer<FakeNativePlayer> old = m_harness->player();
        const quint64 oldItem = old->currentItem();
        old->emitTick(oldItem, 55.0);
        old->emitStatus(oldItem, Status::failed);
        QVERIFY(session->state().isFailed());
        QSignalSpy players(session.get(), &PlaybackSession::playerChanged);

        session->retry();
        QCOMPARE(m_harness->playersMade(), 2);
        FakeNativePlayer *fresh = m_harness->player();
        QVERIFY(fresh != old.data());
        QVERIFY(session->player() == fresh);
        QVERIFY(!players.isEmpty());
        QVERIFY(players.last().at(0).value<NativePlayer *>() == fresh);
        QVERIFY(session->state().isLoading());
        QCOMPARE(session->elapsed(), 0.0);
        QCOMPARE(session->duration(), 0.0);
        QCOMPARE(old->unloadCount(), 1);

        // The old player's late events, even with an item number the new one also uses.
        old->emitStatus(oldItem, Status::failed);
        old->emitTick(fresh->currentItem(), 80.0);
        old->emitPlayedToEnd(fresh->currentItem());
        QVERIFY(session->state().isLoading());
        QCOMPARE(session->elapsed(), 0.0);
        QCOMPARE(m_harness->reachedEnd(), 0);

        // The new item resumes again and auto-plays again.
        fresh->emitDuration(fresh->currentItem(), 100.0);
        fresh->emitStatus(fresh->currentItem(), Status::readyToPlay);
        QVERIFY(session->state().isReady());
        QCOMPARE(seekTargets(*fresh), QList<double>{40.0});
        QCOMPARE(fresh->playCount(), 1);
        QTRY_VERIFY(old.isNull());
    }

    void webSourceHasNoPlayer()
    {
        auto session = m_harness->open(SessionHarness::webSource());
        QCOMPARE(m_harness->playersMade(), 0);
        QVERIFY(session->player() == nullptr);
        QVERIFY(session->state().isLoading());
        session->play();
        session->togglePlayback();
        session->seek(10);
        QCOMPARE(session->elapsed(), 0.0);
        QVERIFY(!session->toast());
        // Hiding still reports the position for history.
        session->setHidden(true);
        QCOMPARE(m_harness->progress().size(), 1);
        QCOMPARE(m_harness->progress().first().duration, std::nullopt);
    }

    void playerThatCannotBeMadeFails()
    {
        auto session = m_harness->openWith([] { return std::unique_ptr<NativePlayer>(); }, clip);
        QVERIFY(session->player() == nullptr);
        QVERIFY(session->state().isFailed());
        QCOMPARE(session->state().error()->kind(), AppError::Kind::decode);
        QCOMPARE(session->state().error()->message(), u"An unknown error occurred."_qs);
        session->retry();
        QVERIFY(session->state().isFailed());
    }

    void ownerMayDiscardTheSessionFromItsEndCallback()
    {
        auto session = openReady(10.0);
        QPointer<FakeNativePlayer> player = m_harness->player();
        connect(session.get(), &PlaybackSession::reachedEnd, [&session] { session.reset(); });
        player->emitPlayedToEnd(player->currentItem());
        QVERIFY(!session);
        // The player is still inside its own signal; it goes with the event loop.
        QVERIFY(!player.isNull());
        QTRY_VERIFY(player.isNull());
    }

    void everyAssignmentNotifies()
    {
        auto session = m_harness->open(clip);
        QSignalSpy loop(session.get(), &PlaybackSession::loopChanged);
        QSignalSpy opacity(session.get(), &PlaybackSession::opacityChanged);
        session->setLoop(false);
        session->setLoop(false);
        session->setOpacity(1.0);
        QCOMPARE(loop.size(), 2);
        QCOMPARE(opacity.size(), 1);
    }
};

QTEST_MAIN(TestPlaybackSession)
#include "tst_playbacksession.moc"

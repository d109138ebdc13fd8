#include "MediaGenerator.h"
#include "SessionHarness.h"
#include "settings/Preferences.h"
#include "platform/AppPaths.h"
#include "platform/MpvPlayer.h"

#include "KiteCore/L10n.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace std::chrono_literals;

namespace {

constexpr int loadTimeout = 15000;

PlaybackSession::PlayerFactory headless()
{
    return [] {
        return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::none, MpvPlayer::AudioOutput::none);
    };
}

// A loopback URL on which nothing listens.
QUrl closedPortUrl()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return {};
    const quint16 port = server.serverPort();
    server.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/clip.mp4").arg(port));
}

QList<double> secondsOf(const QSignalSpy &ticks)
{
    QList<double> seconds;
    for (const QList<QVariant> &tick : ticks)
        seconds.append(tick.at(1).toDouble());
    return seconds;
}

// Lets the event loop run for a while, to show that something does not happen.
void runEventsFor(std::chrono::milliseconds time)
{
    bool over = false;
    QTimer::singleShot(time, [&over] { over = true; });
    QTRY_VERIFY(over);
}

} // namespace

// Sessions on the real mpv player with generated media.
class TestPlaybackSessionMpv : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<SessionHarness> m_harness;

    std::unique_ptr<PlaybackSession> open(const QString &path, std::optional<double> resume = std::nullopt,
                                          const QString &title = QStringLiteral("Clip"))
    {
        return m_harness->openWith(headless(), SessionHarness::localSource(path, title), resume);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // No user-dirs file under the temporary config folder: Desktop is $HOME/Desktop.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_qs)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u"data"_qs)));
        QVERIFY2(!MediaGenerator::colourClip(Qt::red, 10.0, {160, 90}, false).isEmpty(),
                 qPrintable(MediaGenerator::lastError()));
        QVERIFY2(!MediaGenerator::colourClip(Qt::green, 1.0, {160, 90}, false).isEmpty(),
                 qPrintable(MediaGenerator::lastError()));
        QVERIFY2(!MediaGenerator::numberedFrames().isEmpty(), qPrintable(MediaGenerator::lastError()));
    }

    void init()
    {
        m_harness = std::make_unique<SessionHarness>();
        QVERIFY(m_harness->isValid());
        L10n::setLanguage(AppLanguage::en);
    }

    void cleanup() { m_harness.reset(); }

    void playsAndReportsEveryThirdTick()
    {
        // Three times as fast: ten seconds of media give about a dozen ticks quickly.
        m_harness->quickStore().setValue(u"default.speed"_qs, 3.0);
        auto session = open(MediaGenerator::colourClip(Qt::red, 10.0, {160, 90}, false));
        QVERIFY(session->player());
        QSignalSpy ticks(session->player(), &NativePlayer::timeTick);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), loadTimeout);
        QTRY_VERIFY(session->isPlaying());
        QCOMPARE(session->player()->rate(), 3.0);
        QTRY_COMPARE_WITH_TIMEOUT(m_harness->reachedEnd(), 1, 15000);
        QVERIFY(!session->isPlaying());
        QVERIFY(session->state().isReady());
        QVERIFY2(ticks.size() >= 9, qPrintable(QString::number(ticks.size())));

        QList<double> expected;
        const QList<double> seconds = secondsOf(ticks);
        for (qsizetype tick = 3; tick <= seconds.size(); tick += 3)
            expected.append(seconds.at(tick - 1));
        QList<double> reported;
        for (const SessionHarness::Progress &report : m_harness->progress()) {
            reported.append(report.elapsed);
            QVERIFY(report.duration);
            QVERIFY(qAbs(*report.duration - 10.0) < 0.1);
        }
        QCOMPARE(reported, expected);
        // The end is reported once, and only once.
        runEventsFor(300ms);
        QCOMPARE(m_harness->reachedEnd(), 1);
    }

    void loopRestartsInsteadOfEnding()
    {
        m_harness->quickStore().setValue(u"default.loop"_qs, true);
        auto session = open(MediaGenerator::colourClip(Qt::green, 1.0, {160, 90}, false));
        QVERIFY(session->loop());
        QSignalSpy ends(session->player(), &NativePlayer::playedToEnd);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), loadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 2, 10000);
        QCOMPARE(m_harness->reachedEnd(), 0);
        QTRY_VERIFY(session->isPlaying());
    }

    void screenshotIsTheExactFrame_data()
    {
        QTest::addColumn<double>("target");
        QTest::addColumn<int>("frame");
        QTest::newRow("on a frame") << 0.7 << 7;
        QTest::newRow("just before a frame") << 2.09 << 21;
        QTest::newRow("between frames") << 3.35 << 34;
    }

    void screenshotIsTheExactFrame()
    {
        QFETCH(double, target);
        QFETCH(int, frame);
        m_harness->preferences().setPauseWhenHidden(true);
        auto session = open(MediaGenerator::numberedFrames(), std::nullopt, u"Frames: 1/2"_qs);
        session->setHidden(true);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), loadTimeout);
        // An exact seek: the saved picture must be the first frame at or after the target.
        QSignalSpy ticks(session->player(), &NativePlayer::timeTick);
        session->seek(target);
        QCOMPARE(session->elapsed(), target);
        // The first picture of the item may still report itself at 0; wait for the seek.
        QTRY_VERIFY(!ticks.isEmpty() && qAbs(ticks.last().at(1).toDouble() - target) < 0.1);

        const QDir folder(AppPaths::screenshotFolder());
        QCOMPARE(folder.path(), m_home.filePath(u"Desktop/澜萤截图"_qs));
        session->captureScreenshot();
        QTRY_VERIFY_WITH_TIMEOUT(session->toast().has_value(), 10000);
        QCOMPARE(*session->toast(), u"Screenshot saved to Desktop"_qs);
        const QStringList files = folder.entryList({u"Frames- 1-2-*.png"_qs}, QDir::Files, QDir::Time);
        QVERIFY(!files.isEmpty());
        const QImage image(folder.filePath(files.first()));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(320, 180));
        QCOMPARE(MediaGenerator::frameNumberOf(image.pixelColor(image.width() / 2, image.height() / 2)), frame);
        for (const QString &name : files)
            QFile::remove(folder.filePath(name));
    }

    void badFilesFail_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << (MediaGenerator::folder() + u"/missing.mp4"_qs);
        QTest::newRow("corrupt") << MediaGenerator::corruptFile();
    }

    void badFilesFail()
    {
        QFETCH(QString, path);
        auto session = open(path);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), loadTimeout);
        QCOMPARE(session->state().error()->kind(), AppError::Kind::decode);
        QVERIFY(!session->state().error()->message().isEmpty());
        QVERIFY(session->state().error()->recovery());
        QVERIFY(!session->isPlaying());
        // No picture to save: the failure is told, nothing is written.
        session->captureScreenshot();
        QTRY_VERIFY(session->toast().has_value());
        QCOMPARE(*session->toast(), u"Screenshot failed"_qs);
        QVERIFY(QDir(AppPaths::screenshotFolder()).entryList(QDir::Files).isEmpty());
    }

    void closedPortFailsToConnect()
    {
        const QUrl url = closedPortUrl();
        QVERIFY(url.isValid());
        auto session = m_harness->openWith(headless(), MediaSource(url, MediaKind::mediaURL, u"Stream"_qs, QString()));
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), loadTimeout);
        QCOMPARE(session->state().error()->kind(), AppError::Kind::network);
        QCOMPARE(session->state().error()->message(), u"Couldn't connect to this site."_qs);
    }

    void stopSilencesLateEvents_data()
    {
        QTest::addColumn<bool>("waitForPlaying");
        QTest::newRow("while loading") << false;
        QTest::newRow("while playing") << true;
    }

    void stopSilencesLateEvents()
    {
        QFETCH(bool, waitForPlaying);
        auto session = open(MediaGenerator::colourClip(Qt::green, 1.0, {160, 90}, false));
        QPointer<NativePlayer> player = session->player();
        if (waitForPlaying)
            QTRY_VERIFY_WITH_TIMEOUT(session->isPlaying(), loadTimeout);
        QSignalSpy states(session.get(), &PlaybackSession::stateChanged);
        QSignalSpy playing(session.get(), &PlaybackSession::isPlayingChanged);
        QSignalSpy elapsed(session.get(), &PlaybackSession::elapsedChanged);
        session->stop();
        QCOMPARE(states.size(), 1);
        QCOMPARE(playing.size(), 1);
        const int progressReports = int(m_harness->progress().size());
        QTRY_VERIFY(player.isNull());
        // Longer than the clip: a forgotten player would have ended by now.
        runEventsFor(1500ms);
        QCOMPARE(states.size(), 1);
        QCOMPARE(playing.size(), 1);
        QVERIFY(elapsed.isEmpty());
        QVERIFY(session->state().isLoading());
        QCOMPARE(int(m_harness->progress().size()), progressReports);
        QCOMPARE(m_harness->reachedEnd(), 0);
    }

    void openedHiddenWaitsUntilShown()
    {
        m_harness->preferences().setPauseWhenHidden(false);
        auto session = open(MediaGenerator::colourClip(Qt::red, 10.0, {160, 90}, false));
        session->setHidden(true);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), loadTimeout);
        runEventsFor(500ms);
        QVERIFY(!session->isPlaying());
        QCOMPARE(session->player()->rate(), 0.0);
        QCOMPARE(session->elapsed(), 0.0);
        session->setHidden(false);
        QTRY_VERIFY(session->isPlaying());
        QTRY_VERIFY(session->elapsed() >= 1.0);
    }

    void retryPlaysTheFileOnceItExists()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"later.mp4"_qs);
        auto session = open(path);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), loadTimeout);
        NativePlayer *failed = session->player();
        QVERIFY(QFile::copy(MediaGenerator::colourClip(Qt::red, 10.0, {160, 90}, false), path));
        session->retry();
        QVERIFY(session->player() != nullptr);
        QVERIFY(session->player() != failed);
        QVERIFY(session->state().isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), loadTimeout);
        QTRY_VERIFY(session->isPlaying());
        QTRY_VERIFY(session->elapsed() >= 1.0);
    }
};

QTEST_MAIN(TestPlaybackSessionMpv)
#include "itst_playbacksession.moc"

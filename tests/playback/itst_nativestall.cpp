#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "SessionHarness.h"
#include "TemporaryHome.h"
#include "mpvplayer/MpvPlayer.h"

#include <QtTest>

using namespace std::chrono_literals;

// Real mpv against a loopback server that misbehaves the way real ones do.
class TestNativeStall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        const QFileInfo clip(MediaGenerator::testPattern(15.0));
        QVERIFY2(clip.exists(), qPrintable(MediaGenerator::lastError()));
        m_path = u'/' + clip.fileName();
    }

    // A server that stops sending shows buffering, then a network failure; once it sends
    // again, Retry plays. A file cut short ends as a failure, never as a pause.
    void stallsAndCutOffsFail()
    {
        m_server.stallAfter(m_path, 100 * 1024);
        QElapsedTimer clock;
        clock.start();
        auto session = open(m_server.url(m_path));
        QTRY_VERIFY_WITH_TIMEOUT(session->isBuffering() && session->state().isReady(), 20000);
        const qint64 bufferingAt = clock.elapsed();
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), 20000);
        qInfo("buffering after %lld ms, failed %lld ms later", bufferingAt, clock.elapsed() - bufferingAt);
        QCOMPARE(session->state().error()->kind(), AppError::Kind::network);
        QVERIFY(!session->isBuffering() && !session->isPlaying());

        m_server.stallAfter(m_path, -1);
        session->retry();
        QTRY_VERIFY_WITH_TIMEOUT(session->isPlaying() && session->elapsed() >= 2.0, 20000);
        QVERIFY(session->state().isReady());

        session = open(QUrl::fromLocalFile(MediaGenerator::cutShort(15.0, 0.3)));
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), 30000);
        QVERIFY2(session->state().error()->message().startsWith(u"Playback stopped at"), qPrintable(session->state().error()->message()));
    }

private:
    std::unique_ptr<PlaybackSession> open(const QUrl &url)
    {
        PlaybackSession::Timing timing;
        timing.nativeStall = 2s;
        return m_harness.openWith([] { return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::none, MpvPlayer::AudioOutput::none); },
                                  MediaSource(url, MediaKind::mediaURL, u"pattern"_qs, {}), std::nullopt, timing);
    }

    TemporaryHome m_home;
    SessionHarness m_harness;
    LocalHttpServer m_server{MediaGenerator::folder()};
    QString m_path;
};

QTEST_MAIN(TestNativeStall)
#include "itst_nativestall.moc"

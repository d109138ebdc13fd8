#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "SessionHarness.h"
#include "settings/Preferences.h"
#include "platform/AppPaths.h"
#include "platform/QtWebPage.h"

#include "KiteCore/L10n.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <cstdlib>
#include <memory>

#include <signal.h>

using namespace std::chrono_literals;

namespace {

constexpr int waitMs = 20000;
// A poll must be far enough apart for a playing video to move more than the progress
// threshold of a quarter second.
constexpr std::chrono::milliseconds playingPoll = 400ms;

// Stands in for the desktop's mail program; it must never be asked.
class DesktopHandler : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

QString &homeToRemove()
{
    static QString path;
    return path;
}

QByteArray html(const QByteArray &title, const QByteArray &head, const QByteArray &body)
{
    return "<!doctype html><html><head><meta charset='utf-8'><title>" + title + "</title>" + head
        + "</head><body style='margin:0;background:#000'>" + body + "</body></html>";
}

// A VP8 clip the engine always plays: 320x180, silent.
QString webClip(double seconds)
{
    const QString path = MediaGenerator::folder()
        + QStringLiteral("/web-%1.webm").arg(static_cast<int>(seconds));
    if (QFileInfo::exists(path))
        return path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {u"-nostdin"_qs, u"-loglevel"_qs, u"error"_qs, u"-y"_qs, u"-f"_qs, u"lavfi"_qs,
                  u"-i"_qs, u"testsrc=size=320x180:rate=15"_qs, u"-t"_qs, QString::number(seconds),
                  u"-c:v"_qs, u"libvpx"_qs, u"-b:v"_qs, u"150k"_qs, u"-deadline"_qs, u"realtime"_qs,
                  u"-cpu-used"_qs, u"8"_qs, path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0)
        return {};
    return path;
}

} // namespace

class TestWebSessionIntegration : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<LocalHttpServer> m_server;
    DesktopHandler m_desktop;
    std::unique_ptr<SessionHarness> m_harness;
    QStringList m_titles;
    QList<QUrl> m_thumbnails;
    double m_fastNow = 0;

    std::unique_ptr<PlaybackSession> open(const QString &path, PlaybackSession::Timing timing = {})
    {
        if (timing.webPoll == 600ms)
            timing.webPoll = playingPoll;
        timing.webFollowUpFirst = 200ms;
        timing.webFollowUpSecond = 200ms;
        const MediaSource source(m_server->url(path), MediaKind::web, u"Page"_qs, QString());
        auto session = std::make_unique<PlaybackSession>(
            source, std::nullopt,
            PlaybackSession::Dependencies{m_harness->preferences(), m_harness->quickStore(), {},
                                          [] { return std::make_unique<QtWebPage>(); }, timing});
        connect(session.get(), &PlaybackSession::titleReported, this,
                [this](const QString &title) { m_titles.append(title); });
        connect(session.get(), &PlaybackSession::thumbnailReported, this,
                [this](const QUrl &url) { m_thumbnails.append(url); });
        // As in a player window: the engine pauses silent videos of hidden pages on a seek.
        if (QWidget *view = session->webView()) {
            view->resize(320, 180);
            view->show();
        }
        return session;
    }

    // A clock that jumps a second at every reading: the stall logic reads it once a poll.
    PlaybackSession::Timing fastClock()
    {
        PlaybackSession::Timing timing;
        timing.webPoll = 50ms;
        timing.clock = [this] { return m_fastNow += 1.0; };
        return timing;
    }

    static QVariant evaluate(PlaybackSession &session, const QString &script)
    {
        std::optional<QVariant> result;
        if (!session.webPage())
            return {};
        session.webPage()->runJavaScript(script, [&result](const QVariant &value) { result = value; });
        if (!QTest::qWaitFor([&result] { return result.has_value(); }, waitMs))
            return {};
        return *result;
    }

    static bool evaluatesTo(PlaybackSession &session, const QString &script, const QVariant &expected)
    {
        return QTest::qWaitFor([&] { return evaluate(session, script) == expected; }, waitMs);
    }

    static double mediaTime(PlaybackSession &session)
    {
        return evaluate(session, u"document.querySelector('video').currentTime"_qs).toDouble();
    }

    static bool playsAVideo(PlaybackSession &session)
    {
        return QTest::qWaitFor([&] { return session.webVideoAvailable() && session.isPlaying(); },
                               waitMs);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // The engine writes its cache while it shuts down, after this object is gone.
        m_home.setAutoRemove(false);
        homeToRemove() = m_home.path();
        std::atexit([] { QDir(homeToRemove()).removeRecursively(); });
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u"data"_qs)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_qs)));
        qputenv("LUMIVANE_TEST_MODE", "1");
        qunsetenv("LUMIVANE_DEBUG");

        const QString clip = webClip(60);
        QVERIFY2(!clip.isEmpty(), "ffmpeg could not make the clip");
        m_server = std::make_unique<LocalHttpServer>(MediaGenerator::folder());
        QVERIFY(m_server->start());
        const QByteArray clipPath = "/" + QFileInfo(clip).fileName().toUtf8();
        const QByteArray video = "<video id='v' src='" + clipPath + "' autoplay muted loop playsinline"
                                 " style='width:320px;height:180px'></video>";
        m_server->addPage("/video.html", html("Clip page", {}, video));
        m_server->addPage("/frozen.html", html("Frozen", {},
            video + "<script>const v = document.getElementById('v');"
                    "v.defaultPlaybackRate = 0; v.playbackRate = 0;</script>"));
        m_server->addPage("/ad.html", html("Ad page", {},
            video + "<script>window.runAd = () => {"
                    " const v = document.getElementById('v');"
                    " const marker = document.createElement('div');"
                    " marker.className = 'ad-showing'; document.body.appendChild(marker);"
                    " setTimeout(() => { v.currentTime = 0; }, 1000);"
                    " setTimeout(() => { marker.remove(); }, 2000); };</script>"));
        m_server->addPage("/two-videos.html", html("Two", {},
            "<video id='a' src='" + clipPath + "' autoplay muted loop></video>"
            "<video id='b' src='" + clipPath + "' muted preload='auto'></video>"));
        m_server->addPage("/links.html", html("Links", {},
            video + "<a id='mail' href='mailto:someone@example.org'>mail</a>"
                    "<a id='blank' href='/target.html' target='_blank'>new</a>"
                    "<iframe id='frame' src='/framed-mail.html'></iframe>"));
        m_server->addPage("/framed-mail.html",
                          html("Inner", {}, "<a id='mail' href='mailto:inner@example.org'>mail</a>"));
        m_server->addPage("/target.html", html("Target page", {}, "<p>target</p>"));
        m_server->addPage("/meta.html", html("  Clip with preview  ",
            "<meta property='og:image' content='" + m_server->url(u"/preview.png"_qs).toEncoded() + "'>",
            video));
        // The clean-up style paints the page itself black; a red block stays red.
        m_server->addPage("/red.html", html("", {},
            "<div style='position:fixed;left:0;top:0;width:100%;height:100%;background:#ff0000'></div>"));
        QDesktopServices::setUrlHandler(u"mailto"_qs, &m_desktop, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"mailto"_qs); }

    void init()
    {
        m_harness = std::make_unique<SessionHarness>();
        QVERIFY(m_harness->isValid());
        L10n::setLanguage(AppLanguage::en);
        m_titles.clear();
        m_thumbnails.clear();
    }

    void cleanup() { m_harness.reset(); }

    void playingPageIsFollowed()
    {
        auto session = open(u"/video.html"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QVERIFY(playsAVideo(*session));
        QTRY_VERIFY_WITH_TIMEOUT(session->duration() > 59 && session->duration() < 61, waitMs);
        QVERIFY(session->contentAspect());
        QCOMPARE(*session->contentAspect(), 320.0 / 180.0);
        QVERIFY(session->webCanSeek());
        QTRY_VERIFY_WITH_TIMEOUT(session->elapsed() > 0.3, waitMs);
        QVERIFY(evaluatesTo(*session, u"document.documentElement.classList.contains('kt-webctl')"_qs,
                            true));
        QVERIFY(!session->toast());
    }

    void controlsActOnTheElement()
    {
        auto session = open(u"/video.html"_qs);
        QVERIFY(playsAVideo(*session));
        session->webTogglePlay();
        QVERIFY(evaluatesTo(*session, u"document.querySelector('video').paused"_qs, true));
        QTRY_VERIFY_WITH_TIMEOUT(!session->isPlaying(), waitMs);
        session->webTogglePlay();
        QVERIFY(evaluatesTo(*session, u"document.querySelector('video').paused"_qs, false));
        session->webSeek(20.5);
        QCOMPARE(session->elapsed(), 20.5);
        QTRY_VERIFY_WITH_TIMEOUT(mediaTime(*session) >= 20.5 && mediaTime(*session) < 25, waitMs);
        session->webSetSpeed(1.5);
        QVERIFY(evaluatesTo(*session, u"document.querySelector('video').playbackRate"_qs, 1.5));
        session->setLoop(false);
        QVERIFY(evaluatesTo(*session, u"document.querySelector('video').loop"_qs, false));
        session->webSetVolume(0);
        QVERIFY(evaluatesTo(*session, u"document.querySelector('video').muted"_qs, true));
    }

    void rateZeroFreezesAPlayingVideo()
    {
        // The stall test below relies on this engine keeping such a video "playing".
        auto session = open(u"/frozen.html"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QVERIFY(evaluatesTo(*session, u"document.querySelector('video').readyState >= 2"_qs, true));
        QCOMPARE(evaluate(*session, u"document.querySelector('video').paused"_qs), QVariant(false));
        const double before = mediaTime(*session);
        QTest::qWait(500);
        QCOMPARE(mediaTime(*session), before);
    }

    void frozenVideoIsNudgedThenGivenUp()
    {
        auto session = open(u"/frozen.html"_qs, fastClock());
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QTRY_VERIFY_WITH_TIMEOUT(session->toast() == u"Web playback stalled — recovering…"_qs, waitMs);
        QVERIFY(session->state().isReady());
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), waitMs);
        QCOMPARE(session->state().error()->message(), u"Web playback got stuck."_qs);
    }

    void positionLostToAnAdvertisementIsRestored()
    {
        PlaybackSession::Timing timing;
        timing.webPollNearAd = 150ms;
        auto session = open(u"/ad.html"_qs, timing);
        QVERIFY(playsAVideo(*session));
        session->webSeek(40);
        // A poll or two must see the video playing beyond 40 s before the advertisement.
        QTRY_VERIFY_WITH_TIMEOUT(session->elapsed() > 41, waitMs);
        evaluate(*session, u"window.runAd()"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(mediaTime(*session) < 5, waitMs);
        QTRY_VERIFY_WITH_TIMEOUT(mediaTime(*session) > 38, waitMs);
        QCOMPARE(session->toast(), u"Web playback stalled — recovering…"_qs);
        QVERIFY(session->state().isReady());
    }

    void mailtoInTheMainFrameFails()
    {
        auto session = open(u"/links.html"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        evaluate(*session, u"document.getElementById('mail').click()"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), waitMs);
        QCOMPARE(session->state().error()->message(),
                 u"This page tried to open another app (mailto://)."_qs);
        QVERIFY(m_desktop.opened.isEmpty());
    }

    void mailtoInAFrameIsIgnored()
    {
        auto session = open(u"/links.html"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QVERIFY(evaluatesTo(
            *session,
            u"(() => { const d = document.getElementById('frame').contentDocument; "
            "const a = d && d.getElementById('mail'); if (!a) return false; a.click(); return true; })()"_qs,
            true));
        // The page stays as it was.
        QVERIFY(playsAVideo(*session));
        QVERIFY(session->state().isReady());
        QVERIFY(m_desktop.opened.isEmpty());
    }

    void newWindowLinkOpensInPlace()
    {
        auto session = open(u"/links.html"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        evaluate(*session, u"document.getElementById('blank').click()"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(session->webPage()->url(), m_server->url(u"/target.html"_qs), waitMs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QTRY_COMPARE_WITH_TIMEOUT(session->title(), u"Target page"_qs, waitMs);
        QVERIFY(session->webCanGoBack());
    }

    void rendererCrashFailsAndRetryRecovers()
    {
        auto session = open(u"/video.html"_qs);
        QVERIFY(playsAVideo(*session));
        auto *page = qobject_cast<QtWebPage *>(session->webPage());
        QVERIFY(page);
        const qint64 pid = page->renderProcessId();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isFailed(), waitMs);
        QCOMPARE(session->state().error()->message(), u"The web process stopped unexpectedly."_qs);
        session->retry();
        QVERIFY(session->webPage() != page);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QVERIFY(playsAVideo(*session));
    }

    void titleAndThumbnailAreReportedOnce()
    {
        auto session = open(u"/meta.html"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QTRY_COMPARE_WITH_TIMEOUT(m_titles, QStringList{u"Clip with preview"_qs}, waitMs);
        QUrl expected = m_server->url(u"/preview.png"_qs);
        expected.setScheme(u"https"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(m_thumbnails, QList<QUrl>{expected}, waitMs);
        // Both follow-ups have run by the time the video has been polled a few times.
        QTRY_VERIFY_WITH_TIMEOUT(session->elapsed() > 1.5, waitMs);
        QCOMPARE(m_titles.size(), 1);
        QCOMPARE(m_thumbnails.size(), 1);
    }

    void hidingPausesAndShowingResumesWhatPlayed()
    {
        m_harness->preferences().setPauseWhenHidden(true);
        auto session = open(u"/two-videos.html"_qs);
        QVERIFY(playsAVideo(*session));
        const QString paused = u"[document.getElementById('a').paused, document.getElementById('b').paused]"_qs;
        QCOMPARE(evaluate(*session, paused), QVariant(QVariantList{false, true}));
        session->setHidden(true);
        QVERIFY(evaluatesTo(*session, paused, QVariantList{true, true}));
        session->setHidden(false);
        QVERIFY(evaluatesTo(*session, paused, QVariantList{false, true}));
    }

    void snapshotOfAShownPage()
    {
        auto session = open(u"/red.html"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(session->state().isReady(), waitMs);
        QWidget *view = session->webView();
        QVERIFY(view);
        view->resize(320, 180);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        // The first frames after a load are blank: wait until the page has shown for a while.
        QElapsedTimer shown;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                if (view->grab().toImage().pixelColor(160, 90) != QColor(255, 0, 0))
                    shown.invalidate();
                else if (!shown.isValid())
                    shown.start();
                return shown.isValid() && shown.elapsed() > 500;
            }(),
            waitMs);
        const QDir folder(AppPaths::screenshotFolder());
        session->captureScreenshot();
        QTRY_VERIFY_WITH_TIMEOUT(session->toast().has_value(), waitMs);
        QCOMPARE(*session->toast(), u"Screenshot saved to Desktop"_qs);
        const QStringList files = folder.entryList({u"Page-*.png"_qs}, QDir::Files);
        QCOMPARE(files.size(), 1);
        const QImage saved(folder.filePath(files.first()));
        QVERIFY(!saved.isNull());
        QCOMPARE(saved.pixelColor(saved.width() / 2, saved.height() / 2), QColor(255, 0, 0));
        QFile::remove(folder.filePath(files.first()));
        // The view belongs to the page; the session hands it back on stop.
        session->stop();
    }
};

QTEST_MAIN(TestWebSessionIntegration)
#include "itst_websession.moc"

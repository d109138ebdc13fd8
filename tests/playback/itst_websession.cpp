#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "SessionHarness.h"
#include "TemporaryHome.h"
#include "settings/Preferences.h"
#include "webengine/QtWebPage.h"

#include "KiteCore/L10n.h"

#include <QFileInfo>
#include <QTest>

#include <signal.h>

using namespace std::chrono_literals;

namespace {
constexpr int waitMs = 20000;
} // namespace

// One session on a real page: it follows the playing video, drives the element, keeps the page
// inside, and comes back from a crashed renderer.
class TestWebSessionIntegration : public QObject
{
    Q_OBJECT

private:
    TemporaryHome m_home;
    LocalHttpServer m_server{MediaGenerator::folder()};
    SessionHarness m_harness;
    std::unique_ptr<PlaybackSession> m_session;

    QVariant evaluate(const QString &script)
    {
        auto result = std::make_shared<std::optional<QVariant>>();
        m_session->webPage()->runJavaScript(script, [result](const QVariant &value) { *result = value; });
        return QTest::qWaitFor([&result] { return result->has_value(); }, waitMs) ? **result : QVariant();
    }

    bool becomes(const QString &script, const QVariant &expected)
    {
        return QTest::qWaitFor([&] { return evaluate(script) == expected; }, waitMs);
    }

private Q_SLOTS:
    void playingPageFlow()
    {
        QVERIFY(m_server.start() && m_harness.isValid());
        const QString clip = MediaGenerator::colourClip(Qt::darkCyan, 60.0, {320, 180}, false);
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        m_server.addPage(u"/video.html"_qs, "<!doctype html><title> Clip page </title><body style='margin:0'><video src='/"
                                              + QFileInfo(clip).fileName().toUtf8() + "' autoplay muted loop></video>"
                                              "<a id=mail href='mailto:a@example.org'>mail</a><iframe srcdoc=\"<a id=mail "
                                              "href='mailto:b@example.org'>mail</a>\"></iframe>");
        m_harness.quickStore().setValue(u"default.speed"_qs, 1.5);
        m_harness.preferences().setPauseWhenHidden(true);
        L10n::setLanguage(AppLanguage::en);
        PlaybackSession::Timing timing;
        timing.webPoll = 300ms;
        m_session = std::make_unique<PlaybackSession>(
            MediaSource(m_server.url(u"/video.html"_qs), MediaKind::web, u"Page"_qs, QString()), std::nullopt,
            PlaybackSession::Dependencies{m_harness.preferences(), m_harness.quickStore(), {}, [] { return std::make_unique<QtWebPage>(); }, timing});
        // Shown as in a player window: the engine pauses silent videos of hidden pages.
        const auto show = [this] { m_session->webView()->resize(320, 180); m_session->webView()->show(); };
        show();
        QTRY_VERIFY_WITH_TIMEOUT(m_session->webVideoAvailable() && m_session->isPlaying() && m_session->elapsed() > 0.3, waitMs);
        QVERIFY(m_session->state().isReady() && m_session->webCanSeek());
        QVERIFY(qAbs(m_session->duration() - 60) < 0.2);
        QCOMPARE(m_session->contentAspect(), std::optional(320.0 / 180.0));
        QTRY_COMPARE_WITH_TIMEOUT(m_session->title(), u"Clip page"_qs, waitMs);
        QVERIFY(becomes(u"document.documentElement.classList.contains('kt-webctl')"_qs, true));
        QVERIFY(becomes(u"document.querySelector('video').playbackRate"_qs, 1.5));

        // The controls act on the element.
        const QString video = u"document.querySelector('video')."_qs;
        m_session->webTogglePlay();
        QVERIFY(becomes(video + u"paused"_qs, true));
        QTRY_VERIFY_WITH_TIMEOUT(!m_session->isPlaying(), waitMs);
        m_session->webTogglePlay();
        QVERIFY(becomes(video + u"paused"_qs, false));
        m_session->webSeek(20.5);
        QVERIFY(becomes(u"%1currentTime >= 20.5 && %1currentTime < 25"_qs.arg(video), true));
        m_session->webSeek(-3);
        QVERIFY(becomes(video + u"currentTime < 5"_qs, true));
        m_session->setLoop(false);
        QVERIFY(becomes(video + u"loop"_qs, false));
        m_session->webSetVolume(1.7);
        QVERIFY(becomes(video + u"volume === 1 && !"_qs + video + u"muted"_qs, true));
        m_session->webSetVolume(0);
        QVERIFY(becomes(video + u"muted"_qs, true));
        m_session->setHidden(true);
        QVERIFY(becomes(video + u"paused"_qs, true));
        m_session->setHidden(false);
        QVERIFY(becomes(video + u"paused"_qs, false));

        // Another app asked for inside a frame is ignored; in the page it ends the session.
        evaluate(u"document.querySelector('iframe').contentDocument.getElementById('mail').click()"_qs);
        QVERIFY(becomes(u"1"_qs, 1));
        QVERIFY(m_session->state().isReady());

        auto *page = qobject_cast<QtWebPage *>(m_session->webPage());
        QVERIFY(page && page->renderProcessId() > 0);
        QCOMPARE(::kill(static_cast<pid_t>(page->renderProcessId()), SIGKILL), 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_session->state().isFailed(), waitMs);
        QCOMPARE(m_session->state().error()->message(), u"The web process stopped unexpectedly."_qs);
        m_session->retry();
        show();
        QTRY_VERIFY_WITH_TIMEOUT(m_session->isPlaying() && m_session->state().isReady(), waitMs);

        evaluate(u"document.getElementById('mail').click()"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(m_session->state().isFailed(), waitMs);
        QCOMPARE(m_session->state().error()->message(), u"This page tried to open another app (mailto://)."_qs);
        m_session->stop();
    }
};

QTEST_MAIN(TestWebSessionIntegration)
#include "itst_websession.moc"

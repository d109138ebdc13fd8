#include "SessionHarness.h"
#include "settings/Preferences.h"
#include "platform/AppPaths.h"
#include "playback/WebEnhancer.h"
#include "playback/WebMediaState.h"

#include "KiteCore/L10n.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <cmath>
#include <deque>
#include <functional>

using namespace std::chrono_literals;
using Kind = AppError::Kind;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

const QUrl pageUrl(QStringLiteral("https://example.com/watch"));
// Polls that must not come by themselves wait this long.
constexpr std::chrono::milliseconds never = 3600s;

// What one poll of the page's media finds.
struct Frame {
    double t = 0;
    double d = 100;
    bool paused = false;
    bool ended = false;
    bool ad = false;
};

QString record(const Frame &frame)
{
    const QJsonObject object{{u"t"_qs, frame.t},       {u"d"_qs, frame.d},   {u"p"_qs, frame.paused},
                             {u"en"_qs, frame.ended},  {u"rs"_qs, 4},        {u"se"_qs, true},
                             {u"ad"_qs, frame.ad},     {u"vw"_qs, 1280},     {u"vh"_qs, 720}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QList<Frame> frozenAt(double t, int polls, Frame shape = {})
{
    shape.t = t;
    return QList<Frame>(polls, shape);
}

PlaybackSession::Timing fastTiming(std::chrono::milliseconds poll = 5ms,
                                   std::chrono::milliseconds nearAd = 5ms)
{
    PlaybackSession::Timing timing;
    timing.webPoll = poll;
    timing.webPollNearAd = nearAd;
    timing.webFollowUpFirst = 5ms;
    timing.webFollowUpSecond = 5ms;
    return timing;
}

const QString stalledToast = u"Web playback stalled — recovering…"_qs;

using WebEnhancer::MediaControl;

template<typename... Value>
QString control(MediaControl op, Value... value)
{
    return WebEnhancer::mediaControlScript(op, value...);
}

QString danmaku(bool hidden)
{
    return control(MediaControl::danmaku, hidden);
}

} // namespace

class TestWebSession : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<SessionHarness> m_harness;
    double m_now = 1000;
    // Seconds the clock moves for every record a poll receives.
    double m_step = 1.0;
    std::deque<Frame> m_frames;
    int m_served = 0;
    int m_nudges = 0;
    // Answers for the single-answer scripts.
    QVariant m_title;
    QVariant m_thumbnail;

    FakeWebPage *page() const { return m_harness->webPage(); }

    // The page answers the media poll from m_frames; once they are used up, with "no media",
    // which leaves the stall state as it is.
    QVariant answer(const QString &script)
    {
        if (script == WebEnhancer::mediaStateScript()) {
            if (m_frames.empty())
                return QString();
            m_now += m_step;
            ++m_served;
            const Frame frame = m_frames.front();
            m_frames.pop_front();
            return record(frame);
        }
        if (script == u"document.title")
            return m_title;
        if (script == WebEnhancer::pageThumbnailScript())
            return m_thumbnail;
        return {};
    }

    std::unique_ptr<PlaybackSession> open(PlaybackSession::Timing timing = fastTiming(),
                                          const MediaSource &source = SessionHarness::webSource())
    {
        timing.clock = [this] { return m_now; };
        auto session = m_harness->open(source, std::nullopt, timing);
        connect(session.get(), &PlaybackSession::toastChanged, this,
                [this](const std::optional<QString> &toast) {
                    if (toast == stalledToast)
                        ++m_nudges;
                });
        if (page())
            page()->scriptAnswer = [this](const QString &script) { return answer(script); };
        return session;
    }

    // Feeds frames to a polling page and waits until all were taken.
    bool play(const QList<Frame> &frames)
    {
        const int target = m_served + static_cast<int>(frames.size());
        m_frames.insert(m_frames.end(), frames.begin(), frames.end());
        const bool served = QTest::qWaitFor([&] { return m_served == target; }, 5000);
        // The page hands its answer over queued: let the session take the last one.
        QCoreApplication::processEvents();
        return served;
    }

    // One poll, started by the page finishing again; normal polls must be far apart.
    bool pollOnce(const Frame &frame)
    {
        m_frames.push_back(frame);
        const int target = m_served + 1;
        page()->finishLoad();
        const bool served = QTest::qWaitFor([&] { return m_served == target; }, 5000);
        QCoreApplication::processEvents();
        return served;
    }

    qsizetype recoveries(double target) const
    {
        return page()->scriptCount(WebEnhancer::recoveryScript(target));
    }

    // Every nudge shows the recovering toast, whatever its target.
    int anyRecoveries() const { return m_nudges; }

    // Lets every queued answer and zero-timer run, then a little more.
    static void settle()
    {
        bool later = false;
        QTimer::singleShot(20, [&later] { later = true; });
        QTRY_VERIFY(later);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_qs)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u"data"_qs)));
        qunsetenv("LUMIVANE_DEBUG");
    }

    void init()
    {
        m_harness = std::make_unique<SessionHarness>();
        QVERIFY(m_harness->isValid());
        L10n::setLanguage(AppLanguage::en);
        m_now = 1000;
        m_step = 1.0;
        m_frames.clear();
        m_served = 0;
        m_nudges = 0;
        m_title = QVariant();
        m_thumbnail = QVariant();
    }

    void cleanup() { m_harness.reset(); }

    // ---- configuration

    void configuresThePage_data()
    {
        QTest::addColumn<bool>("cleanup");
        QTest::addColumn<bool>("bilibiliClean");
        QTest::addColumn<bool>("compatibility");
        QTest::newRow("all on") << true << true << true;
        QTest::newRow("cleanup only") << true << false << false;
        QTest::newRow("bilibili only") << false << true << true;
        QTest::newRow("all off") << false << false << false;
    }

    void configuresThePage()
    {
        QFETCH(bool, cleanup);
        QFETCH(bool, bilibiliClean);
        QFETCH(bool, compatibility);
        m_harness->preferences().setWebCleanup(cleanup);
        m_harness->preferences().setBilibiliClean(bilibiliClean);
        m_harness->preferences().setWebCompatibilityMode(compatibility);
        auto session = open();
        QVERIFY(page());
        QCOMPARE(page()->userScripts(), WebEnhancer::scripts(pageUrl, cleanup, bilibiliClean));
        QCOMPARE(page()->compatibilityMode(), compatibility);
        QCOMPARE(page()->loads().size(), 1);
        QCOMPARE(page()->loads().first().url, pageUrl);
        QCOMPARE(page()->loads().first().timeout, 30000ms);
        QCOMPARE(session->webView(), page()->view());
        QVERIFY(session->webView());
        QVERIFY(session->state().isLoading());
        QCOMPARE(m_harness->playersMade(), 0);
    }

    void retryPublishesTheNewView()
    {
        auto session = open();
        QSignalSpy views(session.get(), &PlaybackSession::webViewChanged);
        QPointer<FakeWebPage> old = page();
        session->retry();
        QCOMPARE(m_harness->webPagesMade(), 2);
        QVERIFY(page() != old);
        // Released first, then the new view.
        QCOMPARE(views.size(), 2);
        QCOMPARE(views.at(0).at(0).value<QWidget *>(), nullptr);
        QCOMPARE(views.at(1).at(0).value<QWidget *>(), page()->view());
        QCOMPARE(page()->loads().size(), 1);
        QTRY_VERIFY(old.isNull());
    }

    void pageThatCannotBeMadeFails()
    {
        auto pages = [] { return std::unique_ptr<WebPage>(); };
        PlaybackSession session(SessionHarness::webSource(), std::nullopt,
                                {m_harness->preferences(), m_harness->quickStore(), {}, pages, {}});
        QVERIFY(session.state().isFailed());
        QCOMPARE(session.state().error()->kind(), Kind::web);
        QCOMPARE(session.state().error()->message(), u"An unknown error occurred."_qs);
        QVERIFY(!session.webView());
        session.webTogglePlay();
        session.captureScreenshot();
        QVERIFY(!session.toast());
    }

    // ---- navigation

    void navigationMovesBetweenLoadingAndReady()
    {
        auto session = open(fastTiming(never, never));
        page()->setHistory(true, false);
        QSignalSpy back(session.get(), &PlaybackSession::webCanGoBackChanged);
        QSignalSpy forward(session.get(), &PlaybackSession::webCanGoForwardChanged);
        page()->finishLoad();
        QVERIFY(session->state().isReady());
        QVERIFY(session->webCanGoBack());
        QVERIFY(!session->webCanGoForward());
        QCOMPARE(back.size(), 1);
        QCOMPARE(forward.size(), 1);
        QCOMPARE(session->statusText(), u"Page ready"_qs);

        page()->startLoad();
        QVERIFY(session->state().isLoading());
        page()->setHistory(true, true);
        page()->finishLoad();
        QVERIFY(session->state().isReady());
        QVERIFY(session->webCanGoForward());
    }

    void everyLoadIsWatched_data()
    {
        QTest::addColumn<bool>("finish");
        QTest::newRow("left loading") << false;
        QTest::newRow("finished") << true;
    }

    void everyLoadIsWatched()
    {
        QFETCH(bool, finish);
        PlaybackSession::Timing timing = fastTiming(never, never);
        timing.watchdog = 30ms;
        auto session = open(timing);
        page()->finishLoad();
        // A link inside the page starts the watchdog again.
        page()->startLoad();
        if (finish)
            page()->finishLoad();
        if (finish) {
            settle();
            settle();
            QVERIFY(session->state().isReady());
        } else {
            QTRY_VERIFY(session->state().isFailed());
            QCOMPARE(session->state().error()->message(), u"Still loading after 30 seconds."_qs);
        }
    }

    void failedLoadsAreClassified_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("domain");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const int url = static_cast<int>(PlatformError::Domain::urlLoading);
        const int other = static_cast<int>(PlatformError::Domain::other);
        QTest::newRow("cancelled") << PlatformError::cancelled << url << false << 0 << QString();
        QTest::newRow("timed out") << PlatformError::timedOut << url << true
                                   << static_cast<int>(Kind::network) << u"The connection timed out."_qs;
        QTest::newRow("offline") << PlatformError::notConnectedToInternet << url << true
                                 << static_cast<int>(Kind::network) << u"You're offline."_qs;
        QTest::newRow("other domain") << 7 << other << true << static_cast<int>(Kind::web)
                                      << u"Engine said no"_qs;
    }

    void failedLoadsAreClassified()
    {
        QFETCH(int, code);
        QFETCH(int, domain);
        QFETCH(bool, fails);
        QFETCH(int, kind);
        QFETCH(QString, message);
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        page()->startLoad();
        page()->failLoad({static_cast<PlatformError::Domain>(domain), code, u"Engine said no"_qs});
        QCOMPARE(session->state().isFailed(), fails);
        if (!fails) {
            QVERIFY(session->state().isLoading());
            return;
        }
        QCOMPARE(session->state().error()->kind(), static_cast<Kind>(kind));
        QCOMPARE(session->state().error()->message(), message);
    }

    void rendererCrashFails()
    {
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        page()->crashRenderer();
        QVERIFY(session->state().isFailed());
        QCOMPARE(session->state().error()->message(), u"The web process stopped unexpectedly."_qs);
    }

    void schemePolicy_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("mainFrame");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("failure");
        QTest::newRow("https") << u"https://example.com/next"_qs << true << true << QString();
        QTest::newRow("http upper-case") << u"HTTP://example.com/"_qs << true << true << QString();
        QTest::newRow("about") << u"about:blank"_qs << false << true << QString();
        QTest::newRow("data upper-case") << u"DATA:text/html,hi"_qs << true << true << QString();
        QTest::newRow("mailto main frame") << u"mailto:a@example.com"_qs << true << false
                                           << u"This page tried to open another app (mailto://)."_qs;
        QTest::newRow("custom upper-case main frame") << u"ZoomMtg://join?x=1"_qs << true << false
                                                      << u"This page tried to open another app (zoommtg://)."_qs;
        QTest::newRow("mailto sub-frame") << u"mailto:a@example.com"_qs << false << false << QString();
        QTest::newRow("file sub-frame") << u"file:///etc/passwd"_qs << false << false << QString();
        QTest::newRow("no url") << QString() << true << false << QString();
    }

    void schemePolicy()
    {
        QFETCH(QString, url);
        QFETCH(bool, mainFrame);
        QFETCH(bool, allowed);
        QFETCH(QString, failure);
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        QSignalSpy states(session.get(), &PlaybackSession::stateChanged);
        QCOMPARE(page()->requestNavigation(QUrl(url), mainFrame), allowed);
        if (failure.isEmpty()) {
            settle();
            QVERIFY(states.isEmpty());
            QVERIFY(session->state().isReady());
            return;
        }
        QTRY_VERIFY(session->state().isFailed());
        QCOMPARE(session->state().error()->kind(), Kind::web);
        QCOMPARE(session->state().error()->message(), failure);
    }

    void newWindowsOpenInPlace_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("https") << u"https://example.com/popup"_qs << true;
        QTest::newRow("http") << u"http://example.com/popup"_qs << true;
        QTest::newRow("custom") << u"zoommtg://join"_qs << false;
        QTest::newRow("javascript") << u"javascript:void(0)"_qs << false;
        QTest::newRow("empty") << QString() << false;
    }

    void newWindowsOpenInPlace()
    {
        QFETCH(QString, url);
        QFETCH(bool, loaded);
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        page()->requestNewWindow(QUrl(url));
        QCOMPARE(page()->loads().size(), loaded ? 2 : 1);
        if (loaded) {
            QCOMPARE(page()->loads().last().url, QUrl(url));
            QCOMPARE(page()->loads().last().timeout, 60000ms);
        }
        QCOMPARE(m_harness->webPagesMade(), 1);
        QVERIFY(session->state().isReady());
    }

    void danmakuFollowsThePreferenceOnBilibili_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("told");
        QTest::newRow("bilibili hidden") << u"https://www.bilibili.com/video/BV1"_qs << true << true;
        QTest::newRow("bilibili shown") << u"https://www.bilibili.com/video/BV1"_qs << false << true;
        QTest::newRow("other site") << u"https://example.com/video"_qs << true << false;
    }

    void danmakuFollowsThePreferenceOnBilibili()
    {
        QFETCH(QString, url);
        QFETCH(bool, hidden);
        QFETCH(bool, told);
        m_harness->preferences().setBilibiliHideDanmaku(hidden);
        auto session = open(fastTiming(never, never),
                            MediaSource(QUrl(url), MediaKind::web, u"Page"_qs, QString()));
        page()->finishLoad();
        QCOMPARE(page()->scriptCount(danmaku(hidden)), told ? 1 : 0);
        QCOMPARE(page()->scriptCount(danmaku(!hidden)), 0);
    }

    void debugScanOfBilibiliIsLogged_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QByteArray>("debug");
        QTest::addColumn<bool>("logged");
        QTest::newRow("bilibili, debugging") << u"https://www.bilibili.com/video/BV1"_qs << QByteArray("1") << true;
        QTest::newRow("bilibili, not debugging") << u"https://www.bilibili.com/video/BV1"_qs << QByteArray("0") << false;
        QTest::newRow("other site, debugging") << u"https://example.com/video"_qs << QByteArray("1") << false;
    }

    void debugScanOfBilibiliIsLogged()
    {
        QFETCH(QString, url);
        QFETCH(QByteArray, debug);
        QFETCH(bool, logged);
        QFile log(u"/tmp/kt-web.log"_qs);
        if (log.exists() && !QFileInfo(log).isWritable())
            QSKIP("another user's debug log is in the way");
        const QString marker = QUuid::createUuid().toString(QUuid::WithoutBraces);
        qputenv("LUMIVANE_DEBUG", debug);
        PlaybackSession::Timing timing = fastTiming(never, never);
        timing.debugScanDelay = 10ms;
        auto session = open(timing, MediaSource(QUrl(url), MediaKind::web, u"Page"_qs, QString()));
        page()->scriptAnswer = [&marker](const QString &script) -> QVariant {
            return script == WebEnhancer::siteStructureScanScript() ? QVariant(marker) : QVariant();
        };
        page()->finishLoad();
        if (logged) {
            QTRY_COMPARE(page()->scriptCount(WebEnhancer::siteStructureScanScript()), 1);
            const auto contents = [&log] {
                QFile file(log.fileName());
                return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            };
            QTRY_VERIFY(contents().contains("[ktlog] " + marker.toUtf8() + '\n'));
            QCOMPARE(log.permissions() & (QFile::ReadOther | QFile::WriteOther), QFile::Permissions());
        } else {
            settle();
            settle();
            QCOMPARE(page()->scriptCount(WebEnhancer::siteStructureScanScript()), 0);
        }
        qunsetenv("LUMIVANE_DEBUG");
    }

    // ---- title and thumbnail

    void titleIsReportedOnce_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("trimmed") << QVariant(u"  Real title \n"_qs) << QStringList{u"Real title"_qs};
        QTest::newRow("same as now") << QVariant(u"Page"_qs) << QStringList();
        QTest::newRow("blank") << QVariant(u" \t\n"_qs) << QStringList();
        QTest::newRow("not a string") << QVariant(42) << QStringList();
        QTest::newRow("thrown") << QVariant() << QStringList();
    }

    void titleIsReportedOnce()
    {
        QFETCH(QVariant, answer);
        QFETCH(QStringList, reported);
        m_title = answer;
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        // Once at the finish, then after each of the two follow-up waits.
        QTRY_COMPARE(page()->scriptCount(u"document.title"_qs), 3);
        settle();
        QCOMPARE(m_harness->titles(), reported);
        QCOMPARE(session->title(), reported.isEmpty() ? u"Page"_qs : reported.first());
    }

    void thumbnailIsReportedOncePerAddress()
    {
        m_thumbnail = u"http://img.example.com/a.jpg"_qs;
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        QTRY_COMPARE(page()->scriptCount(WebEnhancer::pageThumbnailScript()), 2);
        settle();
        QCOMPARE(m_harness->thumbnails(), QList<QUrl>{QUrl(u"https://img.example.com/a.jpg"_qs)});
        // A new document may report the same picture again.
        page()->startLoad();
        page()->finishLoad();
        QTRY_COMPARE(page()->scriptCount(WebEnhancer::pageThumbnailScript()), 4);
        settle();
        QCOMPARE(m_harness->thumbnails().size(), 2);
    }

    void knownThumbnailIsNeverReplaced()
    {
        m_thumbnail = u"https://img.example.com/a.jpg"_qs;
        const MediaSource source(pageUrl, MediaKind::web, u"Page"_qs, QString(),
                                 QUrl(u"https://img.example.com/known.jpg"_qs));
        auto session = open(fastTiming(never, never), source);
        page()->finishLoad();
        QTRY_COMPARE(page()->scriptCount(u"document.title"_qs), 3);
        QCOMPARE(page()->scriptCount(WebEnhancer::pageThumbnailScript()), 0);
        QVERIFY(m_harness->thumbnails().isEmpty());
    }

    void unusableThumbnailsAreDropped_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::newRow("empty") << QVariant(QString());
        QTest::newRow("relative") << QVariant(u"/img/a.jpg"_qs);
        QTest::newRow("javascript") << QVariant(u"javascript:alert(1)"_qs);
        QTest::newRow("number") << QVariant(3);
    }

    void unusableThumbnailsAreDropped()
    {
        QFETCH(QVariant, answer);
        m_thumbnail = answer;
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        QTRY_COMPARE(page()->scriptCount(WebEnhancer::pageThumbnailScript()), 2);
        settle();
        QVERIFY(m_harness->thumbnails().isEmpty());
    }

    // ---- the media poll

    void pollRecordIsPublished_data()
    {
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<bool>("available");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<double>("duration");
        QTest::addColumn<std::optional<double>>("aspect");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("canSeek");
        const std::optional<double> none;
        QTest::newRow("no media") << QVariantList{QString()} << false << 0.0 << 0.0 << none << false << false;
        QTest::newRow("invalid json") << QVariantList{u"{t:1"_qs} << false << 0.0 << 0.0 << none << false << false;
        QTest::newRow("array") << QVariantList{u"[1,2]"_qs} << false << 0.0 << 0.0 << none << false << false;
        QTest::newRow("number") << QVariantList{QVariant(5.0)} << false << 0.0 << 0.0 << none << false << false;
        QTest::newRow("thrown") << QVariantList{QVariant()} << false << 0.0 << 0.0 << none << false << false;
        QTest::newRow("playing")
            << QVariantList{u"{\"t\":12.5,\"d\":100,\"p\":false,\"en\":false,\"rs\":4,\"se\":true,\"ad\":false,\"vw\":1920,\"vh\":1080}"_qs}
            << true << 12.5 << 100.0 << std::optional<double>(1920.0 / 1080.0) << true << true;
        QTest::newRow("defaults") << QVariantList{u"{}"_qs} << true << 0.0 << 0.0 << none << false << false;
        QTest::newRow("absurd numbers")
            << QVariantList{u"{\"t\":-5,\"d\":\"100\",\"p\":\"no\",\"se\":1,\"vw\":1e308,\"vh\":1e-308}"_qs}
            << true << 0.0 << 0.0 << none << false << false;
        QTest::newRow("negative duration")
            << QVariantList{u"{\"t\":3,\"d\":-100,\"p\":false,\"vw\":-1920,\"vh\":1080}"_qs}
            << true << 3.0 << 0.0 << none << true << false;
        QTest::newRow("live keeps the duration")
            << QVariantList{u"{\"t\":5,\"d\":80,\"p\":false}"_qs, u"{\"t\":9,\"d\":0,\"p\":false}"_qs}
            << true << 9.0 << 80.0 << none << true << false;
        QTest::newRow("media gone")
            << QVariantList{u"{\"t\":5,\"d\":80,\"p\":false,\"vw\":4,\"vh\":3}"_qs, QString()}
            << false << 5.0 << 80.0 << std::optional<double>(4.0 / 3.0) << true << false;
    }

    void pollRecordIsPublished()
    {
        QFETCH(QVariantList, answers);
        QFETCH(bool, available);
        QFETCH(double, elapsed);
        QFETCH(double, duration);
        QFETCH(std::optional<double>, aspect);
        QFETCH(bool, playing);
        QFETCH(bool, canSeek);
        auto session = open(fastTiming(never, never));
        qsizetype served = 0;
        page()->scriptAnswer = [&](const QString &script) -> QVariant {
            if (script != WebEnhancer::mediaStateScript())
                return {};
            return answers.at(served++);
        };
        qsizetype marks = 0;
        for (qsizetype i = 0; i < answers.size(); ++i) {
            // Every finished page polls once at once; the next poll would come much later.
            page()->finishLoad();
            QTRY_COMPARE(served, i + 1);
            settle();
            if (WebMediaState::parse(answers.at(i)))
                ++marks;
        }
        QCOMPARE(session->webVideoAvailable(), available);
        QCOMPARE(session->elapsed(), elapsed);
        QCOMPARE(session->duration(), duration);
        QCOMPARE(session->contentAspect(), aspect);
        QCOMPARE(session->isPlaying(), playing);
        QCOMPARE(session->webCanSeek(), canSeek);
        QCOMPARE(page()->scriptCount(u"document.documentElement.classList.add('kt-webctl')"_qs), marks);
        QVERIFY(std::isfinite(session->elapsed()) && session->elapsed() >= 0);
        QVERIFY(std::isfinite(session->duration()) && session->duration() >= 0);
    }

    void smallAspectChangesAreNotPublished_data()
    {
        QTest::addColumn<int>("secondWidth");
        QTest::addColumn<int>("published");
        QTest::addColumn<double>("aspect");
        QTest::newRow("1.7780") << 17780 << 1 << 1.7777;
        QTest::newRow("1.3333") << 13333 << 2 << 1.3333;
    }

    void smallAspectChangesAreNotPublished()
    {
        QFETCH(int, secondWidth);
        QFETCH(int, published);
        QFETCH(double, aspect);
        auto session = open(fastTiming(never, never));
        QStringList answers{u"{\"vw\":17777,\"vh\":10000}"_qs,
                            QStringLiteral("{\"vw\":%1,\"vh\":10000}").arg(secondWidth)};
        page()->scriptAnswer = [&](const QString &script) -> QVariant {
            if (script != WebEnhancer::mediaStateScript() || answers.isEmpty())
                return {};
            return answers.takeFirst();
        };
        QSignalSpy aspects(session.get(), &PlaybackSession::contentAspectChanged);
        page()->finishLoad();
        QTRY_COMPARE(aspects.size(), 1);
        page()->finishLoad();
        QTRY_VERIFY(answers.isEmpty());
        settle();
        QCOMPARE(aspects.size(), published);
        QVERIFY(session->contentAspect());
        QCOMPARE(*session->contentAspect(), aspect);
    }

    void scrubbingKeepsThePosition()
    {
        auto session = open(fastTiming(never, never));
        page()->finishLoad();
        QTRY_COMPARE(page()->scriptCount(WebEnhancer::mediaStateScript()), 1);
        session->setScrubbingWeb(true);
        session->webSeek(40);
        m_frames = {Frame{12, 100}};
        page()->finishLoad();
        QTRY_COMPARE(m_served, 1);
        settle();
        QCOMPARE(session->elapsed(), 40.0);
        QCOMPARE(session->duration(), 100.0);
        session->setScrubbingWeb(false);
        m_frames = {Frame{41, 100}};
        page()->finishLoad();
        QTRY_COMPARE(session->elapsed(), 41.0);
    }

    void takeoverOffMeansNoPolling()
    {
        m_harness->preferences().setWebControlTakeover(false);
        auto session = open();
        m_frames = {Frame{5}};
        page()->finishLoad();
        settle();
        settle();
        QCOMPARE(page()->scriptCount(WebEnhancer::mediaStateScript()), 0);
        QVERIFY(!session->webVideoAvailable());
        // Switched on later, the running loop picks it up.
        m_harness->preferences().setWebControlTakeover(true);
        QTRY_COMPARE(m_served, 1);
        QTRY_VERIFY(session->webVideoAvailable());
    }

    // ---- stalls

    void frozenVideoIsNudgedThenGivenUp()
    {
        auto session = open();
        page()->finishLoad();
        QVERIFY(play({Frame{50}}));
        QVERIFY(play(frozenAt(50, 5)));
        QCOMPARE(anyRecoveries(), 0);
        QVERIFY(!session->toast());
        // The sixth second without movement: one nudge, a second before the last good spot.
        QVERIFY(play(frozenAt(50, 1)));
        QTRY_COMPARE(recoveries(49), 1);
        QCOMPARE(session->toast(), stalledToast);
        QVERIFY(session->state().isReady());
        QVERIFY(play(frozenAt(50, 13)));
        QVERIFY(session->state().isReady());
        QCOMPARE(anyRecoveries(), 1);
        QVERIFY(play(frozenAt(50, 1)));
        QTRY_VERIFY(session->state().isFailed());
        QCOMPARE(session->state().error()->message(), u"Web playback got stuck."_qs);
        // The poll keeps running after the failure, which is reported once.
        QSignalSpy states(session.get(), &PlaybackSession::stateChanged);
        QVERIFY(play(frozenAt(50, 3)));
        QCOMPARE(states.count(), 0);
        QVERIFY(play({Frame{51}}));
    }

    void videoStillFrozenAfterTheNudgeIsGivenUp()
    {
        auto session = open();
        page()->finishLoad();
        QVERIFY(play({Frame{50}}));
        QVERIFY(play(frozenAt(50, 6)));
        QTRY_COMPARE(recoveries(49), 1);
        // The nudge landed a second back, and the video stays there.
        QVERIFY(play(frozenAt(49, 13)));
        QVERIFY(session->state().isReady());
        QVERIFY(play(frozenAt(49, 1)));
        QVERIFY(session->state().isFailed());
        QCOMPARE(session->state().error()->message(), u"Web playback got stuck."_qs);
        QCOMPARE(anyRecoveries(), 1);
    }

    void progressResetsTheStall_data()
    {
        QTest::addColumn<double>("moveTo");
        QTest::addColumn<int>("nudges");
        QTest::newRow("0.3 s is progress") << 50.3 << 0;
        QTest::newRow("0.2 s is not") << 50.2 << 1;
    }

    void progressResetsTheStall()
    {
        QFETCH(double, moveTo);
        QFETCH(int, nudges);
        auto session = open();
        page()->finishLoad();
        QVERIFY(play({Frame{50}}));
        QVERIFY(play(frozenAt(50, 5)));
        QVERIFY(play(frozenAt(moveTo, 1)));
        QVERIFY(play(frozenAt(moveTo, 4)));
        QCOMPARE(anyRecoveries(), nudges);
        QCOMPARE(session->toast().has_value(), nudges > 0);
    }

    void stallsCountOnlyWhileWatched_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::newRow("paused") << u"paused"_qs;
        QTest::newRow("ended") << u"ended"_qs;
        QTest::newRow("hidden") << u"hidden"_qs;
        QTest::newRow("scrubbing") << u"scrubbing"_qs;
        QTest::newRow("live") << u"live"_qs;
        QTest::newRow("advertisement") << u"ad"_qs;
    }

    void stallsCountOnlyWhileWatched()
    {
        QFETCH(QString, condition);
        auto session = open();
        page()->finishLoad();
        QVERIFY(play({Frame{50}}));
        Frame shape;
        shape.paused = condition == u"paused";
        shape.ended = condition == u"ended";
        shape.ad = condition == u"ad";
        shape.d = condition == u"live" ? 0 : 100;
        if (condition == u"hidden")
            session->setHidden(true);
        if (condition == u"scrubbing")
            session->setScrubbingWeb(true);
        QVERIFY(play(frozenAt(50, 30, shape)));
        QCOMPARE(anyRecoveries(), 0);
        QVERIFY(session->state().isReady());
        QVERIFY(!session->toast());
    }

    void pollGapsAreCapped_data()
    {
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("quietPolls");
        // 1.5 s at most per poll: four polls reach 6 s; a clock going back credits nothing.
        QTest::newRow("slept machine") << 600.0 << 3;
        QTest::newRow("exact") << 1.5 << 3;
        QTest::newRow("clock backwards") << -5.0 << 40;
    }

    void pollGapsAreCapped()
    {
        QFETCH(double, step);
        QFETCH(int, quietPolls);
        auto session = open();
        page()->finishLoad();
        QVERIFY(play({Frame{50}}));
        m_step = step;
        QVERIFY(play(frozenAt(50, quietPolls)));
        QCOMPARE(anyRecoveries(), 0);
        if (step > 0) {
            QVERIFY(play(frozenAt(50, 1)));
            QCOMPARE(recoveries(49), 1);
        }
    }

    void lostPositionAfterAdvertisementIsRestoredOnce_data()
    {
        QTest::addColumn<bool>("jumpDuringAd");
        QTest::newRow("jump while the marker shows") << true;
        QTest::newRow("jump once the marker is gone") << false;
    }

    void lostPositionAfterAdvertisementIsRestoredOnce()
    {
        QFETCH(bool, jumpDuringAd);
        // Normal polls never come by themselves: only the fast polls near an advertisement.
        auto session = open(fastTiming(never, 5ms));
        m_step = 0.2;
        QVERIFY(pollOnce(Frame{600, 1000}));
        Frame ad{600, 1000};
        ad.ad = true;
        QList<Frame> rest{ad};
        if (jumpDuringAd) {
            Frame adAtZero = ad;
            adAtZero.t = 0;
            // The marker goes; the site left the video at 0 and plays on slowly.
            rest << adAtZero << Frame{0, 1000};
        } else {
            // The marker goes first, then the site throws the position back.
            rest << Frame{600, 1000} << Frame{0, 1000};
        }
        // The window after the advertisement is twelve fast polls long.
        while (rest.size() < 14)
            rest.append(Frame{0.2 * static_cast<double>(rest.size() - 2), 1000});
        m_frames.insert(m_frames.end(), rest.begin(), rest.end());
        page()->finishLoad();
        QTRY_COMPARE(m_served, 1 + static_cast<int>(rest.size()));
        settle();
        QCOMPARE(recoveries(600), 1);
        QCOMPARE(anyRecoveries(), 1);
        QCOMPARE(session->toast(), stalledToast);
        QVERIFY(session->state().isReady());
    }

    void shortVideoIsNeverRestored()
    {
        auto session = open(fastTiming(never, 5ms));
        m_step = 0.2;
        QVERIFY(pollOnce(Frame{25, 25}));
        Frame ad{25, 25};
        ad.ad = true;
        QList<Frame> rest{ad, Frame{0, 25, false, false, true}};
        for (int i = 0; i <= 12; ++i)
            rest.append(Frame{0.2 * i, 25});
        m_frames.insert(m_frames.end(), rest.begin(), rest.end());
        page()->finishLoad();
        QTRY_COMPARE(m_served, 1 + static_cast<int>(rest.size()));
        settle();
        QCOMPARE(anyRecoveries(), 0);
    }

    // ---- hiding

    void hidingPausesOnlyAPlayingPage_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("pauseWhenHidden");
        QTest::addColumn<qsizetype>("pauses");
        QTest::newRow("playing, pause on hide") << true << true << qsizetype(1);
        QTest::newRow("paused, pause on hide") << false << true << qsizetype(0);
        QTest::newRow("playing, keep playing") << true << false << qsizetype(0);
    }

    void hidingPausesOnlyAPlayingPage()
    {
        QFETCH(bool, playing);
        QFETCH(bool, pauseWhenHidden);
        QFETCH(qsizetype, pauses);
        m_harness->preferences().setPauseWhenHidden(pauseWhenHidden);
        auto session = open(fastTiming(never, never));
        QVERIFY(pollOnce(Frame{20, 100, !playing}));
        QCOMPARE(session->isPlaying(), playing);
        session->setHidden(true);
        QCOMPARE(page()->scriptCount(WebEnhancer::hidePauseScript()), pauses);
        QCOMPARE(m_harness->progress().size(), 1);
        session->setHidden(false);
        QCOMPARE(page()->scriptCount(WebEnhancer::showResumeScript()), pauses);
        // Hidden and shown again without a pause: nothing to resume.
        session->setHidden(true);
        session->setHidden(false);
        QCOMPARE(page()->scriptCount(WebEnhancer::showResumeScript()),
                 page()->scriptCount(WebEnhancer::hidePauseScript()));
    }

    // ---- stop, retry

    void stopReleasesThePage()
    {
        auto session = open();
        m_frames = {Frame{20, 100, false, false, false}};
        page()->finishLoad();
        QTRY_VERIFY(session->webVideoAvailable());
        QTRY_VERIFY(session->contentAspect());
        QPointer<FakeWebPage> old = page();
        // Answers on their way when the session stops never land.
        m_title = u"Late title"_qs;
        old->finishLoad();
        QSignalSpy views(session.get(), &PlaybackSession::webViewChanged);
        session->stop();
        QCOMPARE(old->stops(), 1);
        QCOMPARE(old->blankLoads(), 1);
        QCOMPARE(views.size(), 1);
        QCOMPARE(views.first().first().value<QWidget *>(), nullptr);
        QVERIFY(!session->webView());
        QVERIFY(!session->webPage());
        QVERIFY(!session->isPlaying());
        QVERIFY(session->state().isLoading());
        QVERIFY(!session->contentAspect());
        // Events of the released page change nothing.
        old->finishLoad();
        old->crashRenderer();
        QVERIFY(session->state().isLoading());
        QTRY_VERIFY(old.isNull());
        QVERIFY(m_harness->titles().isEmpty());
    }

    void retryBuildsANewPage()
    {
        auto session = open();
        m_frames = {Frame{20}};
        page()->finishLoad();
        QTRY_VERIFY(session->webVideoAvailable());
        QPointer<FakeWebPage> old = page();
        // An answer already on its way from the old page must not land.
        m_title = u"Old page title"_qs;
        old->runJavaScript(u"noop"_qs);
        session->retry();
        QCOMPARE(m_harness->webPagesMade(), 2);
        QVERIFY(page() != old.data());
        QVERIFY(!session->webVideoAvailable());
        QVERIFY(!session->isPlaying());
        QCOMPARE(session->elapsed(), 0.0);
        QVERIFY(session->state().isLoading());
        if (old) {
            QCOMPARE(old->blankLoads(), 0);
            QCOMPARE(old->stops(), 1);
            old->finishLoad();
            old->failLoad({PlatformError::Domain::urlLoading, PlatformError::timedOut, QString()});
        }
        QVERIFY(session->state().isLoading());
        QTRY_VERIFY(old.isNull());
        QVERIFY(m_harness->titles().isEmpty());
        page()->scriptAnswer = [this](const QString &script) { return answer(script); };
        m_frames = {Frame{7}};
        page()->finishLoad();
        QVERIFY(session->state().isReady());
        QTRY_COMPARE(session->elapsed(), 7.0);
    }

    void staleAnswersAreDropped()
    {
        auto session = open(fastTiming(never, never));
        m_title = u"From the old page"_qs;
        page()->finishLoad();
        // The title answer is queued; the page is let go before it arrives.
        session->retry();
        settle();
        QVERIFY(m_harness->titles().isEmpty());
        QCOMPARE(session->title(), u"Page"_qs);
    }

    // ---- controls

    // Each control reaches the page as one operation with a value the page can take.
    void controlsReachThePage()
    {
        using Act = std::function<void(PlaybackSession &)>;
        struct Row {
            Act act;
            QStringList scripts;
            std::optional<double> elapsed;
        };
        const QList<Row> rows{
            {[](PlaybackSession &s) { s.webTogglePlay(); }, {control(MediaControl::togglePlay)}, {}},
            {[](PlaybackSession &s) { s.webSeek(12.5); }, {control(MediaControl::seek, 12.5)}, 12.5},
            {[](PlaybackSession &s) { s.webSeek(-3); }, {control(MediaControl::seek, 0.0)}, 0.0},
            {[](PlaybackSession &s) { s.webSeek(std::nan("")); }, {control(MediaControl::seek, 0.0)}, 0.0},
            {[](PlaybackSession &s) { s.webSetVolume(1.7); }, {control(MediaControl::volume, 1.0)}, {}},
            {[](PlaybackSession &s) { s.webSetVolume(0.85); }, {control(MediaControl::volume, 0.85)}, {}},
            {[](PlaybackSession &s) { s.setSpeed(1.25); }, {control(MediaControl::speed, 1.25)}, {}},
            {[](PlaybackSession &s) { s.setLoop(true); }, {control(MediaControl::loop, true)}, {}},
            // The volume control calls webSetVolume itself.
            {[](PlaybackSession &s) { s.setVolume(0.3); }, {}, {}},
        };
        auto session = open(fastTiming(never, never));
        for (const Row &row : rows) {
            const qsizetype before = page()->scripts().size();
            row.act(*session);
            QCOMPARE(page()->scripts().mid(before), row.scripts);
            if (row.elapsed)
                QCOMPARE(session->elapsed(), *row.elapsed);
        }
    }

    void rememberedSpeedAndLoopReachTheMedia()
    {
        m_harness->quickStore().setValue(u"default.speed"_qs, 1.5);
        m_harness->quickStore().setValue(u"default.loop"_qs, true);
        auto session = open();
        page()->finishLoad();
        QVERIFY(play({Frame{1}, Frame{2}}));
        QCOMPARE(page()->scriptCount(control(MediaControl::speed, 1.5)), 1);
        QCOMPARE(page()->scriptCount(control(MediaControl::loop, true)), 1);
    }

    // ---- screenshots

    void screenshotOfThePage_data()
    {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("toast");
        QTest::newRow("picture") << true << u"Screenshot saved to Desktop"_qs;
        QTest::newRow("no picture") << false << u"Screenshot failed"_qs;
    }

    void screenshotOfThePage()
    {
        QFETCH(bool, picture);
        QFETCH(QString, toast);
        auto session = open(fastTiming(never, never));
        session->setTitle(u"Web: clip"_qs);
        QImage image(64, 36, QImage::Format_RGB32);
        image.fill(QColor(200, 30, 40));
        page()->snapshot = picture ? image : QImage();
        const QDir folder(AppPaths::screenshotFolder());
        QCOMPARE(folder.path(), m_home.filePath(u"Desktop/澜萤截图"_qs));
        session->captureScreenshot();
        QTRY_VERIFY(session->toast().has_value());
        QCOMPARE(*session->toast(), toast);
        const QStringList files = folder.entryList({u"Web- clip-*.png"_qs}, QDir::Files);
        QCOMPARE(files.size(), picture ? 1 : 0);
        if (picture) {
            const QImage saved(folder.filePath(files.first()));
            QCOMPARE(saved.size(), image.size());
            QCOMPARE(saved.pixelColor(10, 10), QColor(200, 30, 40));
        }
        for (const QString &name : files)
            QFile::remove(folder.filePath(name));
    }

    void screenshotOfAGoneSessionIsDropped()
    {
        auto session = open(fastTiming(never, never));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        page()->snapshot = image;
        session->captureScreenshot();
        session.reset();
        settle();
        QVERIFY(QDir(AppPaths::screenshotFolder()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_MAIN(TestWebSession)
#include "tst_websession.moc"

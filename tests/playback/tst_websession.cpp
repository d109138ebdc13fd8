#include "SessionScript.h"
#include "platform/AppPaths.h"
#include "playback/WebEnhancer.h"

#include "KiteCore/L10n.h"
#include "TemporaryHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace std::chrono_literals;
using SessionScript::number;
using Op = WebEnhancer::MediaControl;

namespace {

// Web steps: "finish", "start", "crash", "fail:<code>", "history:<back><forward>", "nav:<url>" and
// "subnav:<url>" (what the policy answers goes to the fact "allowed"), "popup:<url>", "title:<answer>"
// and "thumb:<answer>" ('_' for a space, "#<n>" a number, "*<n>" n letters), "media:<poll>" (answered by the next polls,
// waited for; "<t>[/<duration>][@<w>x<h>][p paused][a advertisement][*<count>]", "-" no media),
// "queue:<poll>" (not waited for), "settle", "scrub", "unscrub", "takeover:<0|1>", "wtoggle",
// "wseek:<s>", "wvolume:<v>", "mark", "snap:<ok|none>". Before opening: "source=<url>", "slowpoll".
// Facts: loads ("<url>@<timeout s>"), pages, view, compat, userscripts ("<cleanup><bilibili>"),
// allowed, titles, titlelength, thumbs, aspect, ran (scripts since "mark"), hides, resumes, states,
// recover:<target>, calls:<op>:<value>, stops, blanks, shots.
struct Row {
    const char *name;
    const char *steps;
    const char *facts;
};

const QList<Row> rows{
    {"opens the page", "source=https://www.bilibili.com/v pref.bilibiliClean=false pref.webCompatibilityMode=true",
     "state=loading;loads=https://www.bilibili.com/v@30;view=1;compat=1;userscripts=10;pages=1;status=Opening…"},
    {"page clean-up off", "pref.webCleanup=false pref.webCompatibilityMode=false", "userscripts=00;compat=0"},
    {"finished", "history:10 finish", "state=ready;status=Page ready;webCanGoBack=1;webCanGoForward=0"},
    {"a link loads again", "finish start", "state=loading"},
    {"every load is watched", "finish start settle", "state=failed;error=Still loading after 30 seconds."},
    {"a finished load is not", "finish start finish settle", "state=ready"},
    {"cancelled loads are no failure", "finish start fail:-999", "state=loading"},
    {"failed loads are classified", "finish start fail:-1001", "state=failed;error=The connection timed out."},
    {"renderer crash", "finish crash", "state=failed;error=The web process stopped unexpectedly."},
    {"allowed schemes", "finish nav:https://a.example/ nav:HTTP://a.example/ subnav:about:blank nav:DATA:text/html,hi "
                        "subnav:mailto:a@example.com subnav:file:///etc/passwd nav: settle", "allowed=1,1,1,1,0,0,0;state=ready"},
    {"another app", "finish nav:ZoomMtg://join settle", "allowed=0;state=failed;error=This page tried to open another app (zoommtg://)."},
    {"pop-ups open in place", "finish popup:https://a.example/p popup:http://a.example/q popup:zoommtg://j popup:javascript:void(0) popup:",
     "loads=https://example.com/watch@30,https://a.example/p@60,http://a.example/q@60;pages=1;state=ready"},
    {"danmaku hidden", "source=https://www.bilibili.com/v pref.bilibiliHideDanmaku=true finish", "calls:danmaku:1=1;calls:danmaku:0=0"},
    {"danmaku shown", "source=https://www.bilibili.com/v pref.bilibiliHideDanmaku=false finish", "calls:danmaku:1=0;calls:danmaku:0=1"},
    {"no danmaku elsewhere", "pref.bilibiliHideDanmaku=true finish", "calls:danmaku:1=0"},
    {"title trimmed, reported once", "title:__Real_title_ finish settle", "titles=Real title;title=Real title"},
    {"same title", "title:Page finish settle", "titles="},
    {"blank title", "title:___ finish settle", "titles=;title=Page"},
    {"title not a string", "title:#42 finish settle", "titles="},
    {"a huge title is cut", "title:*2000000 finish settle", "titlelength=300"},
    {"thumbnail once per document", "thumb:http://i.example/a.jpg finish settle start finish settle",
     "thumbs=https://i.example/a.jpg,https://i.example/a.jpg"},
    {"unusable thumbnail", "thumb:/img/a.jpg finish settle", "thumbs="},
    {"thumbnail not a string", "thumb:#3 finish settle", "thumbs="},
    {"a known thumbnail stays", "source=https://example.com/watch#known thumb:https://i.example/a.jpg finish settle", "thumbs="},
    {"the poll is published", "finish media:12.5/100@1920x1080", "webVideoAvailable=1;elapsed=12.5;duration=100;aspect=1.77778;isPlaying=1;webCanSeek=1"},
    {"no media", "finish media:-", "webVideoAvailable=0;elapsed=0;aspect=none"},
    {"live keeps the duration", "finish media:5/80 media:9/0", "elapsed=9;duration=80"},
    {"media gone", "finish media:5/80@4x3 media:-", "webVideoAvailable=0;elapsed=5;duration=80;aspect=1.33333"},
    {"small aspect changes are noise", "finish media:1@17777x10000 media:1@17780x10000", "aspect=1.7777"},
    {"scrubbing keeps the position", "finish scrub wseek:40 media:12", "elapsed=40;duration=100"},
    {"until it ends", "finish scrub wseek:40 media:12 unscrub media:41", "elapsed=41"},
    {"no takeover, no polling", "takeover:0 finish queue:5 settle", "webVideoAvailable=0;elapsed=0"},
    {"takeover switched on later", "takeover:0 finish queue:5 settle takeover:1 media:", "webVideoAvailable=1;elapsed=5"},
    {"a frozen video is nudged", "finish media:50 media:50*6", "recover:49=1;toast=Web playback stalled — recovering…;state=ready"},
    {"then given up, once", "finish media:50 media:50*6 media:50*14 media:50*3", "recover:49=1;states=2;error=Web playback got stuck."},
    {"fast polls near an advertisement", "slowpoll queue:600/1000 finish media: queue:600/1000a*3 finish media: media:600/1000 media:0/1000 settle",
     "recover:600=1"},
    {"hiding pauses a playing page", "pref.pauseWhenHidden=true finish media:20 hide show", "hides=1;resumes=1;reports=20/100"},
    {"not a paused one", "pref.pauseWhenHidden=true finish media:20p hide show", "hides=0;resumes=0"},
    {"nor when told to keep playing", "pref.pauseWhenHidden=false finish media:20 hide show", "hides=0;resumes=0"},
    {"stop releases the page", "finish media:20@4x3 stop finish crash", "stops=1;blanks=1;view=0;state=loading;isPlaying=0;aspect=none"},
    {"toggle", "mark wtoggle", "ran=1"},
    {"seek", "mark wseek:12.5", "ran=1;calls:seek:12.5=1;elapsed=12.5"},
    {"seek to no number", "wseek:nan", "calls:seek:0=1;elapsed=0"},
    {"volume", "mark wvolume:1.7", "ran=1;calls:volume:1=1"},
    {"speed", "mark set.speed=1.25", "ran=1;calls:speed:1.25=1"},
    {"loop", "mark set.loop=true", "ran=1;calls:loop:1=1"},
    {"the volume slider runs nothing itself", "mark set.volume=0.3", "ran=0"},
    {"remembered speed and loop reach new media", "store.speed=1.5 store.loop=true finish media:1 media:2", "calls:speed:1.5=1;calls:loop:1=1"},
    {"screenshot of the page", "snap:ok shot settle", "toast=Screenshot saved to Desktop;shots=1"},
    {"no picture", "snap:none shot settle", "toast=Screenshot failed;shots=0"},
};

QVariant answerOf(const QString &text)
{
    if (text.startsWith(u'*'))
        return QString(text.mid(1).toInt(), u'x');
    return text.startsWith(u'#') ? QVariant(text.mid(1).toInt()) : QVariant(QString(text).replace(u'_', u' '));
}

} // namespace

class TestWebSession : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<SessionHarness> m_harness;
    PlaybackSession *m_session = nullptr;
    double m_now = 1000;
    QStringList m_polls;
    QString m_last = u"-"_qs;
    int m_mark = 0;
    int m_states = 0;
    QList<bool> m_allowed;
    QVariant m_title;
    QVariant m_thumbnail;

    FakeWebPage &page() const { return *m_harness->webPage(); }

    // The page answers the media poll from m_polls, moving the clock a second each; once they
    // are used up, with the last answer again and the clock standing still.
    QVariant answer(const QString &script)
    {
        if (script == u"document.title")
            return m_title;
        if (script == WebEnhancer::pageThumbnailScript())
            return m_thumbnail;
        if (script != WebEnhancer::mediaStateScript())
            return {};
        if (!m_polls.isEmpty()) {
            m_now += 1;
            m_last = m_polls.takeFirst();
        }
        const QRegularExpressionMatch m =
            QRegularExpression(u"^([0-9.]+)(?:/([0-9.]+))?(?:@([0-9]+)x([0-9]+))?([pa]*)$"_qs).match(m_last);
        if (!m.hasMatch())
            return QString();
        const QJsonObject record{{u"t"_qs, m.captured(1).toDouble()}, {u"d"_qs, m.hasCaptured(2) ? m.captured(2).toDouble() : 100.0},
                                 {u"p"_qs, m.captured(5).contains(u'p')}, {u"ad"_qs, m.captured(5).contains(u'a')},
                                 {u"vw"_qs, m.captured(3).toInt()}, {u"vh"_qs, m.captured(4).toInt()}, {u"se"_qs, true}};
        return QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact));
    }

    bool queue(const QString &polls)
    {
        const QString count = polls.section(u'*', 1);
        for (int i = 0; i < (count.isEmpty() ? 1 : count.toInt()); ++i)
            m_polls << polls.section(u'*', 0, 0);
        return true;
    }

    bool step(const QString &step)
    {
        const QString arg = step.section(u':', 1);
        if (step == u"finish") page().finishLoad();
        else if (step == u"start") page().startLoad();
        else if (step == u"crash") page().crashRenderer();
        else if (step.startsWith(u"fail:")) page().failLoad({PlatformError::Domain::urlLoading, arg.toInt(), u"Engine said no"_qs});
        else if (step.startsWith(u"history:")) page().setHistory(arg.at(0) == u'1', arg.at(1) == u'1');
        else if (step.startsWith(u"nav:") || step.startsWith(u"subnav:")) m_allowed << page().requestNavigation(QUrl(arg), step.startsWith(u"nav"));
        else if (step.startsWith(u"popup:")) page().requestNewWindow(QUrl(arg));
        else if (step.startsWith(u"title:")) m_title = answerOf(arg);
        else if (step.startsWith(u"thumb:")) m_thumbnail = answerOf(arg);
        else if (step.startsWith(u"queue:")) return queue(arg);
        else if (step.startsWith(u"media:")) {
            if (!arg.isEmpty())
                queue(arg);
            // Spun, not waited for: polls come back to back.
            for (QDeadlineTimer deadline(2000); !m_polls.isEmpty() && !deadline.hasExpired();)
                QCoreApplication::processEvents();
            // The page hands its answer over queued.
            QCoreApplication::processEvents();
            return m_polls.isEmpty();
        } else if (step == u"settle") {
            bool later = false;
            QTimer::singleShot(15, [&later] { later = true; });
            return QTest::qWaitFor([&later] { return later; }, 2000);
        } else if (step == u"scrub" || step == u"unscrub") m_session->setScrubbingWeb(step == u"scrub");
        else if (step.startsWith(u"takeover:")) m_harness->preferences().setWebControlTakeover(arg == u"1");
        else if (step == u"wtoggle") m_session->webTogglePlay();
        else if (step.startsWith(u"wseek:")) m_session->webSeek(arg.toDouble());
        else if (step.startsWith(u"wvolume:")) m_session->webSetVolume(arg.toDouble());
        else if (step == u"mark") m_mark = int(page().scripts().size());
        else if (step.startsWith(u"snap:")) {
            page().snapshot = QImage(64, 36, QImage::Format_RGB32);
            page().snapshot.fill(Qt::red);
            if (arg == u"none")
                page().snapshot = QImage();
        } else if (step != u"slowpoll") return false;
        return true;
    }

    std::optional<QString> fact(const QString &name) const
    {
        FakeWebPage &p = page();
        const QString arg = name.section(u':', 1);
        if (name == u"loads") {
            QStringList loads;
            for (const FakeWebPage::Load &load : p.loads())
                loads << load.url.toString() + u"@"_qs + QString::number(load.timeout.count() / 1000);
            return loads.join(u',');
        }
        if (name == u"pages") return QString::number(m_harness->webPagesMade());
        if (name == u"view") return QString::number(m_session->webView() && m_session->webView() == p.view());
        if (name == u"compat") return QString::number(p.compatibilityMode());
        if (name == u"userscripts") {
            for (const QString &bits : {u"00"_qs, u"01"_qs, u"10"_qs, u"11"_qs}) {
                if (p.userScripts() == WebEnhancer::scripts(m_session->source().url(), bits.at(0) == u'1', bits.at(1) == u'1'))
                    return bits;
            }
            return u"?"_qs;
        }
        if (name == u"allowed") {
            QStringList allowed;
            for (const bool a : m_allowed)
                allowed << QString::number(a);
            return allowed.join(u',');
        }
        if (name == u"titles") return m_harness->titles().join(u',');
        if (name == u"titlelength") return QString::number(m_session->title().size());
        if (name == u"thumbs") {
            QStringList thumbs;
            for (const QUrl &url : m_harness->thumbnails())
                thumbs << url.toString();
            return thumbs.join(u',');
        }
        if (name == u"aspect") return m_session->contentAspect() ? number(*m_session->contentAspect()) : u"none"_qs;
        if (name == u"ran") return QString::number(p.scripts().size() - m_mark);
        if (name == u"hides") return QString::number(p.scriptCount(WebEnhancer::hidePauseScript()));
        if (name == u"resumes") return QString::number(p.scriptCount(WebEnhancer::showResumeScript()));
        if (name == u"states") return QString::number(m_states);
        if (name == u"stops") return QString::number(p.stops());
        if (name == u"blanks") return QString::number(p.blankLoads());
        if (name.startsWith(u"recover:")) return QString::number(p.scriptCount(WebEnhancer::recoveryScript(arg.toDouble())));
        if (name.startsWith(u"calls:")) {
            static const QHash<QString, Op> ops{{u"seek"_qs, Op::seek}, {u"volume"_qs, Op::volume}, {u"speed"_qs, Op::speed},
                                                {u"loop"_qs, Op::loop}, {u"danmaku"_qs, Op::danmaku}};
            const Op op = ops.value(arg.section(u':', 0, 0));
            const QString value = arg.section(u':', 1);
            return QString::number(p.scriptCount(op == Op::loop || op == Op::danmaku
                                                     ? WebEnhancer::mediaControlScript(op, value == u"1")
                                                     : WebEnhancer::mediaControlScript(op, value.toDouble())));
        }
        if (name == u"shots")
            return QString::number(QDir(AppPaths::screenshotFolder()).entryList({u"Page-*.png"_qs}, QDir::Files).size());
        return std::nullopt;
    }

private Q_SLOTS:
    void initTestCase() { m_home = std::make_unique<TemporaryHome>(); }

    void init()
    {
        m_harness = std::make_unique<SessionHarness>();
        QVERIFY(m_harness->isValid());
        L10n::setLanguage(AppLanguage::en);
        m_now = 1000;
        m_polls.clear();
        m_mark = m_states = 0;
        m_last = u"-"_qs;
        m_allowed.clear();
        m_title = m_thumbnail = QVariant();
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
        const QString &steps = QString::fromUtf8(rows.at(row).steps);
        SessionScript::prepare(*m_harness, steps.split(u' '));
        PlaybackSession::Timing timing;
        timing.watchdog = 5ms;
        timing.webPoll = steps.contains(u"slowpoll") ? 3600s : 0ms;
        timing.webPollNearAd = 0ms;
        timing.webFollowUpFirst = timing.webFollowUpSecond = 1ms;
        timing.clock = [this] { return m_now; };
        const QRegularExpressionMatch source = QRegularExpression(u"source=(\\S+)"_qs).match(steps);
        const QUrl url(source.hasMatch() ? source.captured(1) : u"https://example.com/watch"_qs);
        const std::optional<QUrl> known = url.fragment() == u"known" ? std::optional(url) : std::nullopt;
        auto session = m_harness->open(MediaSource(url, MediaKind::web, u"Page"_qs, QString(), known), std::nullopt, timing);
        m_session = session.get();
        connect(m_session, &PlaybackSession::stateChanged, this, [this] { ++m_states; });
        page().scriptAnswer = [this](const QString &script) { return answer(script); };
        SessionScript::check(*m_harness, session, steps, QString::fromUtf8(rows.at(row).facts), [this](const QString &s) { return step(s); },
                             [this](const QString &name) { return fact(name); });
    }

    void pageThatCannotBeMadeFails()
    {
        PlaybackSession session(SessionHarness::webSource(), std::nullopt,
                                {m_harness->preferences(), m_harness->quickStore(), {}, [] { return std::unique_ptr<WebPage>(); }, {}});
        QCOMPARE(session.state().error()->message(), u"An unknown error occurred."_qs);
        QVERIFY(!session.webView());
        session.webTogglePlay();
        session.captureScreenshot();
        QVERIFY(!session.toast());
    }

    // Answers and events of a page let go never land, also when a retry made a new one.
    void retryBuildsANewPage()
    {
        PlaybackSession::Timing timing;
        timing.webFollowUpFirst = timing.webFollowUpSecond = 1ms;
        auto session = m_harness->open(SessionHarness::webSource(), std::nullopt, timing);
        QPointer<FakeWebPage> old = m_harness->webPage();
        old->scriptAnswer = [](const QString &) { return QVariant(u"Old title"_qs); };
        old->finishLoad();
        session->retry();
        QCOMPARE(m_harness->webPagesMade(), 2);
        QCOMPARE(old->stops(), 1);
        QCOMPARE(old->blankLoads(), 0);
        QVERIFY(session->state().isLoading() && session->webView() == page().view());
        old->failLoad({PlatformError::Domain::urlLoading, PlatformError::timedOut, QString()});
        QTRY_VERIFY(old.isNull());
        QVERIFY(session->state().isLoading());
        QVERIFY(m_harness->titles().isEmpty());
    }
};

QTEST_MAIN(TestWebSession)
#include "tst_websession.moc"

#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "playback/WebEnhancer.h"

#include <QApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr int timeout = 20000;
const QUrl unknownUrl(QStringLiteral("https://example.com/page"));
const QUrl bilibiliUrl(QStringLiteral("https://www.bilibili.com/video/BV1"));

QByteArray html(const QString &body)
{
    return (u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"_qs + body + u"</body></html>"_qs)
        .toUtf8();
}

QString div(const QString &id, const QString &attributes = {})
{
    return u"<div id=\"%1\" %2>%1</div>"_qs.arg(id, attributes);
}

} // namespace

// The page scripts in the real web engine on local pages. A page load costs seconds, so each
// load serves many checks: most swap the body or head of an already loaded page.
class TestWebEnhancerPages : public QObject
{
    Q_OBJECT

private:
    QWebEngineView m_view;
    QWebEnginePage *m_page = nullptr;
    std::unique_ptr<LocalHttpServer> m_server;
    QString m_clip;

    // Loads a page with the scripts installed as the session installs them.
    bool load(const QList<WebPage::UserScript> &scripts, const QString &path, const QString &body)
    {
        m_page->scripts().clear();
        for (const WebPage::UserScript &script : scripts) {
            QWebEngineScript s;
            s.setName(script.name);
            s.setSourceCode(script.source);
            s.setWorldId(QWebEngineScript::MainWorld);
            s.setInjectionPoint(script.injection == WebPage::Injection::documentCreation
                                    ? QWebEngineScript::DocumentCreation : QWebEngineScript::DocumentReady);
            m_page->scripts().insert(s);
        }
        m_server->addPage(path, html(body));
        QSignalSpy finished(m_page, &QWebEnginePage::loadFinished);
        m_page->load(m_server->url(path));
        return finished.wait(timeout) && finished.first().first().toBool();
    }

    QVariant eval(const QString &script)
    {
        auto answer = std::make_shared<std::optional<QVariant>>();
        m_page->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
        return QTest::qWaitFor([&] { return answer->has_value(); }, timeout) ? **answer : QVariant();
    }

    bool isTrue(const QString &expression) { return eval(expression).toBool(); }

    QString media() { return u"src=\"%1\" preload=\"auto\" muted"_qs.arg(m_clip); }

    QJsonObject record() { return QJsonDocument::fromJson(eval(WebEnhancer::mediaStateScript()).toString().toUtf8()).object(); }

    // Each check: "[root class:]id property value" on the computed style of the element
    // ("body" for the body); with a root class, the element shows again once it is gone.
    void checkStyles(const QString &site, const QStringList &checks)
    {
        for (const QString &check : checks) {
            const QString rootClass = check.contains(u':') ? check.section(u':', 0, 0) : QString();
            const QStringList parts = check.section(u':', -1).split(u' ');
            const QString element = parts.at(0) == u"body" ? u"document.body"_qs
                                                           : u"document.getElementById('%1')"_qs.arg(parts.at(0));
            const auto computed = [&](const QString &property) {
                return eval(u"getComputedStyle(%1).getPropertyValue('%2')"_qs.arg(element, property)).toString();
            };
            eval(u"document.documentElement.className = '%1'"_qs.arg(rootClass));
            QCOMPARE(site + u" "_qs + check.section(u' ', 0, 1) + u" "_qs + computed(parts.at(1)),
                     site + u" "_qs + check);
            eval(u"document.documentElement.className = ''"_qs);
            if (!rootClass.isEmpty())
                QVERIFY2(computed(u"display"_qs) != u"none", qPrintable(check));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString clip = MediaGenerator::colourClip(Qt::darkCyan, 30.0, {320, 180}, false);
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        m_server = std::make_unique<LocalHttpServer>(MediaGenerator::folder());
        QVERIFY(m_server->start());
        m_clip = m_server->url(QFileInfo(clip).fileName()).toString();
        m_page = new QWebEnginePage(new QWebEngineProfile(qApp), &m_view);
        m_page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        // Shown like a player window: hidden pages pause video-only media and throttle timers.
        m_view.setPage(m_page);
        m_view.resize(640, 360);
        m_view.show();
        m_server->addPage(u"/frames/near.html"_qs, html(u"<video id=\"near\"></video>"_qs));
        m_server->addPage(u"/frames/depth3.html"_qs, html(u"<video id=\"deep3\"></video>"_qs));
        m_server->addPage(u"/frames/depth2.html"_qs, html(u"<video id=\"deep2\"></video><iframe src=\"depth3.html\"></iframe>"_qs));
        m_server->addPage(u"/frames/depth1.html"_qs, html(u"<iframe src=\"depth2.html\"></iframe>"_qs));
        m_server->addPage(u"/frames/empty2.html"_qs, html(u"<iframe src=\"depth3.html\"></iframe>"_qs));
        m_server->addPage(u"/frames/empty1.html"_qs, html(u"<iframe src=\"empty2.html\"></iframe>"_qs));
        m_server->addPage(u"/frames/cross.html"_qs,
                          html(u"<video id=\"cross\" style=\"width:300px;height:200px\" src=\"%1\" autoplay muted loop></video>"
                               "<script>parent.postMessage('loaded', '*');</script>"_qs.arg(m_clip)));
        QVERIFY(load(WebEnhancer::scripts(unknownUrl, false, false), u"/plain.html"_qs, {}));
    }

    void finderPicksThePrimaryMedia()
    {
        const auto video = [this](const char *id, int w, int h, const QString &extra = {}) {
            return u"<video id=\"%1\" style=\"width:%2px;height:%3px\" %4></video>"_qs.arg(QLatin1String(id)).arg(w).arg(h).arg(extra);
        };
        const QString frame = u"<iframe src=\"%1\"></iframe>"_qs;
        const QString cross = frame.arg(m_server->url(u"/frames/cross.html"_qs, true).toString());
        struct Row {
            QString body;
            QString ready;
            QString expected;
        };
        const QList<Row> rows{
            {video("large", 640, 360, media()) + video("small", 80, 45, media() + u" autoplay loop"_qs),
             u"!document.getElementById('small').paused && document.getElementById('large').readyState > 0"_qs, u"small"_qs},
            {video("empty", 300, 300) + video("loaded", 200, 100, media()), u"document.getElementById('loaded').readyState > 0"_qs, u"loaded"_qs},
            {video("a", 100, 60) + video("b", 300, 200), {}, u"b"_qs},
            {video("first", 200, 100) + video("second", 200, 100), {}, u"first"_qs},
            {u"<audio id=\"song\" controls></audio>"_qs, {}, u"song"_qs},
            {u"<p>text</p>"_qs, {}, u"none"_qs},
            {frame.arg(u"/frames/near.html"_qs), u"!!frames[0].document.getElementById('near')"_qs, u"near"_qs},
            {frame.arg(u"/frames/depth1.html"_qs), u"!!frames[0].frames[0].document.getElementById('deep2')"_qs, u"deep2"_qs},
            {frame.arg(u"/frames/empty1.html"_qs), u"!!frames[0].frames[0].frames[0].document.getElementById('deep3')"_qs, u"none"_qs},
            {video("top", 50, 30) + cross, u"window.crossLoaded"_qs, u"top"_qs},
        };
        eval(u"window.addEventListener('message', function () { window.crossLoaded = true; })"_qs);
        for (const Row &row : rows) {
            eval(u"document.body.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(row.body)));
            if (!row.ready.isEmpty())
                QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"(function () { try { return %1; } catch (e) { return false; } })()"_qs.arg(row.ready)), timeout);
            const QString found = eval(u"(function () { var e = window.__lumivanePrimaryMedia(); return e ? e.id : 'none'; })()"_qs).toString();
            QCOMPARE(row.expected + u" <- "_qs + found, row.expected + u" <- "_qs + row.expected);
        }
        // A page that breaks measuring still gets an answer.
        eval(u"document.body.innerHTML = '<video id=v></video>'; Element.prototype.gbcr = Element.prototype.getBoundingClientRect;"
             "Element.prototype.getBoundingClientRect = function () { throw new Error('no'); }"_qs);
        QCOMPARE(eval(u"window.__lumivanePrimaryMedia().id"_qs).toString(), u"v"_qs);
        eval(u"Element.prototype.getBoundingClientRect = Element.prototype.gbcr"_qs);
    }

    void mediaStateOfARealVideo()
    {
        eval(u"document.body.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(u"<video id=v %1></video>"_qs.arg(media()))));
        QTRY_VERIFY_WITH_TIMEOUT(record().value("se").toBool(), timeout);
        const QJsonObject state = record();
        QCOMPARE(QStringList(state.keys()), (QStringList{"ad", "d", "en", "p", "rs", "se", "t", "vh", "vw"}));
        QVERIFY(qAbs(state.value("d").toDouble() - 30.0) < 0.2);
        QCOMPARE(state.value("vw").toInt() * 1000 + state.value("vh").toInt(), 320180);
        QVERIFY(state.value("p").toBool() && !state.value("en").toBool() && !state.value("ad").toBool());
        eval(u"document.getElementById('v').currentTime = 1.5"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(record().value("t").toDouble(), 1.5, timeout);
        eval(u"document.getElementById('v').play()"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(!record().value("p").toBool(), timeout);
    }

    void mediaStateOfOddPages()
    {
        // setup runs with v bound to the page's video; expected is "" for no record.
        struct Row {
            QString body;
            QString setup;
            QString expected;
        };
        const QString define = u"Object.defineProperty(v, '%1', { get: function () { %2; } })"_qs;
        const QList<Row> rows{
            {u"<p>nothing</p>"_qs, {}, {}},
            {u"<video id=v></video>"_qs, define.arg(u"duration"_qs, u"return Infinity"_qs), u"d=0"_qs},
            {u"<video id=v></video>"_qs, {}, u"d=0"_qs},
            {u"<video id=v></video>"_qs, define.arg(u"currentTime"_qs, u"return -Infinity"_qs), u"t=0"_qs},
            {u"<video id=v></video>"_qs, define.arg(u"videoWidth"_qs, u"return 'wide'"_qs), u"vw=0"_qs},
            {u"<video id=v></video>"_qs, define.arg(u"paused"_qs, u"throw new Error('x')"_qs), {}},
            {u"<div class=ad-showing></div><video id=v></video>"_qs, {}, u"ad=true"_qs},
            {u"<div class=ytp-ad-player-overlay></div><video id=v></video>"_qs, {}, u"ad=true"_qs},
            {u"<div data-a-target=video-ad-countdown></div><video id=v></video>"_qs, {}, u"ad=true"_qs},
        };
        for (const Row &row : rows) {
            eval(u"document.body.innerHTML = '%1'; var v = document.getElementById('v'); %2"_qs.arg(row.body, row.setup));
            const QJsonObject state = record();
            const QString key = row.expected.section(u'=', 0, 0);
            const QString actual = key.isEmpty() ? QString::number(state.size())
                : key + u"="_qs + state.value(key).toVariant().toString();
            QCOMPARE(row.body + row.setup + u" -> "_qs + actual,
                     row.body + row.setup + u" -> "_qs + (key.isEmpty() ? u"0"_qs : row.expected));
        }
    }

    void hidePauseThenShowResume()
    {
        const QString playing = media() + u" autoplay loop"_qs;
        eval(u"document.body.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(
            u"<video id=a %1></video><video id=b %1></video><video id=c %2></video><audio id=d></audio>"_qs.arg(playing, media()))));
        const QString states = u"Array.from(document.querySelectorAll('video,audio')).map(function (e) { return e.paused ? 'P' : 'R'; }).join('')"_qs;
        QTRY_COMPARE_WITH_TIMEOUT(eval(states).toString(), u"RRPP"_qs, timeout);
        // Without a hide before, nothing is resumed.
        eval(u"document.getElementById('a').pause()"_qs);
        eval(WebEnhancer::showResumeScript());
        QCOMPARE(eval(states).toString(), u"PRPP"_qs);
        eval(u"document.getElementById('a').play()"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(eval(states).toString(), u"RRPP"_qs, timeout);
        eval(WebEnhancer::hidePauseScript());
        QCOMPARE(eval(states).toString(), u"PPPP"_qs);
        eval(WebEnhancer::showResumeScript());
        QTRY_COMPARE_WITH_TIMEOUT(eval(states).toString(), u"RRPP"_qs, timeout);
    }

    void controlsAndRecoveryActOnTheMedia()
    {
        using enum WebEnhancer::MediaControl;
        eval(u"document.body.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(
            u"<div id=movie_player><video id=yt style=\"width:50px\" %1></video></div><video id=big style=\"width:600px\" %1></video>"_qs.arg(media()))));
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"document.getElementById('yt').readyState >= 1 && document.getElementById('big').readyState >= 1"_qs), timeout);
        const QString big = u"document.getElementById('big')."_qs;
        const auto control = [&](WebEnhancer::MediaControl op, auto value, const QString &check) {
            eval(WebEnhancer::mediaControlScript(op, value));
            QTRY_VERIFY2_WITH_TIMEOUT(isTrue(check), qPrintable(check), timeout);
        };
        control(seek, 12.5, big + u"currentTime === 12.5"_qs);
        control(seek, 99.0, big + u"currentTime === "_qs + big + u"duration"_qs);
        control(speed, 1.5, big + u"playbackRate === 1.5"_qs);
        control(loop, true, big + u"loop"_qs);
        control(volume, 0.5, big + u"volume === 0.5 && !"_qs + big + u"muted"_qs);
        control(volume, 0.001, big + u"muted"_qs);
        eval(WebEnhancer::mediaControlScript(togglePlay));
        QTRY_VERIFY_WITH_TIMEOUT(!isTrue(big + u"paused"_qs), timeout);
        eval(WebEnhancer::mediaControlScript(togglePlay));
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(big + u"paused"_qs), timeout);
        control(danmaku, true, u"document.documentElement.classList.contains('kt-hide-danmaku')"_qs);
        control(danmaku, false, u"!document.documentElement.classList.contains('kt-hide-danmaku')"_qs);
        // Recovery goes to the site's own player first, and plays it.
        eval(WebEnhancer::recoveryScript(2.5));
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"!document.getElementById('yt').paused && document.getElementById('yt').currentTime >= 2.5"_qs), timeout);
        // Before the page scripts are in, the controls act on the first video.
        eval(u"delete window.__lumivanePrimaryMedia"_qs);
        control(loop, true, u"document.getElementById('yt').loop"_qs);
    }

    void pageThumbnail()
    {
        struct Row {
            QString head;
            QString expected; // a path on the test server, an absolute URL or ""
        };
        const QList<Row> rows{
            {u"<meta property=\"og:image\" content=\"/img/a.jpg\">"_qs, u"/img/a.jpg"_qs},
            {u"<meta property=\"og:image\" content=\"b.jpg\">"_qs, u"/b.jpg"_qs},
            {u"<meta name=\"twitter:image\" content=\"/t.jpg\"><meta property=\"og:image\" content=\"/o.jpg\">"_qs, u"/o.jpg"_qs},
            {u"<meta property=\"og:image:url\" content=\"/u.jpg\">"_qs, u"/u.jpg"_qs},
            {u"<meta name=\"twitter:image:src\" content=\"/s.jpg\">"_qs, u"/s.jpg"_qs},
            {u"<meta itemprop=\"image\" content=\"/i.jpg\">"_qs, u"/i.jpg"_qs},
            {u"<link rel=\"image_src\" href=\"/l.jpg\">"_qs, u"/l.jpg"_qs},
            {u"<base href=\"https://cdn.example.com/x/\"><meta property=\"og:image\" content=\"d.jpg\">"_qs, u"https://cdn.example.com/x/d.jpg"_qs},
            {u"<meta property=\"og:image\" content=\"javascript:alert(1)\">"_qs, {}},
            {u"<meta property=\"og:image\" content=\"data:image/png;base64,AAAA\">"_qs, {}},
            {u"<meta property=\"og:image\" content=\"http://[bad\">"_qs, {}},
            {u"<title>plain</title>"_qs, {}},
        };
        for (const Row &row : rows) {
            eval(u"document.head.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(row.head)));
            const QString expected = row.expected.startsWith(u'/') ? m_server->url(row.expected).toString() : row.expected;
            QCOMPARE(row.head + u" "_qs + eval(WebEnhancer::pageThumbnailScript()).toString(), row.head + u" "_qs + expected);
        }
    }

    void siteStructureScan()
    {
        QString body = u"<div class=outer><span class=login-tip>  免费享高清视频 </span></div><p>免费享高清视频</p>"_qs
            + u"<a class=more>免费享高清视频</a>"_qs.repeated(5);
        for (int i = 0; i < 20; ++i)
            body += u"<div class=fixed-%1></div><div class=dm-%1></div><div class=Login%1></div>"_qs.arg(i);
        eval(u"document.body.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(body)));
        const QJsonObject scan = QJsonDocument::fromJson(eval(WebEnhancer::siteStructureScanScript()).toString().toUtf8()).object();
        QCOMPARE(scan.value("url").toString(), m_server->url(u"/plain.html"_qs).toString());
        QCOMPARE(scan.value("loginText").toArray().size(), 4);
        QCOMPARE(scan.value("loginText").toArray().at(0).toString(), u"span.login-tip < div.outer < body. < html."_qs);
        QCOMPARE(scan.value("fixed").toArray().size() * 10000 + scan.value("dm").toArray().size() * 100
                     + scan.value("login").toArray().size(), 121215);
    }

    // Each site's style, attached by its adapter's script in the loaded page, one after another.
    void siteStyles()
    {
        struct Row {
            const char *url;
            QString body;
            QStringList checks;
        };
        const QString dialogs = div(u"modal"_qs, u"aria-modal=\"true\" style=\"position:fixed\""_qs)
            + div(u"gate"_qs, u"class=\"my-ageGate-box\" style=\"position:fixed\""_qs)
            + div(u"cookie"_qs, u"class=\"cookie-bar\" style=\"position:fixed;z-index:5\""_qs);
        const QList<Row> rows{
            {"https://www.twitch.tv/x", div(u"nav"_qs, u"class=top-nav"_qs) + div(u"player"_qs, u"class=video-player"_qs),
             {u"nav display none"_qs, u"player z-index 999999"_qs}},
            {"https://live.bilibili.com/1", div(u"side"_qs, u"class=live-sidebar"_qs) + div(u"player"_qs, u"class=player"_qs),
             {u"side display none"_qs, u"player z-index 2147483000"_qs}},
            {"https://vimeo.com/1", div(u"side"_qs, u"class=x-sidebar-y"_qs) + div(u"player"_qs, u"class=vp-player"_qs),
             {u"side display none"_qs, u"player z-index 2147483000"_qs}},
            {"https://www.huya.com/1", div(u"chat"_qs, u"class=room-chat"_qs), {u"chat display none"_qs}},
            {"https://weibo.com/1", u"<div class=m-container-max>"_qs + div(u"first"_qs, u"class=m-box"_qs) + div(u"second"_qs, u"class=m-box"_qs) + u"</div>"_qs,
             {u"first display none"_qs, u"second display block"_qs}},
            {"https://v.youku.com/1", div(u"header"_qs, u"class=yk-header"_qs), {u"header display none"_qs}},
            {"https://y.qq.com/", div(u"bar"_qs, u"class=mod_player"_qs), {u"bar position fixed"_qs}},
            {"https://www.dailymotion.com/video/x", div(u"header"_qs, u"class=ResponsiveHeader__header_x"_qs), {u"header display none"_qs}},
            {"https://soundcloud.com/", div(u"notes"_qs, u"class=announcements"_qs), {u"notes display none"_qs}},
            {"https://www.pornhub.com/v", div(u"list"_qs, u"class=videoList"_qs) + dialogs, {u"list display none"_qs, u"gate z-index 2147483600"_qs}},
            {"https://www.xvideos.com/v", dialogs, {u"modal z-index 2147483600"_qs, u"gate z-index auto"_qs}},
            {"https://xhamster.com/v", div(u"side"_qs, u"class=a-sidebar"_qs), {u"side display none"_qs}},
            {"https://www.redtube.com/1", div(u"player"_qs, u"class=mgp_videoWrapper"_qs) + dialogs, {u"player z-index 9998"_qs, u"cookie z-index 5"_qs}},
            {"https://music.163.com/", div(u"top"_qs, u"class=m-top"_qs), {u"top display none"_qs}},
        };
        for (const Row &row : rows) {
            const std::optional<SiteAdapter> adapter = WebEnhancer::adapter(QUrl(QString::fromLatin1(row.url)));
            QVERIFY2(adapter, row.url);
            eval(u"document.body.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(row.body)));
            eval(adapter->scripts.first());
            checkStyles(adapter->siteID, row.checks);
            eval(u"document.getElementById('kt-site-%1').remove()"_qs.arg(adapter->siteID));
        }
        // The last one watches for a while: a page that throws the style out gets it back.
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"!!document.getElementById('kt-site-netease')"_qs), 2000);
    }

    void youtubePage()
    {
        const QList<WebPage::UserScript> scripts = WebEnhancer::scripts(QUrl(u"https://www.youtube.com/watch?v=a"_qs), true, false);
        const QString button = u"<button id=%1 class=%2 style=\"width:80px;height:30px;%3\" %4 "
                               "onclick=\"(clicks['%1'] = clicks['%1'] || []).push(Date.now())\">skip</button>"_qs;
        const QString body = u"<script>var clicks = {};</script>"_qs + div(u"secondary"_qs) + div(u"movie_player"_qs)
            + div(u"bar"_qs, u"class=ytp-chrome-bottom"_qs) + u"<video id=v %1></video>"_qs.arg(media())
            + button.arg(u"visible1"_qs, u"ytp-ad-skip-button"_qs, QString(), QString())
            + button.arg(u"visible2"_qs, u"ytp-skip-ad-button"_qs, QString(), QString())
            + button.arg(u"template"_qs, u"ytp-ad-skip-button-modern"_qs, u"display:none"_qs, QString())
            + button.arg(u"invisible"_qs, u"ytp-ad-skip-button"_qs, u"visibility:hidden"_qs, QString())
            + button.arg(u"transparent"_qs, u"ytp-ad-skip-button"_qs, u"opacity:0"_qs, QString())
            + button.arg(u"tiny"_qs, u"ytp-ad-skip-button"_qs, u"width:1px;height:1px;padding:0;border:0"_qs, QString())
            + button.arg(u"disabled"_qs, u"ytp-ad-skip-button"_qs, QString(), u"disabled"_qs);
        QVERIFY(load(scripts, u"/youtube.html"_qs, body));
        checkStyles(u"youtube"_qs, {u"secondary display none"_qs, u"movie_player position fixed"_qs,
                                    u"body background-color rgb(0, 0, 0)"_qs, u"kt-webctl:bar display none"_qs});
        // Its video starts unmuted.
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"!document.getElementById('v').paused && !document.getElementById('v').muted"_qs), timeout);
        // Rounds of clicks: both visible buttons in the same round, never a hidden one, rounds at
        // least 800 ms apart, even after the whole script ran once more.
        const QString count = u"(clicks['%1'] || []).length"_qs;
        QTRY_VERIFY_WITH_TIMEOUT(eval(count.arg(u"visible1"_qs)).toInt() >= 1, timeout);
        eval(scripts.first().source);
        QTRY_VERIFY_WITH_TIMEOUT(eval(count.arg(u"visible1"_qs)).toInt() >= 3, timeout);
        const QVariantList first = eval(u"clicks['visible1']"_qs).toList();
        QVERIFY(qAbs(first.first().toDouble() - eval(u"clicks['visible2'][0]"_qs).toDouble()) < 50);
        for (qsizetype i = 1; i < first.size(); ++i)
            QVERIFY(first.at(i).toDouble() - first.at(i - 1).toDouble() >= 795);
        QCOMPARE(eval(u"['template', 'invisible', 'transparent', 'tiny', 'disabled'].map(function (b) { return (clicks[b] || []).length; }).join('')"_qs).toString(),
                 u"00000"_qs);
    }

    void bilibiliPages()
    {
        const QString page = div(u"column"_qs, u"class=right-container"_qs) + div(u"player"_qs, u"class=bpx-player-container"_qs)
            + div(u"toast"_qs, u"class=bpx-player-toast-wrap"_qs) + div(u"progress"_qs, u"class=bpx-player-progress-wrap"_qs)
            + div(u"dm"_qs, u"class=bpx-player-row-dm-wrap"_qs) + u"<video id=v></video>"_qs;
        QVERIFY(load(WebEnhancer::scripts(bilibiliUrl, false, true), u"/bilibili-bare.html"_qs, page));
        checkStyles(u"no clean-up"_qs, {u"column display block"_qs, u"toast display block"_qs,
                                        u"kt-webctl:progress display block"_qs, u"kt-hide-danmaku:dm display none"_qs});
        const QList<WebPage::UserScript> scripts = WebEnhancer::scripts(bilibiliUrl, true, true);
        QVERIFY(load(scripts, u"/bilibili.html"_qs, page));
        checkStyles(u"clean-up"_qs, {u"column display none"_qs, u"player z-index 9998"_qs, u"toast display none"_qs,
                                     u"dm display block"_qs, u"kt-webctl:progress display none"_qs, u"kt-hide-danmaku:dm display none"_qs});
        // Both injections ran, and running the text once more changes nothing.
        const QString styles = u"Array.from(document.querySelectorAll('style')).map(function (s) { return s.id; }).sort().join(' ')"_qs;
        QCOMPARE(eval(styles).toString(), u"kt-base kt-bili-clean kt-danmaku-hide kt-site-bilibili"_qs);
        eval(u"window.keptFinder = window.__lumivanePrimaryMedia; document.querySelectorAll('style').forEach(function (s) { s.id = 'x'; })"_qs);
        eval(scripts.first().source);
        QVERIFY(isTrue(u"window.keptFinder === window.__lumivanePrimaryMedia && document.querySelectorAll('style').length === 4"_qs));
    }
};

QTEST_MAIN(TestWebEnhancerPages)
#include "itst_webenhancerpages.moc"

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
const QUrl bilibiliUrl(QStringLiteral("https://www.bilibili.com/video/BV1"));

QByteArray html(const QString &body)
{
    return (u"<!DOCTYPE html><html><head><meta charset=utf-8></head><body>"_qs + body + u"</body></html>"_qs).toUtf8();
}

// "id.class id2.class2 …" as one div each (".class" alone: a div without an id).
QString divs(const QString &layout)
{
    QString out;
    for (const QString &one : layout.split(u' ', Qt::SkipEmptyParts))
        out += u"<div id=\"%1\" class=\"%2\" style=\"position:relative\">x</div>"_qs.arg(one.section(u'.', 0, 0), one.section(u'.', 1));
    return out;
}

} // namespace

// The page scripts in the real web engine on local pages. A page load costs seconds, so each
// load serves many checks: most swap the body or head of the page already loaded.
class TestWebEnhancerPages : public QObject
{
    Q_OBJECT

private:
    QWebEngineView m_view;
    QWebEnginePage *m_page = nullptr;
    std::unique_ptr<LocalHttpServer> m_server;
    QString m_media;

    // Loads a page with the scripts installed as the session installs them.
    bool load(const QList<WebPage::UserScript> &scripts, const QString &path, const QString &body)
    {
        m_page->scripts().clear();
        for (const WebPage::UserScript &script : scripts) {
            QWebEngineScript s;
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
    void setBody(const QString &body) { eval(u"document.body.innerHTML = "_qs + WebEnhancer::jsLiteral(body)); }
    QJsonObject record() { return QJsonDocument::fromJson(eval(WebEnhancer::mediaStateScript()).toString().toUtf8()).object(); }

    // Each check: "[root class:]id property value" on the element's computed style ("body":
    // the body); with a root class, the element shows again once the class is gone.
    void checkStyles(const QString &site, const QString &checks)
    {
        for (const QString &check : checks.split(u';')) {
            const QString rootClass = check.contains(u':') ? check.section(u':', 0, 0) : QString();
            const QStringList parts = check.section(u':', -1).split(u' ');
            const QString element = parts.at(0) == u"body" ? u"document.body"_qs : u"document.getElementById('%1')"_qs.arg(parts.at(0));
            const auto computed = [&](const QString &property) {
                return eval(u"getComputedStyle(%1).getPropertyValue('%2')"_qs.arg(element, property)).toString();
            };
            eval(u"document.documentElement.className = '%1'"_qs.arg(rootClass));
            QCOMPARE(site + u" "_qs + check.section(u' ', 0, 1) + u" "_qs + computed(parts.at(1)), site + u" "_qs + check);
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
        m_media = u"src=\"%1\" preload=\"auto\" muted"_qs.arg(m_server->url(QFileInfo(clip).fileName()).toString());
        m_page = new QWebEnginePage(new QWebEngineProfile(qApp), &m_view);
        m_page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        // Shown like a player window: hidden pages pause video-only media and throttle timers.
        m_view.setPage(m_page);
        m_view.resize(640, 360);
        m_view.show();
        const QString frame = u"<iframe src=\"%1\"></iframe>"_qs;
        m_server->addPage(u"/near.html"_qs, html(u"<video id=near></video>"_qs));
        m_server->addPage(u"/depth3.html"_qs, html(u"<video id=deep3></video>"_qs));
        m_server->addPage(u"/depth2.html"_qs, html(u"<video id=deep2></video>"_qs + frame.arg(u"depth3.html"_qs)));
        m_server->addPage(u"/depth1.html"_qs, html(frame.arg(u"depth2.html"_qs)));
        m_server->addPage(u"/empty2.html"_qs, html(frame.arg(u"depth3.html"_qs)));
        m_server->addPage(u"/empty1.html"_qs, html(frame.arg(u"empty2.html"_qs)));
        m_server->addPage(u"/cross.html"_qs, html(u"<video id=cross style=\"width:300px\" %1 autoplay loop></video>"
                                                  "<script>parent.postMessage('loaded', '*');</script>"_qs.arg(m_media)));
        QVERIFY(load(WebEnhancer::scripts(QUrl(u"https://example.com/"_qs), false, false), u"/plain.html"_qs, {}));
    }

    void finderPicksThePrimaryMedia()
    {
        const auto video = [this](const char *id, int width, const QString &extra = {}) {
            return u"<video id=%1 style=\"width:%2px\" %3></video>"_qs.arg(QLatin1String(id)).arg(width).arg(extra);
        };
        const QString frame = u"<iframe src=\"%1\"></iframe>"_qs;
        struct Row {
            QString body;
            QString ready;
            QString expected;
        };
        const QList<Row> rows{
            {video("large", 640, m_media) + video("small", 80, m_media + u" autoplay loop"_qs), u"!small.paused && large.readyState > 0"_qs, u"small"_qs},
            {video("empty", 300) + video("loaded", 200, m_media), u"loaded.readyState > 0"_qs, u"loaded"_qs},
            {video("a", 100) + video("b", 300), {}, u"b"_qs},
            {video("first", 200) + video("second", 200), {}, u"first"_qs},
            {u"<audio id=song controls></audio>"_qs, {}, u"song"_qs},
            {u"<p>text</p>"_qs, {}, u"none"_qs},
            {frame.arg(u"/near.html"_qs), u"frames[0].document.getElementById('near')"_qs, u"near"_qs},
            {frame.arg(u"/depth1.html"_qs), u"frames[0].frames[0].document.getElementById('deep2')"_qs, u"deep2"_qs},
            {frame.arg(u"/empty1.html"_qs), u"frames[0].frames[0].frames[0].document.getElementById('deep3')"_qs, u"none"_qs},
            {video("top", 50) + frame.arg(m_server->url(u"/cross.html"_qs, true).toString()), u"window.crossLoaded"_qs, u"top"_qs},
        };
        eval(u"window.addEventListener('message', function () { window.crossLoaded = true; })"_qs);
        for (const Row &row : rows) {
            setBody(row.body);
            if (!row.ready.isEmpty())
                QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"(function () { try { return !!(%1); } catch (e) { return false; } })()"_qs.arg(row.ready)), timeout);
            const QString found = eval(u"(function () { var e = window.__lumivanePrimaryMedia(); return e ? e.id : 'none'; })()"_qs).toString();
            QCOMPARE(row.expected + u" <- "_qs + found, row.expected + u" <- "_qs + row.expected);
        }
        // A page that breaks measuring still gets an answer.
        eval(u"document.body.innerHTML = '<video id=v></video>'; Element.prototype.kept = Element.prototype.getBoundingClientRect;"
             "Element.prototype.getBoundingClientRect = function () { throw new Error('no'); }"_qs);
        QCOMPARE(eval(u"window.__lumivanePrimaryMedia().id"_qs).toString(), u"v"_qs);
        eval(u"Element.prototype.getBoundingClientRect = Element.prototype.kept"_qs);
    }

    void mediaState()
    {
        setBody(u"<video id=v %1></video>"_qs.arg(m_media));
        QTRY_VERIFY_WITH_TIMEOUT(record().value("se").toBool(), timeout);
        const QJsonObject state = record();
        QCOMPARE(state.keys(), (QStringList{"ad", "d", "en", "p", "rs", "se", "t", "vh", "vw"}));
        QVERIFY(qAbs(state.value("d").toDouble() - 30.0) < 0.2);
        QCOMPARE(state.value("vw").toInt() * 1000 + state.value("vh").toInt(), 320180);
        QVERIFY(state.value("p").toBool() && !state.value("en").toBool() && !state.value("ad").toBool());
        eval(u"v.currentTime = 1.5"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(record().value("t").toDouble(), 1.5, timeout);
        eval(u"v.play()"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(!record().value("p").toBool(), timeout);

        // Odd pages: the body, a setup with v bound to its video, then "key=value" or "" for no record.
        const QString define = u"Object.defineProperty(v, '%1', { get: function () { %2; } })"_qs;
        const QList<std::array<QString, 3>> rows{
            {u"<p>nothing</p>"_qs, {}, {}},
            {u"<video id=v></video>"_qs, {}, u"d=0"_qs},
            {u"<video id=v></video>"_qs, define.arg(u"duration"_qs, u"return Infinity"_qs), u"d=0"_qs},
            {u"<video id=v></video>"_qs, define.arg(u"currentTime"_qs, u"return -Infinity"_qs), u"t=0"_qs},
            {u"<video id=v></video>"_qs, define.arg(u"videoWidth"_qs, u"return 'wide'"_qs), u"vw=0"_qs},
            {u"<video id=v></video>"_qs, define.arg(u"paused"_qs, u"throw new Error('x')"_qs), {}},
            {u"<div class=ad-showing></div><video id=v></video>"_qs, {}, u"ad=true"_qs},
            {u"<div class=ytp-ad-player-overlay></div><video id=v></video>"_qs, {}, u"ad=true"_qs},
            {u"<div data-a-target=video-ad-countdown></div><video id=v></video>"_qs, {}, u"ad=true"_qs},
        };
        for (const auto &[body, setup, expected] : rows) {
            eval(u"document.body.innerHTML = '%1'; var v = document.getElementById('v'); %2"_qs.arg(body, setup));
            const QJsonObject odd = record();
            const QString key = expected.section(u'=', 0, 0);
            const QString actual = key.isEmpty() ? QString::number(odd.size()) : key + u"="_qs + odd.value(key).toVariant().toString();
            QCOMPARE(body + setup + u" -> "_qs + actual, body + setup + u" -> "_qs + (key.isEmpty() ? u"0"_qs : expected));
        }
    }

    void hidePauseThenShowResume()
    {
        setBody(u"<video %1 autoplay loop></video><video %1 autoplay loop></video><video %1></video><audio></audio>"_qs.arg(m_media));
        const QString states = u"Array.from(document.querySelectorAll('video,audio')).map(function (e) { return e.paused ? 'P' : 'R'; }).join('')"_qs;
        QTRY_COMPARE_WITH_TIMEOUT(eval(states).toString(), u"RRPP"_qs, timeout);
        // Without a hide before, nothing is resumed.
        eval(u"document.querySelector('video').pause()"_qs);
        eval(WebEnhancer::showResumeScript());
        QCOMPARE(eval(states).toString(), u"PRPP"_qs);
        eval(u"document.querySelector('video').play()"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(eval(states).toString(), u"RRPP"_qs, timeout);
        eval(WebEnhancer::hidePauseScript());
        QCOMPARE(eval(states).toString(), u"PPPP"_qs);
        eval(WebEnhancer::showResumeScript());
        QTRY_COMPARE_WITH_TIMEOUT(eval(states).toString(), u"RRPP"_qs, timeout);
    }

    void controlsAndRecoveryActOnTheMedia()
    {
        using enum WebEnhancer::MediaControl;
        setBody(u"<div id=movie_player><video id=yt style=\"width:50px\" %1></video></div><video id=big style=\"width:600px\" %1></video>"_qs.arg(m_media));
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"yt.readyState >= 1 && big.readyState >= 1"_qs), timeout);
        const auto control = [&](WebEnhancer::MediaControl op, auto value, const QString &check) {
            eval(WebEnhancer::mediaControlScript(op, value));
            QTRY_VERIFY2_WITH_TIMEOUT(isTrue(check), qPrintable(check), timeout);
        };
        control(seek, 12.5, u"big.currentTime === 12.5"_qs);
        control(seek, 99.0, u"big.currentTime === big.duration"_qs);
        control(speed, 1.5, u"big.playbackRate === 1.5"_qs);
        control(loop, true, u"big.loop"_qs);
        control(volume, 0.5, u"big.volume === 0.5 && !big.muted"_qs);
        control(volume, 0.001, u"big.muted"_qs);
        control(danmaku, true, u"document.documentElement.classList.contains('kt-hide-danmaku')"_qs);
        control(danmaku, false, u"!document.documentElement.classList.contains('kt-hide-danmaku')"_qs);
        eval(WebEnhancer::mediaControlScript(togglePlay));
        QTRY_VERIFY_WITH_TIMEOUT(!isTrue(u"big.paused"_qs), timeout);
        eval(WebEnhancer::mediaControlScript(togglePlay));
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"big.paused"_qs), timeout);
        // Recovery goes to the site's own player first, and plays it.
        eval(WebEnhancer::recoveryScript(2.5));
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"!yt.paused && yt.currentTime >= 2.5"_qs), timeout);
        // Before the page scripts are in, the controls act on the first video.
        eval(u"delete window.__lumivanePrimaryMedia"_qs);
        control(loop, true, u"yt.loop"_qs);
    }

    void pageThumbnail()
    {
        // The head, then the expected address: a path on the test server, an absolute URL or "".
        const QList<std::array<QString, 2>> rows{
            {u"<meta property=og:image content=/img/a.jpg>"_qs, u"/img/a.jpg"_qs},
            {u"<meta property=og:image content=b.jpg>"_qs, u"/b.jpg"_qs},
            {u"<meta name=twitter:image content=/t.jpg><meta property=og:image content=/o.jpg>"_qs, u"/o.jpg"_qs},
            {u"<meta property=og:image:url content=/u.jpg>"_qs, u"/u.jpg"_qs},
            {u"<meta name=twitter:image:src content=/s.jpg>"_qs, u"/s.jpg"_qs},
            {u"<meta itemprop=image content=/i.jpg>"_qs, u"/i.jpg"_qs},
            {u"<link rel=image_src href=/l.jpg>"_qs, u"/l.jpg"_qs},
            {u"<base href=https://cdn.example.com/x/><meta property=og:image content=d.jpg>"_qs, u"https://cdn.example.com/x/d.jpg"_qs},
            {u"<meta property=og:image content=javascript:alert(1)>"_qs, {}},
            {u"<meta property=og:image content=data:image/png;base64,AAAA>"_qs, {}},
            {u"<meta property=og:image content=http://[bad>"_qs, {}},
            {u"<title>plain</title>"_qs, {}},
        };
        for (const auto &[head, path] : rows) {
            eval(u"document.head.innerHTML = "_qs + WebEnhancer::jsLiteral(head));
            const QString expected = path.startsWith(u'/') ? m_server->url(path).toString() : path;
            QCOMPARE(head + u" "_qs + eval(WebEnhancer::pageThumbnailScript()).toString(), head + u" "_qs + expected);
        }
    }

    void siteStructureScan()
    {
        QString body = u"<div class=outer><span class=login-tip>  免费享高清视频 </span></div><p>免费享高清视频</p>"_qs
            + u"<a class=more>免费享高清视频</a>"_qs.repeated(5);
        for (int i = 0; i < 20; ++i)
            body += u"<div class=fixed-%1></div><div class=dm-%1></div><div class=Login%1></div>"_qs.arg(i);
        setBody(body);
        const QJsonObject scan = QJsonDocument::fromJson(eval(WebEnhancer::siteStructureScanScript()).toString().toUtf8()).object();
        QCOMPARE(scan.value("url").toString(), m_server->url(u"/plain.html"_qs).toString());
        QCOMPARE(scan.value("loginText").toArray().at(0).toString(), u"span.login-tip < div.outer < body. < html."_qs);
        const auto size = [&scan](const char *key) { return scan.value(QLatin1String(key)).toArray().size(); };
        QCOMPARE(QList<qsizetype>({size("loginText"), size("fixed"), size("dm"), size("login")}), QList<qsizetype>({4, 12, 12, 15}));
    }

    // Each site's style, attached by its adapter's script in the loaded page, one after another.
    void siteStyles()
    {
        const QString dialogs = u" gate.my-ageGate-box cookie.cookie-bar"_qs;
        const QList<std::array<QString, 3>> rows{
            {u"https://www.twitch.tv/x"_qs, u"nav.top-nav player.video-player"_qs, u"nav display none;player z-index 999999"_qs},
            {u"https://live.bilibili.com/1"_qs, u"side.live-sidebar player.player"_qs, u"side display none;player z-index 2147483000"_qs},
            {u"https://vimeo.com/1"_qs, u"side.x-sidebar-y player.vp-player"_qs, u"side display none;player z-index 2147483000"_qs},
            {u"https://www.huya.com/1"_qs, u"chat.room-chat"_qs, u"chat display none"_qs},
            {u"https://weibo.com/1"_qs, u"<div class=m-container-max><p id=first class=m-box>x</p><p id=second class=m-box>x</p></div>"_qs,
             u"first display none;second display block"_qs},
            {u"https://v.youku.com/1"_qs, u"header.yk-header"_qs, u"header display none"_qs},
            {u"https://y.qq.com/"_qs, u"bar.mod_player"_qs, u"bar position fixed"_qs},
            {u"https://www.dailymotion.com/video/x"_qs, u"header.ResponsiveHeader__header_x"_qs, u"header display none"_qs},
            {u"https://soundcloud.com/"_qs, u"notes.announcements"_qs, u"notes display none"_qs},
            {u"https://www.pornhub.com/v"_qs, u"list.videoList"_qs + dialogs, u"list display none;gate z-index 2147483600"_qs},
            {u"https://www.xvideos.com/v"_qs, u"nav.x"_qs + dialogs, u"nav display none;gate z-index auto"_qs},
            {u"https://xhamster.com/v"_qs, u"side.a-sidebar"_qs, u"side display none"_qs},
            {u"https://www.redtube.com/1"_qs, u"player.mgp_videoWrapper"_qs + dialogs, u"player z-index 9998;cookie z-index auto"_qs},
            {u"https://music.163.com/"_qs, u"top.m-top"_qs, u"top display none"_qs},
        };
        for (const auto &[url, body, checks] : rows) {
            const std::optional<SiteAdapter> adapter = WebEnhancer::adapter(QUrl(url));
            QVERIFY2(adapter, qPrintable(url));
            setBody(body.startsWith(u'<') ? body : divs(body));
            eval(adapter->scripts.first());
            checkStyles(adapter->siteID, checks);
            eval(u"document.getElementById('kt-site-%1').remove()"_qs.arg(adapter->siteID));
        }
        // The last one watches for a while: a page that throws the style out gets it back.
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"!!document.getElementById('kt-site-netease')"_qs), 2000);
    }

    void youtubePage()
    {
        const QList<WebPage::UserScript> scripts = WebEnhancer::scripts(QUrl(u"https://www.youtube.com/watch?v=a"_qs), true, false);
        QString body = u"<script>var clicks = {};</script><video id=v %1></video>"_qs.arg(m_media)
            + divs(u"secondary movie_player bar.ytp-chrome-bottom"_qs);
        // The two visible skip buttons, then hidden ones: a template, invisible, transparent, tiny.
        const QStringList buttons{u"ytp-ad-skip-button;"_qs, u"ytp-skip-ad-button;"_qs, u"ytp-ad-skip-button-modern;display:none"_qs,
                                  u"ytp-ad-skip-button;visibility:hidden"_qs, u"ytp-ad-skip-button;opacity:0"_qs,
                                  u"ytp-ad-skip-button;width:1px;height:1px;padding:0;border:0"_qs};
        for (qsizetype i = 0; i < buttons.size(); ++i)
            body += u"<button class=%2 style=\"width:80px;height:30px;%3\" onclick=\"(clicks[%1] = clicks[%1] || []).push(Date.now())\">skip</button>"_qs
                        .arg(i).arg(buttons.at(i).section(u';', 0, 0), buttons.at(i).section(u';', 1));
        QVERIFY(load(scripts, u"/youtube.html"_qs, body));
        checkStyles(u"youtube"_qs, u"secondary display none;movie_player position fixed;body background-color rgb(0, 0, 0);kt-webctl:bar display none"_qs);
        // Its video starts unmuted.
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"!v.paused && !v.muted"_qs), timeout);
        // Rounds of clicks: both visible buttons in the same round, never a hidden one, rounds at
        // least 800 ms apart, even after the whole script ran once more.
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"(clicks[0] || []).length >= 1"_qs), timeout);
        eval(scripts.first().source);
        QTRY_VERIFY_WITH_TIMEOUT(isTrue(u"(clicks[0] || []).length >= 3"_qs), timeout);
        QVERIFY(isTrue(u"Math.abs(clicks[0][0] - clicks[1][0]) < 50 && clicks[0].every(function (t, i) { return i === 0 || t - clicks[0][i - 1] >= 795; })"_qs));
        QCOMPARE(eval(u"[2, 3, 4, 5].map(function (b) { return (clicks[b] || []).length; }).join('')"_qs).toString(), u"0000"_qs);
    }

    void bilibiliPages()
    {
        const QString page = divs(u"column.right-container player.bpx-player-container toast.bpx-player-toast-wrap "
                                  "progress.bpx-player-progress-wrap dm.bpx-player-row-dm-wrap"_qs);
        QVERIFY(load(WebEnhancer::scripts(bilibiliUrl, false, true), u"/bilibili-bare.html"_qs, page));
        checkStyles(u"no clean-up"_qs, u"column display block;toast display block;kt-webctl:progress display block;kt-hide-danmaku:dm display none"_qs);
        const QList<WebPage::UserScript> scripts = WebEnhancer::scripts(bilibiliUrl, true, true);
        QVERIFY(load(scripts, u"/bilibili.html"_qs, page));
        checkStyles(u"clean-up"_qs, u"column display none;player z-index 9998;toast display none;dm display block;"
                                    "kt-webctl:progress display none;kt-hide-danmaku:dm display none"_qs);
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

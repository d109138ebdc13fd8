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

#include <memory>

namespace {

constexpr int loadTimeout = 20000;
constexpr int scriptTimeout = 5000;
// Long enough that nothing playing ends during a test.
constexpr double clipSeconds = 30.0;

const QUrl youtubeUrl(QStringLiteral("https://www.youtube.com/watch?v=abc"));
const QUrl unknownUrl(QStringLiteral("https://example.com/page"));

QByteArray html(const QString &head, const QString &body)
{
    return (u"<!DOCTYPE html><html><head><meta charset=\"utf-8\">"_qs + head + u"</head><body>"_qs + body
            + u"</body></html>"_qs)
        .toUtf8();
}

// One shown page with the page scripts installed the way the session installs them: main
// world, main frame only.
class PageRig final
{
public:
    PageRig()
        : m_page(new QWebEnginePage(profile(), &m_view))
    {
        m_page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        // Shown like the player window's page: a hidden page pauses video-only media and
        // throttles its timers, as a background tab does.
        m_view.setPage(m_page);
        m_view.resize(640, 360);
        m_view.show();
    }

    // One off-the-record profile for all pages; it lives as long as the application.
    static QWebEngineProfile *profile()
    {
        static QWebEngineProfile *shared = new QWebEngineProfile(qApp);
        return shared;
    }

    // Replaces the installed scripts; they take effect from the next load on.
    void install(const QList<WebPage::UserScript> &scripts)
    {
        m_page->scripts().clear();
        for (const WebPage::UserScript &script : scripts) {
            QWebEngineScript engineScript;
            engineScript.setName(script.name);
            engineScript.setSourceCode(script.source);
            engineScript.setWorldId(QWebEngineScript::MainWorld);
            engineScript.setRunsOnSubFrames(false);
            engineScript.setInjectionPoint(script.injection == WebPage::Injection::documentCreation
                                               ? QWebEngineScript::DocumentCreation
                                               : QWebEngineScript::DocumentReady);
            m_page->scripts().insert(engineScript);
        }
    }

    bool load(const QUrl &url)
    {
        QSignalSpy finished(m_page, &QWebEnginePage::loadFinished);
        m_page->load(url);
        return QTest::qWaitFor([&] { return !finished.isEmpty(); }, loadTimeout)
            && finished.first().first().toBool();
    }

    // The script's value; invalid when it threw or took too long.
    QVariant eval(const QString &script)
    {
        auto answer = std::make_shared<std::optional<QVariant>>();
        m_page->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
        if (!QTest::qWaitFor([&] { return answer->has_value(); }, scriptTimeout))
            return {};
        return answer->value_or(QVariant());
    }

    QUrl url() const { return m_page->url(); }

    bool isTrue(const QString &expression) { return eval(expression).toBool(); }

    QString primaryId()
    {
        return eval(u"(function () { var e = window.__lumivanePrimaryMedia(); return e ? e.id : 'none'; })()"_qs)
            .toString();
    }

private:
    QWebEngineView m_view;
    QWebEnginePage *m_page;
};

} // namespace

// The page scripts in the real web engine, on local pages with generated media.
class TestWebEnhancerPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString clip = MediaGenerator::colourClip(Qt::darkCyan, clipSeconds, {320, 180}, false);
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        m_server = std::make_unique<LocalHttpServer>(MediaGenerator::folder());
        QVERIFY(m_server->start());
        m_clip = m_server->url(QFileInfo(clip).fileName()).toString();
    }

    void cleanupTestCase()
    {
        m_rig.reset();
        m_server.reset();
    }

    void finder_data()
    {
        QTest::addColumn<QUrl>("site");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("ready");
        QTest::addColumn<QString>("expected");

        const QString clip = m_clip;
        const auto video = [](const QString &id, int w, int h, const QString &extra = {}) {
            return QStringLiteral("<video id=\"%1\" style=\"width:%2px;height:%3px\" %4></video>")
                .arg(id)
                .arg(w)
                .arg(h)
                .arg(extra);
        };
        const QString playing = u"src=\""_qs + clip + u"\" autoplay muted loop"_qs;
        const QString loaded = u"src=\""_qs + clip + u"\" preload=\"auto\" muted"_qs;

        QTest::newRow("playing small beats paused large")
            << unknownUrl << video(u"large"_qs, 640, 360, loaded) + video(u"small"_qs, 80, 45, playing)
            << u"!document.getElementById('small').paused && document.getElementById('large').readyState > 0"_qs
            << u"small"_qs;
        QTest::newRow("two paused, the larger")
            << unknownUrl << video(u"a"_qs, 100, 60) + video(u"b"_qs, 300, 200) << u"true"_qs << u"b"_qs;
        QTest::newRow("two paused, the larger first")
            << unknownUrl << video(u"a"_qs, 300, 200) + video(u"b"_qs, 100, 60) << u"true"_qs << u"a"_qs;
        QTest::newRow("loaded data outweighs a larger empty element")
            << unknownUrl << video(u"empty"_qs, 300, 300) + video(u"loaded"_qs, 200, 100, loaded)
            << u"document.getElementById('loaded').readyState > 0"_qs << u"loaded"_qs;
        QTest::newRow("tie goes to the first")
            << unknownUrl << video(u"first"_qs, 200, 100) + video(u"second"_qs, 200, 100) << u"true"_qs
            << u"first"_qs;
        QTest::newRow("audio counts") << unknownUrl << u"<audio id=\"song\" controls></audio>"_qs
                                      << u"true"_qs << u"song"_qs;
        QTest::newRow("no media") << unknownUrl << u"<p>text</p>"_qs << u"true"_qs << u"none"_qs;
        QTest::newRow("page throws in its own scripts")
            << unknownUrl
            << u"<script>throw new Error('page fault');</script>"_qs + video(u"v"_qs, 100, 60)
                   + u"<script>undefinedFunction();</script>"_qs
            << u"true"_qs << u"v"_qs;
        QTest::newRow("page breaks measuring")
            << unknownUrl
            << u"<script>Element.prototype.getBoundingClientRect = function () { throw new Error('no'); };"
               "</script>"_qs
                   + video(u"v"_qs, 100, 60)
            << u"true"_qs << u"v"_qs;

        const QString frame = u"<iframe style=\"width:400px;height:300px\" src=\"%1\"></iframe>"_qs;
        m_server->addPage(u"/frames/depth3.html"_qs, html({}, video(u"deep3"_qs, 100, 60)));
        m_server->addPage(u"/frames/depth2.html"_qs,
                          html({}, video(u"deep2"_qs, 100, 60) + frame.arg(u"depth3.html"_qs)));
        m_server->addPage(u"/frames/depth1.html"_qs, html({}, frame.arg(u"depth2.html"_qs)));
        m_server->addPage(u"/frames/depth2-empty.html"_qs, html({}, frame.arg(u"depth3.html"_qs)));
        m_server->addPage(u"/frames/depth1-empty.html"_qs, html({}, frame.arg(u"depth2-empty.html"_qs)));
        m_server->addPage(u"/frames/cross.html"_qs,
                          html({}, video(u"cross"_qs, 300, 200, playing)
                                       + u"<script>parent.postMessage('loaded', '*');</script>"_qs));
        m_server->addPage(u"/frames/near.html"_qs, html({}, video(u"near"_qs, 100, 60)));

        QTest::newRow("same-origin frame") << unknownUrl << frame.arg(u"/frames/near.html"_qs)
                                           << u"true"_qs << u"near"_qs;
        QTest::newRow("frames searched to depth 2")
            << unknownUrl << frame.arg(u"/frames/depth1.html"_qs) << u"true"_qs << u"deep2"_qs;
        QTest::newRow("not to depth 3")
            << unknownUrl << frame.arg(u"/frames/depth1-empty.html"_qs)
            << u"!!frames[0].frames[0].frames[0].document.getElementById('deep3')"_qs << u"none"_qs;
        const QString crossFrame =
            frame.arg(m_server->url(u"/frames/cross.html"_qs, true).toString())
            + u"<script>window.addEventListener('message', function () { window.crossLoaded = true; });"
              "</script>"_qs;
        QTest::newRow("cross-origin frame not searched")
            << unknownUrl << crossFrame << u"window.crossLoaded === true"_qs << u"none"_qs;
        QTest::newRow("cross-origin frame beside a paused element")
            << unknownUrl << video(u"top"_qs, 50, 30) + crossFrame << u"window.crossLoaded === true"_qs
            << u"top"_qs;
    }

    void finder()
    {
        QFETCH(QUrl, site);
        QFETCH(QString, body);
        QFETCH(QString, ready);
        QFETCH(QString, expected);
        PageRig &rig = page(WebEnhancer::scripts(site, false, false));
        const QString path = u"/finder/"_qs + QString::fromUtf8(QTest::currentDataTag()).replace(u' ', u'-');
        m_server->addPage(path, html({}, body));
        QVERIFY(rig.load(m_server->url(path)));
        QTRY_VERIFY_WITH_TIMEOUT(rig.isTrue(ready), loadTimeout);
        QCOMPARE(rig.primaryId(), expected);
    }

    void mediaStateRecord()
    {
        PageRig &rig = page(WebEnhancer::scripts(unknownUrl, false, false));
        m_server->addPage(u"/state/loaded.html"_qs,
                          html({}, u"<video id=\"v\" preload=\"auto\" muted src=\""_qs + m_clip + u"\"></video>"_qs));
        QVERIFY(rig.load(m_server->url(u"/state/loaded.html"_qs)));
        QTRY_VERIFY_WITH_TIMEOUT(rig.isTrue(u"document.getElementById('v').readyState >= 1"_qs), loadTimeout);

        const QJsonObject record = parseRecord(rig.eval(WebEnhancer::mediaStateScript()));
        QCOMPARE(QStringList(record.keys()),
                 (QStringList{"ad", "d", "en", "p", "rs", "se", "t", "vh", "vw"}));
        for (const char *number : {"t", "d", "rs", "vw", "vh"})
            QVERIFY2(record.value(QLatin1String(number)).isDouble(), number);
        for (const char *flag : {"p", "en", "se", "ad"})
            QVERIFY2(record.value(QLatin1String(flag)).isBool(), flag);
        QVERIFY(qAbs(record.value("d").toDouble() - clipSeconds) < 0.2);
        QCOMPARE(record.value("vw").toInt(), 320);
        QCOMPARE(record.value("vh").toInt(), 180);
        QCOMPARE(record.value("p").toBool(), true);
        QCOMPARE(record.value("en").toBool(), false);
        QCOMPARE(record.value("ad").toBool(), false);
        QVERIFY(record.value("rs").toInt() >= 1);
        QTRY_VERIFY_WITH_TIMEOUT(parseRecord(rig.eval(WebEnhancer::mediaStateScript())).value("se").toBool(),
                                 loadTimeout);

        rig.eval(u"document.getElementById('v').currentTime = 1.5"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(parseRecord(rig.eval(WebEnhancer::mediaStateScript())).value("t").toDouble(),
                                  1.5, loadTimeout);
        rig.eval(u"document.getElementById('v').play()"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(!parseRecord(rig.eval(WebEnhancer::mediaStateScript())).value("p").toBool(),
                                 loadTimeout);
    }

    void mediaStateOddPages_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected"); // "" for no record, else key=value

        const QString v = u"<video id=\"v\"></video><script>var v = document.getElementById('v');"_qs;
        QTest::newRow("no media") << u"<p>nothing</p>"_qs << u""_qs;
        QTest::newRow("live: infinite duration")
            << v + u"Object.defineProperty(v, 'duration', { get: function () { return Infinity; } });</script>"_qs
            << u"d=0"_qs;
        QTest::newRow("no source: duration not a number") << v + u"</script>"_qs << u"d=0"_qs;
        QTest::newRow("infinite position")
            << v + u"Object.defineProperty(v, 'currentTime', { get: function () { return -Infinity; } });</script>"_qs
            << u"t=0"_qs;
        QTest::newRow("odd width")
            << v + u"Object.defineProperty(v, 'videoWidth', { get: function () { return 'wide'; } });</script>"_qs
            << u"vw=0"_qs;
        QTest::newRow("throwing property")
            << v + u"Object.defineProperty(v, 'paused', { get: function () { throw new Error('x'); } });</script>"_qs
            << u""_qs;
        QTest::newRow("finder replaced by the page") << v + u"window.__lumivanePrimaryMedia = 42;</script>"_qs
                                                     << u""_qs;
        for (const char *marker : {"ad-showing", "ytp-ad-player-overlay", "video-ad-countdown"}) {
            QTest::newRow(marker) << u"<div class=\""_qs + QLatin1String(marker) + u"\"></div><video></video>"_qs
                                  << u"ad=true"_qs;
        }
        QTest::newRow("twitch countdown")
            << u"<div data-a-target=\"video-ad-countdown\"></div><video></video>"_qs << u"ad=true"_qs;
    }

    void mediaStateOddPages()
    {
        QFETCH(QString, body);
        QFETCH(QString, expected);
        PageRig &rig = page(WebEnhancer::scripts(unknownUrl, false, false));
        const QString path = u"/state/"_qs + QString::fromUtf8(QTest::currentDataTag()).replace(u' ', u'-');
        m_server->addPage(path, html({}, body));
        QVERIFY(rig.load(m_server->url(path)));
        const QVariant result = rig.eval(WebEnhancer::mediaStateScript());
        QCOMPARE(result.typeId(), static_cast<int>(QMetaType::QString));
        if (expected.isEmpty()) {
            QCOMPARE(result.toString(), QString());
            return;
        }
        const QJsonObject record = parseRecord(result);
        QCOMPARE(record.size(), 9);
        const QString key = expected.section(u'=', 0, 0);
        const QString value = expected.section(u'=', 1);
        if (value == u"true")
            QCOMPARE(record.value(key).toBool(), true);
        else
            QCOMPARE(record.value(key), QJsonValue(value.toDouble()));
    }

    void hidePauseThenShowResume()
    {
        PageRig &rig = page(WebEnhancer::scripts(unknownUrl, false, false));
        const QString playing = u"src=\""_qs + m_clip + u"\" autoplay muted loop"_qs;
        const QString paused = u"src=\""_qs + m_clip + u"\" preload=\"auto\" muted"_qs;
        m_server->addPage(u"/hide.html"_qs,
                          html({}, u"<video id=\"a\" %1></video><video id=\"b\" %1></video>"
                                   "<video id=\"c\" %2></video><audio id=\"d\"></audio>"_qs.arg(playing, paused)));
        QVERIFY(rig.load(m_server->url(u"/hide.html"_qs)));
        const QString states =
            u"Array.from(document.querySelectorAll('video,audio')).map(function (e) { return e.paused ? 'P' : 'R'; }).join('')"_qs;
        const QString marks = u"Array.from(document.querySelectorAll('video,audio')).map(function (e) { "
                              "return e.dataset.ktWasPlaying === undefined ? '-' : e.dataset.ktWasPlaying; }).join('')"_qs;
        QTRY_COMPARE_WITH_TIMEOUT(rig.eval(states).toString(), u"RRPP"_qs, loadTimeout);

        // Without a hide before, nothing is resumed.
        rig.eval(u"document.getElementById('a').pause()"_qs);
        rig.eval(WebEnhancer::showResumeScript());
        QCOMPARE(rig.eval(states).toString(), u"PRPP"_qs);
        rig.eval(u"document.getElementById('a').play()"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(rig.eval(states).toString(), u"RRPP"_qs, loadTimeout);

        rig.eval(WebEnhancer::hidePauseScript());
        QCOMPARE(rig.eval(states).toString(), u"PPPP"_qs);
        QCOMPARE(rig.eval(marks).toString(), u"1100"_qs);

        rig.eval(WebEnhancer::showResumeScript());
        QCOMPARE(rig.eval(marks).toString(), u"----"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(rig.eval(states).toString(), u"RRPP"_qs, loadTimeout);
    }

    // Before the page scripts are in, the controls act on the page's first video.
    void controlsWithoutThePageScripts()
    {
        PageRig &rig = page({});
        m_server->addPage(u"/bare.html"_qs,
                          html({}, u"<video id=\"a\"></video><video id=\"b\" style=\"width:600px\"></video>"_qs));
        QVERIFY(rig.load(m_server->url(u"/bare.html"_qs)));
        rig.eval(WebEnhancer::mediaControlScript(WebEnhancer::MediaControl::loop, true));
        rig.eval(WebEnhancer::mediaControlScript(WebEnhancer::MediaControl::volume, 0.001));
        QVERIFY(rig.isTrue(u"(function () { var a = document.getElementById('a'); "
                           "return a.loop && a.muted && !document.getElementById('b').loop; })()"_qs));
    }

    void pageThumbnail_data()
    {
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("expected"); // a path on the test server, an absolute URL or ""

        QTest::newRow("og:image from the root") << u"<meta property=\"og:image\" content=\"/img/a.jpg\">"_qs
                                                << u"/img/a.jpg"_qs;
        QTest::newRow("relative to the page") << u"<meta property=\"og:image\" content=\"b.jpg\">"_qs
                                              << u"/thumb/b.jpg"_qs;
        QTest::newRow("absolute https")
            << u"<meta property=\"og:image\" content=\"https://img.example.com/c.png\">"_qs
            << u"https://img.example.com/c.png"_qs;
        QTest::newRow("og:image before twitter whatever the order")
            << u"<meta name=\"twitter:image\" content=\"/t.jpg\"><meta property=\"og:image\" content=\"/o.jpg\">"_qs
            << u"/o.jpg"_qs;
        QTest::newRow("og:image:url") << u"<meta property=\"og:image:url\" content=\"/u.jpg\">"_qs << u"/u.jpg"_qs;
        QTest::newRow("twitter:image:src") << u"<meta name=\"twitter:image:src\" content=\"/s.jpg\">"_qs
                                           << u"/s.jpg"_qs;
        QTest::newRow("itemprop") << u"<meta itemprop=\"image\" content=\"/i.jpg\">"_qs << u"/i.jpg"_qs;
        QTest::newRow("link href") << u"<link rel=\"image_src\" href=\"/l.jpg\">"_qs << u"/l.jpg"_qs;
        QTest::newRow("base element") << u"<base href=\"https://cdn.example.com/x/\">"
                                         "<meta property=\"og:image\" content=\"d.jpg\">"_qs
                                      << u"https://cdn.example.com/x/d.jpg"_qs;
        QTest::newRow("javascript") << u"<meta property=\"og:image\" content=\"javascript:alert(1)\">"_qs << u""_qs;
        QTest::newRow("data") << u"<meta property=\"og:image\" content=\"data:image/png;base64,AAAA\">"_qs << u""_qs;
        QTest::newRow("unparsable") << u"<meta property=\"og:image\" content=\"http://[bad\">"_qs << u""_qs;
        QTest::newRow("none") << u"<title>plain</title>"_qs << u""_qs;
    }

    void pageThumbnail()
    {
        QFETCH(QString, head);
        QFETCH(QString, expected);
        // One page for all cases; each case puts its own head in.
        PageRig &rig = page({});
        const QUrl url = m_server->url(u"/thumb/page.html"_qs);
        m_server->addPage(url.path(), html({}, u"<p>page</p>"_qs));
        if (rig.url() != url)
            QVERIFY(rig.load(url));
        rig.eval(u"document.head.innerHTML = %1"_qs.arg(WebEnhancer::jsLiteral(head)));
        QCOMPARE(rig.eval(u"document.head.children.length"_qs).toInt(), head.count(u'<') - head.count(u"</"_qs));
        if (expected.startsWith(u'/'))
            expected = m_server->url(expected).toString();
        QCOMPARE(rig.eval(WebEnhancer::pageThumbnailScript()).toString(), expected);
    }

    // Rounds of clicks: both visible buttons in the same round, never a hidden one, rounds at
    // least 800 ms apart, even after the whole script text ran once more.
    void youtubeSkipsAdvertisements()
    {
        const QList<WebPage::UserScript> scripts = WebEnhancer::scripts(youtubeUrl, true, false);
        PageRig &rig = page(scripts);
        const QString button = u"<button id=\"%1\" class=\"%2\" style=\"width:80px;height:30px;%3\" "
                               "onclick=\"(clicks['%1'] = clicks['%1'] || []).push(Date.now())\" %4>skip</button>"_qs;
        const QString body =
            u"<script>var clicks = {};</script>"_qs
            + button.arg(u"visible1"_qs, u"ytp-ad-skip-button"_qs, QString(), QString())
            + button.arg(u"visible2"_qs, u"ytp-skip-ad-button"_qs, QString(), QString())
            + button.arg(u"template"_qs, u"ytp-ad-skip-button-modern"_qs, u"display:none"_qs, QString())
            + button.arg(u"invisible"_qs, u"ytp-ad-skip-button"_qs, u"visibility:hidden"_qs, QString())
            + button.arg(u"transparent"_qs, u"ytp-ad-skip-button"_qs, u"opacity:0"_qs, QString())
            + button.arg(u"tiny"_qs, u"ytp-ad-skip-button"_qs, u"width:1px;height:1px;padding:0;border:0"_qs, QString())
            + button.arg(u"disabled"_qs, u"ytp-ad-skip-button"_qs, QString(), u"disabled"_qs);
        m_server->addPage(u"/youtube-skip.html"_qs, html({}, body));
        QVERIFY(rig.load(m_server->url(u"/youtube-skip.html"_qs)));

        const QString count = u"(clicks['%1'] || []).length"_qs;
        QTRY_VERIFY_WITH_TIMEOUT(rig.eval(count.arg(u"visible1"_qs)).toInt() >= 1, loadTimeout);
        rig.eval(scripts.first().source);
        QTRY_VERIFY_WITH_TIMEOUT(rig.eval(count.arg(u"visible1"_qs)).toInt() >= 4, loadTimeout);

        const QVariantList first = rig.eval(u"clicks['visible1']"_qs).toList();
        const QVariantList second = rig.eval(u"clicks['visible2']"_qs).toList();
        QVERIFY(qAbs(first.first().toDouble() - second.first().toDouble()) < 50);
        for (qsizetype i = 1; i < first.size(); ++i)
            QVERIFY2(first.at(i).toDouble() - first.at(i - 1).toDouble() >= 795,
                     qPrintable(QString::number(first.at(i).toDouble() - first.at(i - 1).toDouble())));
        for (const QString &hidden : {u"template"_qs, u"invisible"_qs, u"transparent"_qs, u"tiny"_qs, u"disabled"_qs})
            QVERIFY2(rig.eval(count.arg(hidden)).toInt() == 0, qPrintable(hidden));
    }

    void youtubeStartsItsVideoUnmuted()
    {
        PageRig &rig = page(WebEnhancer::scripts(youtubeUrl, true, false));
        m_server->addPage(u"/youtube-play.html"_qs,
                          html({}, u"<video id=\"v\" muted src=\""_qs + m_clip + u"\"></video>"_qs));
        QVERIFY(rig.load(m_server->url(u"/youtube-play.html"_qs)));
        QTRY_VERIFY_WITH_TIMEOUT(rig.isTrue(u"!document.getElementById('v').paused && !document.getElementById('v').muted"_qs),
                                 loadTimeout);
    }

    // Each check reads "id property value" from the computed style of the element with that id
    // ("body" for the body); "class:" in front means while the root element has that class,
    // and such an element shows again once the class is gone.
    void cleanupStyles_data()
    {
        QTest::addColumn<QUrl>("site");
        QTest::addColumn<bool>("cleanup");
        QTest::addColumn<bool>("bilibiliClean");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("checks");

        const QUrl bilibili(u"https://www.bilibili.com/video/BV1"_qs);
        const auto div = [](const char *id, const char *attributes = "") {
            return QStringLiteral("<div id=\"%1\" %2>%1</div>").arg(QLatin1String(id), QLatin1String(attributes));
        };
        const QString bilibiliPage = div("column", "class=\"right-container\"")
            + div("left", "class=\"left-container\"") + div("player", "class=\"bpx-player-container\"")
            + div("toast", "class=\"bpx-player-toast-wrap\"") + div("side", "class=\"fixed-sidenav-storage\"")
            + div("progress", "class=\"bpx-player-progress-wrap\"") + div("dm", "class=\"bpx-player-row-dm-wrap\"")
            + div("danmukuBox");
        const QString youtubePage = div("secondary") + div("movie_player") + div("bar", "class=\"ytp-chrome-bottom\"");
        const QString dialogs = div("dialog", "role=\"dialog\" style=\"position:fixed\"")
            + div("modal", "aria-modal=\"true\" style=\"position:fixed\"")
            + div("gate", "class=\"my-ageGate-box\" style=\"position:fixed\"")
            + div("cookie", "class=\"cookie-bar\" style=\"position:fixed;z-index:5\"");

        QTest::newRow("youtube") << youtubeUrl << true << false << youtubePage
                                 << QStringList{"secondary display none", "movie_player position fixed",
                                                "movie_player z-index 999999", "bar display block",
                                                "body background-color rgb(0, 0, 0)",
                                                "kt-webctl:bar display none"};
        QTest::newRow("youtube without clean-up")
            << youtubeUrl << false << false << youtubePage
            << QStringList{"secondary display block", "movie_player position static", "kt-webctl:bar display block"};
        QTest::newRow("twitch") << QUrl(u"https://www.twitch.tv/someone"_qs) << true << false
                                << div("nav", "class=\"top-nav\"") + div("player", "class=\"video-player\"")
                                << QStringList{"nav display none", "player z-index 999999"};
        QTest::newRow("bilibili, clean-up and bilibili clean")
            << bilibili << true << true << bilibiliPage
            << QStringList{"column display none", "left display block", "player z-index 9998",
                           "toast display none", "side display none", "dm display block",
                           "kt-webctl:progress display none", "kt-hide-danmaku:dm display none",
                           "kt-hide-danmaku:danmukuBox display none"};
        QTest::newRow("bilibili, clean-up only")
            << bilibili << true << false << bilibiliPage
            << QStringList{"column display none", "toast display block", "side display block"};
        QTest::newRow("bilibili without clean-up")
            << bilibili << false << true << bilibiliPage
            << QStringList{"column display block", "side display block", "kt-webctl:progress display block",
                           "kt-hide-danmaku:dm display none"};
        QTest::newRow("bilibili live")
            << QUrl(u"https://live.bilibili.com/1"_qs) << true << true
            << div("sidebar", "class=\"live-sidebar\"") + div("outer", "class=\"live-non-revenue-player\"")
                   + div("player", "class=\"player\"") + div("dm", "class=\"bpx-player-row-dm-wrap\"")
            << QStringList{"sidebar display none", "outer display block", "player z-index 2147483000",
                           "kt-hide-danmaku:dm display block"};
        QTest::newRow("netease") << QUrl(u"https://music.163.com/"_qs) << true << false
                                 << div("top", "class=\"m-top\"") + div("bar", "class=\"m-playbar\"")
                                 << QStringList{"top display none", "bar position fixed", "bar bottom 0px",
                                                "bar z-index 2147483000"};
        QTest::newRow("vimeo") << QUrl(u"https://vimeo.com/1"_qs) << true << false
                               << div("side", "class=\"x-sidebar-y\"") + div("player", "class=\"vp-player\"")
                               << QStringList{"side display none", "player z-index 2147483000"};
        QTest::newRow("huya") << QUrl(u"https://www.huya.com/1"_qs) << true << false
                              << div("chat", "class=\"room-chat\"") + div("player", "id=\"playerWrap\"")
                              << QStringList{"chat display none"};
        QTest::newRow("weibo") << QUrl(u"https://weibo.com/1"_qs) << true << false
                               << u"<div class=\"m-container-max\">"_qs + div("first", "class=\"m-box\"")
                                      + div("second", "class=\"m-box\"") + u"</div>"_qs
                               << QStringList{"first display none", "second display block"};
        QTest::newRow("youku") << QUrl(u"https://v.youku.com/1"_qs) << true << false
                               << div("header", "class=\"yk-header\"") + div("player", "class=\"youku-player\"")
                               << QStringList{"header display none", "player z-index 2147483000"};
        QTest::newRow("qqmusic") << QUrl(u"https://y.qq.com/"_qs) << true << false
                                 << div("footer", "class=\"mod_footer\"") + div("bar", "class=\"mod_player\"")
                                 << QStringList{"footer display none", "bar position fixed", "bar bottom 0px"};
        QTest::newRow("dailymotion")
            << QUrl(u"https://www.dailymotion.com/video/x"_qs) << true << false
            << div("header", "class=\"ResponsiveHeader__header_x\"") + div("player", "class=\"Player__player_abc\"")
            << QStringList{"header display none", "player z-index 2147483000"};
        QTest::newRow("soundcloud") << QUrl(u"https://soundcloud.com/"_qs) << true << false
                                    << div("notes", "class=\"announcements\"")
                                    << QStringList{"notes display none"};
        QTest::newRow("pornhub") << QUrl(u"https://www.pornhub.com/v"_qs) << true << false
                                 << div("player", "class=\"videoWrapper\"") + div("list", "class=\"videoList\"") + dialogs
                                 << QStringList{"player z-index 9998", "list display none",
                                                "dialog z-index 2147483600", "gate z-index 2147483600",
                                                "cookie z-index 2147483600"};
        QTest::newRow("xvideos") << QUrl(u"https://www.xvideos.com/v"_qs) << true << false
                                 << div("player", "id=\"html5video\"") + dialogs
                                 << QStringList{"dialog z-index 2147483600", "modal z-index 2147483600",
                                                "gate z-index auto"};
        QTest::newRow("xhamster") << QUrl(u"https://xhamster.com/v"_qs) << true << false
                                  << div("player", "class=\"xplayer\"") + div("side", "class=\"a-sidebar\"")
                                  << QStringList{"player z-index 9998", "side display none"};
        QTest::newRow("redtube") << QUrl(u"https://www.redtube.com/1"_qs) << true << false
                                 << div("player", "class=\"mgp_videoWrapper\"") + dialogs
                                 << QStringList{"player z-index 9998", "modal z-index 2147483600",
                                                "cookie z-index 5"};
    }

    void cleanupStyles()
    {
        QFETCH(QUrl, site);
        QFETCH(bool, cleanup);
        QFETCH(bool, bilibiliClean);
        QFETCH(QString, body);
        QFETCH(QStringList, checks);
        PageRig &rig = page(WebEnhancer::scripts(site, cleanup, bilibiliClean));
        const QString path = u"/styles/"_qs + QString::fromUtf8(QTest::currentDataTag()).replace(u' ', u'-');
        m_server->addPage(path, html({}, body));
        QVERIFY(rig.load(m_server->url(path)));

        const auto computed = [&rig](const QString &id, const QString &property) {
            const QString element =
                id == u"body" ? u"document.body"_qs : u"document.getElementById('%1')"_qs.arg(id);
            return rig.eval(u"getComputedStyle(%1).getPropertyValue('%2')"_qs.arg(element, property)).toString();
        };
        for (const QString &check : checks) {
            const QString rootClass = check.contains(u':') ? check.section(u':', 0, 0) : QString();
            const QStringList parts = check.section(u':', -1).split(u' ');
            const QString id = parts.at(0);
            const QString property = parts.at(1);
            const QString expected = parts.mid(2).join(u' ');
            if (!rootClass.isEmpty())
                rig.eval(u"document.documentElement.classList.add('%1')"_qs.arg(rootClass));
            QCOMPARE(u"%1 %2"_qs.arg(check, computed(id, property)), u"%1 %2"_qs.arg(check, expected));
            if (!rootClass.isEmpty()) {
                rig.eval(u"document.documentElement.classList.remove('%1')"_qs.arg(rootClass));
                QVERIFY2(computed(id, u"display"_qs) != u"none", qPrintable(check));
            }
        }
    }

    // A page that throws its styles out early gets them back while the observer runs.
    void lateStylesComeBack_data()
    {
        QTest::addColumn<QUrl>("site");
        QTest::addColumn<QString>("styleId");
        QTest::addColumn<QString>("hidden");
        QTest::newRow("netease") << QUrl(u"https://music.163.com/"_qs) << u"kt-site-netease"_qs << u"m-top"_qs;
        QTest::newRow("bilibili clean") << QUrl(u"https://www.bilibili.com/video/1"_qs) << u"kt-bili-clean"_qs
                                        << u"bpx-player-toast-wrap"_qs;
    }

    void lateStylesComeBack()
    {
        QFETCH(QUrl, site);
        QFETCH(QString, styleId);
        QFETCH(QString, hidden);
        PageRig &rig = page(WebEnhancer::scripts(site, true, true));
        const QString path = u"/late/"_qs + QString::fromUtf8(QTest::currentDataTag()).replace(u' ', u'-');
        m_server->addPage(path, html({}, u"<div id=\"x\" class=\"%1\">x</div>"_qs.arg(hidden)));
        QVERIFY(rig.load(m_server->url(path)));
        const QString display = u"getComputedStyle(document.getElementById('x')).display"_qs;
        QCOMPARE(rig.eval(display).toString(), u"none"_qs);
        rig.eval(u"document.getElementById('%1').remove(); document.querySelectorAll('#%1').length"_qs.arg(styleId));
        QTRY_COMPARE_WITH_TIMEOUT(rig.eval(display).toString(), u"none"_qs, 2000);
        QCOMPARE(rig.eval(u"document.querySelectorAll('#%1').length"_qs.arg(styleId)).toInt(), 1);
    }

    // Both injections ran; running the text once more changes nothing either.
    void guardsMakeRepeatsNoOps()
    {
        const QList<WebPage::UserScript> scripts =
            WebEnhancer::scripts(QUrl(u"https://www.bilibili.com/video/1"_qs), true, true);
        PageRig &rig = page(scripts);
        m_server->addPage(u"/guards.html"_qs, html({}, u"<video id=\"v\"></video>"_qs));
        QVERIFY(rig.load(m_server->url(u"/guards.html"_qs)));
        const QString styles = u"Array.from(document.querySelectorAll('style')).map(function (s) { return s.id; }).sort().join(' ')"_qs;
        const QString expectedStyles = u"kt-base kt-bili-clean kt-danmaku-hide kt-site-bilibili"_qs;
        QCOMPARE(rig.eval(styles).toString(), expectedStyles);
        rig.eval(u"window.keptFinder = window.__lumivanePrimaryMedia"_qs);
        rig.eval(u"Array.from(document.querySelectorAll('style')).forEach(function (s) { s.id = ''; })"_qs);
        rig.eval(scripts.first().source);
        QVERIFY(rig.isTrue(u"window.keptFinder === window.__lumivanePrimaryMedia"_qs));
        // With the ids gone, any script that ran again would have attached a second style.
        QCOMPARE(rig.eval(u"document.querySelectorAll('style').length"_qs).toInt(), 4);
    }

    void siteStructureScan()
    {
        PageRig &rig = page({});
        QString body = u"<div class=\"outer\"><span class=\"login-tip\">  免费享高清视频 </span></div>"
                       "<p>免费享高清视频</p>"_qs;
        for (int i = 0; i < 5; ++i)
            body += u"<a class=\"more\">免费享高清视频</a>"_qs;
        for (int i = 0; i < 20; ++i)
            body += u"<div class=\"fixed-%1\"></div><div class=\"dm-%1\"></div><div class=\"Login%1\"></div>"_qs.arg(i);
        m_server->addPage(u"/scan.html"_qs, html({}, body));
        QVERIFY(rig.load(m_server->url(u"/scan.html"_qs)));
        const QVariant result = rig.eval(WebEnhancer::siteStructureScanScript());
        const QJsonObject scan = QJsonDocument::fromJson(result.toString().toUtf8()).object();
        QCOMPARE(scan.value("url").toString(), m_server->url(u"/scan.html"_qs).toString());
        QCOMPARE(scan.value("loginText").toArray().size(), 4);
        QCOMPARE(scan.value("loginText").toArray().at(0).toString(),
                 u"span.login-tip < div.outer < body. < html."_qs);
        QCOMPARE(scan.value("fixed").toArray().size(), 12);
        QCOMPARE(scan.value("fixed").toArray().at(0).toString(), u"div.fixed-0"_qs);
        QCOMPARE(scan.value("dm").toArray().size(), 12);
        QCOMPARE(scan.value("login").toArray().size(), 15);
    }

    void recoverySeeksAndPlays()
    {
        PageRig &rig = page(WebEnhancer::scripts(unknownUrl, false, false));
        const QString loaded = u"src=\""_qs + m_clip + u"\" preload=\"auto\" muted"_qs;
        m_server->addPage(u"/recover.html"_qs,
                          html({}, u"<video id=\"big\" style=\"width:600px\" %1></video>"
                                   "<div id=\"movie_player\"><video id=\"yt\" style=\"width:50px\" %1></video></div>"_qs
                                       .arg(loaded)));
        QVERIFY(rig.load(m_server->url(u"/recover.html"_qs)));
        QTRY_VERIFY_WITH_TIMEOUT(rig.isTrue(u"document.getElementById('yt').readyState >= 1"_qs), loadTimeout);
        QCOMPARE(rig.primaryId(), u"big"_qs);
        rig.eval(WebEnhancer::recoveryScript(2.5));
        QTRY_VERIFY_WITH_TIMEOUT(rig.isTrue(u"!document.getElementById('yt').paused"_qs), loadTimeout);
        QVERIFY(rig.eval(u"document.getElementById('yt').currentTime"_qs).toDouble() >= 2.5);
        QVERIFY(rig.isTrue(u"document.getElementById('big').paused && document.getElementById('big').currentTime === 0"_qs));
    }

private:
    // Pages load one after another in the same view: a new view per case costs seconds.
    PageRig &page(const QList<WebPage::UserScript> &scripts)
    {
        if (!m_rig)
            m_rig = std::make_unique<PageRig>();
        m_rig->install(scripts);
        return *m_rig;
    }

    static QJsonObject parseRecord(const QVariant &result)
    {
        return QJsonDocument::fromJson(result.toString().toUtf8()).object();
    }

    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<PageRig> m_rig;
    QString m_clip;
};

QTEST_MAIN(TestWebEnhancerPages)
#include "itst_webenhancerpages.moc"

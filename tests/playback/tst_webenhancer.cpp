#include "playback/WebEnhancer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

const QString separator = QStringLiteral("\n;\n");
const QString selectorPlaceholder = QStringLiteral("__LUMIVANE_SELECTOR__");
const QString noSelector = QStringLiteral("<none>");

// The raw file behind a script, read independently of the code under test.
QString resource(const QString &name)
{
    WebEnhancer::scripts(QUrl(), false, false); // registers the resource
    QFile file(QStringLiteral(":/scripts/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString primaryWith(const QString &literal)
{
    return resource(QStringLiteral("primary-media.js")).replace(selectorPlaceholder, literal);
}

} // namespace

class TestWebEnhancer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void adapterForHost_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("siteID");
        QTest::addColumn<QString>("guard");
        QTest::addColumn<QString>("selector");
        const auto row = [](const char *name, const char *url, const char *site, const char *guard,
                            const QString &selector) {
            QTest::newRow(name) << QUrl(QString::fromUtf8(url)) << QString::fromUtf8(site)
                                << QString::fromUtf8(guard) << selector;
        };
        row("youtube www", "https://www.youtube.com/watch?v=abc", "youtube", "__lumivaneYT",
            u"#movie_player video, ytd-player video, video"_qs);
        row("youtube mobile", "https://m.youtube.com/watch?v=abc", "youtube", "__lumivaneYT",
            u"#movie_player video, ytd-player video, video"_qs);
        row("youtube short link", "https://youtu.be/abc", "youtube", "__lumivaneYT",
            u"#movie_player video, ytd-player video, video"_qs);
        row("twitch", "https://www.twitch.tv/someone", "twitch", "__lumivaneTW",
            u"[data-a-target=\"video-player\"] video, .video-player video, video"_qs);
        row("bilibili video", "https://www.bilibili.com/video/BV1xx", "bilibili", "__lumivaneBL",
            u"#bilibili-player video, .bpx-player-container video, video"_qs);
        row("bilibili mobile", "https://m.bilibili.com/video/BV1xx", "bilibili", "__lumivaneBL",
            u"#bilibili-player video, .bpx-player-container video, video"_qs);
        row("bilibili live", "https://live.bilibili.com/123", "bilibili-live", "__lumivaneBLLive",
            u"#player-ctnr video, .player video, #live-player video, video"_qs);
        row("netease", "https://music.163.com/#/song?id=1", "netease", "__lumivaneNE",
            u"#g_player audio, .m-playbar audio, audio"_qs);
        row("vimeo", "https://vimeo.com/1", "vimeo", "__lumivaneVM",
            u".vp-player video, #player video, [data-testid=\"player\"] video, video"_qs);
        row("huya", "https://www.huya.com/1", "huya", "__lumivaneHY",
            u"#playerWrap video, #player-wrap video, .player-wrap video, .video-player video, video"_qs);
        row("weibo", "https://weibo.com/tv/show/1", "weibo", "__lumivaneWB",
            u".video-player video, .mwb-layer video, .card-video video, video"_qs);
        row("youku", "https://v.youku.com/v_show/id_1.html", "youku", "__lumivaneYK",
            u"#ykPlayer video, .youku-player video, .h5player-container video, video"_qs);
        row("qqmusic", "https://y.qq.com/n/ryqq/player", "qqmusic", "__lumivaneQQ", u"audio"_qs);
        row("dailymotion", "https://www.dailymotion.com/video/x1", "dailymotion", "__lumivaneDM", noSelector);
        row("soundcloud", "https://soundcloud.com/a/b", "soundcloud", "__lumivaneSC", u"audio"_qs);
        row("pornhub", "https://www.pornhub.com/view_video.php", "pornhub", "__lumivanePH",
            u"video.mgp_videoElement, #player video, video"_qs);
        row("xvideos", "https://www.xvideos.com/video1", "xvideos", "__lumivaneXV",
            u"#html5video video, #fakeplayer video, video"_qs);
        row("xhamster", "https://xhamster.com/videos/1", "xhamster", "__lumivaneXH",
            u"#xplayer__video, .xplayer video, .player-container video, video"_qs);
        row("redtube", "https://www.redtube.com/1", "redtube", "__lumivaneRT",
            u"video.mgp_videoElement, #redtube-player video, video"_qs);
        row("upper-case host", "https://WWW.YOUTUBE.COM/watch", "youtube", "__lumivaneYT",
            u"#movie_player video, ytd-player video, video"_qs);
        row("catalogue site without adapter", "https://app.plex.tv/desktop", "", "", noSelector);
        row("bandcamp has none either", "https://x.bandcamp.com/track/y", "", "", noSelector);
        row("unknown host", "https://example.com/video", "", "", noSelector);
        row("suffix without dot boundary", "https://notyoutube.com/watch", "", "", noSelector);
        row("empty URL", "", "", "", noSelector);
        row("no host", "file:///home/user/clip.mp4", "", "", noSelector);
        QTest::newRow("invalid URL") << QUrl(u"http://exa mple.com/"_qs, QUrl::StrictMode) << QString()
                                     << QString() << noSelector;
    }

    void adapterForHost()
    {
        QFETCH(QUrl, url);
        QFETCH(QString, siteID);
        QFETCH(QString, guard);
        QFETCH(QString, selector);
        const std::optional<SiteAdapter> found = WebEnhancer::adapter(url);
        if (siteID.isEmpty()) {
            QVERIFY(!found);
            return;
        }
        QVERIFY(found);
        QCOMPARE(found->siteID, siteID);
        QCOMPARE(found->primaryMediaSelector.value_or(noSelector), selector);
        QCOMPARE(found->scripts.size(), 1);
        QVERIFY2(found->scripts.first().contains(u"if (window."_qs + guard + u") return;"_qs),
                 qPrintable(guard));
        QVERIFY(!found->scripts.first().contains(separator));
    }

    void composition_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("cleanup");
        QTest::addColumn<bool>("bilibiliClean");
        QTest::addColumn<QString>("selectorLiteral");
        QTest::addColumn<QStringList>("following");

        const QString youtube = u"\"#movie_player video, ytd-player video, video\""_qs;
        const QString bilibili = u"\"#bilibili-player video, .bpx-player-container video, video\""_qs;
        const QString live = u"\"#player-ctnr video, .player video, #live-player video, video\""_qs;
        const QUrl youtubeUrl(u"https://www.youtube.com/watch?v=abc"_qs);
        const QUrl bilibiliUrl(u"https://www.bilibili.com/video/BV1xx"_qs);
        const QUrl liveUrl(u"https://live.bilibili.com/123"_qs);
        const QUrl unknownUrl(u"https://example.com/page"_qs);
        const QUrl plexUrl(u"https://app.plex.tv/"_qs);

        QTest::newRow("youtube, clean-up") << youtubeUrl << true << false << youtube
                                           << QStringList{"base-cleanup.js", "site-youtube.js"};
        QTest::newRow("youtube, no clean-up") << youtubeUrl << false << true << youtube << QStringList{};
        QTest::newRow("bilibili, clean-up, bilibili clean")
            << bilibiliUrl << true << true << bilibili
            << QStringList{"base-cleanup.js", "adapter", "bilibili-clean.js", "danmaku-overlay.js"};
        QTest::newRow("bilibili, clean-up only")
            << bilibiliUrl << true << false << bilibili
            << QStringList{"base-cleanup.js", "adapter", "danmaku-overlay.js"};
        QTest::newRow("bilibili, no clean-up") << bilibiliUrl << false << true << bilibili
                                               << QStringList{"danmaku-overlay.js"};
        QTest::newRow("bilibili live, clean-up")
            << liveUrl << true << true << live << QStringList{"base-cleanup.js", "adapter"};
        QTest::newRow("bilibili live, no clean-up") << liveUrl << false << true << live << QStringList{};
        QTest::newRow("unknown site, clean-up") << unknownUrl << true << true << u"null"_qs
                                                << QStringList{"base-cleanup.js"};
        QTest::newRow("unknown site, no clean-up") << unknownUrl << false << false << u"null"_qs
                                                   << QStringList{};
        QTest::newRow("catalogue site without adapter")
            << plexUrl << true << true << u"null"_qs << QStringList{"base-cleanup.js"};
        QTest::newRow("dailymotion has no selector")
            << QUrl(u"https://www.dailymotion.com/video/x1"_qs) << true << false << u"null"_qs
            << QStringList{"base-cleanup.js", "adapter"};
        QTest::newRow("twitch selector with quotes")
            << QUrl(u"https://www.twitch.tv/someone"_qs) << true << false
            << u"\"[data-a-target=\\\"video-player\\\"] video, .video-player video, video\""_qs
            << QStringList{"base-cleanup.js", "adapter"};
        QTest::newRow("no URL") << QUrl() << true << true << u"null"_qs << QStringList{"base-cleanup.js"};
    }

    void composition()
    {
        QFETCH(QUrl, url);
        QFETCH(bool, cleanup);
        QFETCH(bool, bilibiliClean);
        QFETCH(QString, selectorLiteral);
        QFETCH(QStringList, following);

        // "adapter": the site adapter's script, built from the site's style.
        QStringList expected{primaryWith(selectorLiteral)};
        for (const QString &name : following)
            expected << (name == u"adapter" ? WebEnhancer::adapter(url)->scripts.first() : resource(name));
        for (const QString &part : expected)
            QVERIFY(!part.isEmpty());

        const QList<WebPage::UserScript> scripts = WebEnhancer::scripts(url, cleanup, bilibiliClean);
        QCOMPARE(scripts.size(), 2);
        QCOMPARE(scripts.at(0).injection, WebPage::Injection::documentReady);
        QCOMPARE(scripts.at(1).injection, WebPage::Injection::documentCreation);
        QVERIFY(!scripts.at(0).name.isEmpty());
        QVERIFY(scripts.at(0).name != scripts.at(1).name);
        QCOMPARE(scripts.at(1).source, scripts.at(0).source);
        QCOMPARE(scripts.at(0).source, expected.join(separator));
        QVERIFY(!scripts.at(0).source.contains(selectorPlaceholder));
    }

    // Whatever the preferences, no placeholder reaches a page.
    void noPlaceholderLeft()
    {
        const QStringList urls{u"https://www.youtube.com/watch"_qs, u"https://www.twitch.tv/x"_qs,
                               u"https://www.bilibili.com/video/1"_qs, u"https://live.bilibili.com/1"_qs,
                               u"https://www.dailymotion.com/video/x"_qs, u"https://example.org/"_qs, u""_qs};
        for (const QString &url : urls) {
            for (const bool cleanup : {false, true}) {
                for (const bool clean : {false, true}) {
                    const QString source = WebEnhancer::scripts(QUrl(url), cleanup, clean).first().source;
                    QVERIFY2(!source.contains(u"__LUMIVANE_"_qs), qPrintable(url));
                    QVERIFY2(source.contains(u"window.__lumivanePrimaryMedia = function"_qs), qPrintable(url));
                }
            }
        }
    }

    void jsLiteral_data()
    {
        QTest::addColumn<std::optional<QString>>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << std::optional<QString>() << u"null"_qs;
        QTest::newRow("plain") << std::optional<QString>(u"audio"_qs) << u"\"audio\""_qs;
        QTest::newRow("empty") << std::optional<QString>(u""_qs) << u"\"\""_qs;
        QTest::newRow("double quotes") << std::optional<QString>(u"[a=\"b\"] video"_qs)
                                       << u"\"[a=\\\"b\\\"] video\""_qs;
        QTest::newRow("backslash") << std::optional<QString>(u"a\\b"_qs) << u"\"a\\\\b\""_qs;
        QTest::newRow("line feed and tab") << std::optional<QString>(u"a\nb\tc"_qs) << u"\"a\\nb\\tc\""_qs;
        QTest::newRow("Chinese kept") << std::optional<QString>(u"视频"_qs) << u"\"视频\""_qs;
    }

    void jsLiteral()
    {
        QFETCH(std::optional<QString>, value);
        QFETCH(QString, expected);
        const QString literal = WebEnhancer::jsLiteral(value);
        QCOMPARE(literal, expected);
        if (!value)
            return;
        // The literal is valid JSON and reads back as the value.
        const QJsonDocument back = QJsonDocument::fromJson((u"["_qs + literal + u"]"_qs).toUtf8());
        QVERIFY(back.isArray());
        QCOMPARE(back.array().at(0).toString(), *value);
    }

    void recoveryTarget_data()
    {
        QTest::addColumn<double>("target");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fraction") << 12.5 << u"12.5"_qs;
        QTest::newRow("whole") << 3.0 << u"3"_qs;
        QTest::newRow("below one") << 0.85 << u"0.85"_qs;
        QTest::newRow("shortest round trip") << 0.1 + 0.2 << u"0.30000000000000004"_qs;
        QTest::newRow("long film") << 7199.96 << u"7199.96"_qs;
        QTest::newRow("zero") << 0.0 << u"0"_qs;
        QTest::newRow("negative") << -4.0 << u"0"_qs;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << u"0"_qs;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << u"0"_qs;
    }

    void recoveryTarget()
    {
        QFETCH(double, target);
        QFETCH(QString, expected);
        const QString script = WebEnhancer::recoveryScript(target);
        QVERIFY2(script.contains(u"var target = "_qs + expected + u";"_qs), qPrintable(script));
        QVERIFY(!script.contains(u"__LUMIVANE_"_qs));
        QVERIFY(script.contains(u"#movie_player video, ytd-player video"_qs));
    }
};

QTEST_GUILESS_MAIN(TestWebEnhancer)
#include "tst_webenhancer.moc"

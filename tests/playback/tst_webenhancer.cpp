#include "playback/WebEnhancer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <cmath>

// What the scripts do is checked in the real engine (itst_webenhancerpages); here, which
// site gets which adapter and what reaches a page as a value.
class TestWebEnhancer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void adapterForHost()
    {
        struct Row {
            const char *url;
            const char *siteID;
        };
        const QList<Row> rows{
            {"https://www.youtube.com/watch?v=abc", "youtube"}, {"https://youtu.be/abc", "youtube"},
            {"https://WWW.YOUTUBE.COM/watch", "youtube"},       {"https://www.twitch.tv/x", "twitch"},
            {"https://m.bilibili.com/video/BV1", "bilibili"},   {"https://live.bilibili.com/1", "bilibili-live"},
            {"https://music.163.com/#/song?id=1", "netease"},   {"https://vimeo.com/1", "vimeo"},
            {"https://www.huya.com/1", "huya"},                 {"https://weibo.com/tv/show/1", "weibo"},
            {"https://v.youku.com/v_show/id_1.html", "youku"},  {"https://y.qq.com/n/ryqq/player", "qqmusic"},
            {"https://www.dailymotion.com/video/x1", "dailymotion"}, {"https://soundcloud.com/a/b", "soundcloud"},
            {"https://www.pornhub.com/view_video.php", "pornhub"}, {"https://www.xvideos.com/video1", "xvideos"},
            {"https://xhamster.com/videos/1", "xhamster"},      {"https://www.redtube.com/1", "redtube"},
            {"https://app.plex.tv/desktop", ""},                {"https://notyoutube.com/watch", ""},
            {"file:///home/user/clip.mp4", ""},                 {"http://exa mple.com/", ""},
        };
        for (const Row &row : rows) {
            const std::optional<SiteAdapter> adapter = WebEnhancer::adapter(QUrl(QString::fromUtf8(row.url), QUrl::StrictMode));
            QCOMPARE(QString::fromUtf8(row.url) + u" "_qs + (adapter ? adapter->siteID : QString()),
                     QString::fromUtf8(row.url) + u" "_qs + QString::fromUtf8(row.siteID));
        }
    }

    // The same source twice: at document ready for the page now, at creation for later ones.
    void installedTwice()
    {
        const QList<WebPage::UserScript> scripts = WebEnhancer::scripts(QUrl(u"https://example.com/"_qs), true, true);
        QCOMPARE(scripts.size(), 2);
        QCOMPARE(scripts.at(0).injection, WebPage::Injection::documentReady);
        QCOMPARE(scripts.at(1).injection, WebPage::Injection::documentCreation);
        QVERIFY(scripts.at(0).name != scripts.at(1).name);
        QCOMPARE(scripts.at(1).source, scripts.at(0).source);
    }

    void literalReadsBackAsTheValue()
    {
        QCOMPARE(WebEnhancer::jsLiteral(std::nullopt), u"null"_qs);
        for (const QString &value : {u""_qs, u"[a=\"b\"] video"_qs, u"a\\b\nc\t</script>"_qs, u"视频"_qs}) {
            const QJsonDocument back = QJsonDocument::fromJson((u"["_qs + WebEnhancer::jsLiteral(value) + u"]"_qs).toUtf8());
            QCOMPARE(back.array().at(0).toString(), value);
        }
    }

    void onlyFiniteNumbersReachAPage()
    {
        using enum WebEnhancer::MediaControl;
        QVERIFY(WebEnhancer::mediaControlScript(seek, std::nan("")).isEmpty());
        QVERIFY(WebEnhancer::mediaControlScript(speed, INFINITY).isEmpty());
        QVERIFY(!WebEnhancer::mediaControlScript(seek, 0.0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWebEnhancer)
#include "tst_webenhancer.moc"

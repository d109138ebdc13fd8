#include "KiteCore/SiteCatalog.h"

#include <QTest>

class TestSiteCatalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableShape()
    {
        const QStringList ids{"youtube", "twitch", "bilibili-live", "bilibili", "netease", "vimeo",
                              "huya", "weibo", "plex", "youku", "qqmusic", "dailymotion",
                              "soundcloud", "bandcamp", "pornhub", "onlyfans", "xvideos",
                              "xhamster", "redtube"};
        const QList<qsizetype> hostCounts{3, 1, 1, 2, 1, 1, 1, 2, 1, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1};
        const QList<SiteEntry> &entries = SiteCatalog::entries();
        QCOMPARE(entries.size(), ids.size());
        QSet<QString> seenHosts;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            QCOMPARE(entries.at(i).id, ids.at(i));
            QCOMPARE(entries.at(i).hosts.size(), hostCounts.at(i));
            QVERIFY(!entries.at(i).displayName.isEmpty());
            for (const QString &host : entries.at(i).hosts) {
                // Patterns are compared as stored, so they must already be lower case.
                QCOMPARE(host, host.toLower());
                QVERIFY2(!seenHosts.contains(host), qPrintable(host));
                seenHosts.insert(host);
            }
        }
        QCOMPARE(&SiteCatalog::entries(), &entries);
    }

    void match_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("expected");

        QTest::newRow("main host") << "youtube.com" << "youtube";
        QTest::newRow("www") << "www.youtube.com" << "youtube";
        QTest::newRow("upper case") << "WWW.YouTube.COM" << "youtube";
        QTest::newRow("deep subdomain") << "a.b.music.youtube.com" << "youtube";
        QTest::newRow("short link host") << "youtu.be" << "youtube";
        QTest::newRow("privacy embed") << "www.youtube-nocookie.com" << "youtube";
        QTest::newRow("live before main") << "live.bilibili.com" << "bilibili-live";
        QTest::newRow("live subdomain") << "m.live.bilibili.com" << "bilibili-live";
        QTest::newRow("plain bilibili") << "www.bilibili.com" << "bilibili";
        QTest::newRow("bilibili short link") << "b23.tv" << "bilibili";
        QTest::newRow("second weibo domain") << "m.weibo.cn" << "weibo";
        QTest::newRow("dailymotion short") << "dai.ly" << "dailymotion";
        QTest::newRow("netease music") << "music.163.com" << "netease";
        QTest::newRow("netease root is not music") << "163.com" << "";
        QTest::newRow("qq music") << "y.qq.com" << "qqmusic";
        QTest::newRow("qq video is not catalogued") << "v.qq.com" << "";
        QTest::newRow("suffix without dot") << "notyoutube.com" << "";
        QTest::newRow("suffix without dot 2") << "mytwitch.tv" << "";
        QTest::newRow("catalogue host as prefix") << "youtube.com.evil.org" << "";
        QTest::newRow("unknown") << "example.org" << "";
        QTest::newRow("blank") << " \t " << "";
        QTest::newRow("newlines") << "\n\r\n" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("padded is not trimmed for comparison") << " youtube.com" << "";
        QTest::newRow("trailing dot") << "youtube.com." << "";
        QTest::newRow("dot only") << "." << "";
    }

    void match()
    {
        QFETCH(QString, host);
        QFETCH(QString, expected);
        const std::optional<SiteEntry> found = SiteCatalog::match(host);
        QCOMPARE(found ? found->id : QString(), expected);
        const std::optional<QString> name = SiteCatalog::displayName(host);
        QCOMPARE(name.has_value(), !expected.isEmpty());
        if (found)
            QCOMPARE(*name, found->displayName);
    }

    void absentHost()
    {
        QVERIFY(!SiteCatalog::match(std::nullopt));
        QVERIFY(!SiteCatalog::displayName(std::nullopt));
        QVERIFY(!SiteCatalog::match(QString()));
    }

    void displayNames_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("expected");
        QTest::newRow("youtube") << "youtu.be" << "YouTube";
        QTest::newRow("live") << "live.bilibili.com" << "Bilibili 直播";
        QTest::newRow("netease") << "music.163.com" << "网易云音乐";
        QTest::newRow("weibo") << "weibo.com" << "微博";
        QTest::newRow("qqmusic") << "y.qq.com" << "QQ音乐";
        QTest::newRow("xhamster") << "xhamster.com" << "xHamster";
    }

    void displayNames()
    {
        QFETCH(QString, host);
        QFETCH(QString, expected);
        QCOMPARE(SiteCatalog::displayName(host), std::optional<QString>(expected));
    }

    void entryByID_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("expectedName");
        QTest::newRow("first") << "youtube" << "YouTube";
        QTest::newRow("last") << "redtube" << "RedTube";
        QTest::newRow("hyphenated") << "bilibili-live" << "Bilibili 直播";
        QTest::newRow("case-sensitive") << "YouTube" << "";
        QTest::newRow("unsupported site is no entry") << "netflix" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("padded") << "youtube " << "";
    }

    void entryByID()
    {
        QFETCH(QString, id);
        QFETCH(QString, expectedName);
        const std::optional<SiteEntry> found = SiteCatalog::entry(id);
        QCOMPARE(found ? found->displayName : QString(), expectedName);
        if (found)
            QCOMPARE(found->id, id);
    }
};

QTEST_GUILESS_MAIN(TestSiteCatalog)
#include "tst_sitecatalog.moc"

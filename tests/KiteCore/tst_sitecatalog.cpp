#include "KiteCore/SiteCatalog.h"

#include <QTest>

class TestSiteCatalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Patterns are compared as stored, so they must be lower case, and a host names one site.
    void hostsAreLowerCaseAndUnique()
    {
        QSet<QString> seen;
        for (const SiteEntry &entry : SiteCatalog::entries()) {
            for (const QString &host : entry.hosts) {
                QVERIFY2(host == host.toLower() && !seen.contains(host), qPrintable(host));
                seen.insert(host);
            }
        }
    }

    // Any letter case and every subdomain, never a bare suffix; the first entry listed wins.
    void match()
    {
        struct Row { const char *host, *id; };
        const Row rows[] = {{"WWW.YouTube.COM", "youtube"}, {"a.b.music.youtube.com", "youtube"}, {"youtu.be", "youtube"},
                            {"live.bilibili.com", "bilibili-live"}, {"www.bilibili.com", "bilibili"}, {"m.weibo.cn", "weibo"},
                            {"163.com", ""}, {"notyoutube.com", ""}, {"youtube.com.evil.org", ""}, {" \t ", ""},
                            {" youtube.com", ""}, {"youtube.com.", ""}};
        for (const Row &row : rows) {
            const std::optional<SiteEntry> found = SiteCatalog::match(QString::fromLatin1(row.host));
            QVERIFY2((found ? found->id : QString()) == row.id, row.host);
            QVERIFY2(SiteCatalog::displayName(QString::fromLatin1(row.host)) == (found ? std::optional(found->displayName) : std::nullopt),
                     row.host);
        }
        QVERIFY(!SiteCatalog::match(std::nullopt) && !SiteCatalog::displayName(std::nullopt));
        QCOMPARE(SiteCatalog::displayName(QStringLiteral("live.bilibili.com")), "Bilibili 直播");
        QCOMPARE(SiteCatalog::entry("bilibili-live").value_or(SiteEntry()).hosts, QStringList{"live.bilibili.com"});
        QVERIFY(!SiteCatalog::entry("YouTube") && !SiteCatalog::entry("netflix") && !SiteCatalog::entry("youtube "));
    }
};

QTEST_GUILESS_MAIN(TestSiteCatalog)
#include "tst_sitecatalog.moc"

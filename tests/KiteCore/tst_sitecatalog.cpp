#include "KiteCore/SiteCatalog.h"

#include <QTest>

class TestSiteCatalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Any letter case and every subdomain, never a bare suffix; the first entry listed wins.
    void match()
    {
        struct Row { const char *host, *id; };
        const Row rows[] = {{"WWW.YouTube.COM", "youtube"}, {"a.b.youtube.com", "youtube"}, {"youtu.be", "youtube"}, {"live.bilibili.com", "bilibili-live"},
                            {"www.bilibili.com", "bilibili"}, {"163.com", ""}, {"notyoutube.com", ""}, {"youtube.com.evil.org", ""}, {" \t ", ""},
                            {" youtube.com", ""}, {"youtube.com.", ""}};
        for (const Row &row : rows) {
            const std::optional<SiteEntry> found = SiteCatalog::match(QString::fromLatin1(row.host));
            QVERIFY2(found.value_or(SiteEntry()).id == row.id, row.host);
            QVERIFY2(SiteCatalog::displayName(QString::fromLatin1(row.host)) == (found ? std::optional(found->displayName) : std::nullopt), row.host);
        }
        QVERIFY(!SiteCatalog::match(std::nullopt) && !SiteCatalog::displayName(std::nullopt));
        QVERIFY(SiteCatalog::entry("bilibili-live") && !SiteCatalog::entry("YouTube") && !SiteCatalog::entry("netflix"));
        // Patterns are compared as stored, so they must be lower case, and a host names one site.
        QStringList hosts;
        for (const SiteEntry &entry : SiteCatalog::entries())
            hosts += entry.hosts;
        QVERIFY(hosts.join(' ') == hosts.join(' ').toLower() && QSet<QString>(hosts.begin(), hosts.end()).size() == hosts.size());
    }
};

QTEST_GUILESS_MAIN(TestSiteCatalog)
#include "tst_sitecatalog.moc"

#include "KiteCore/L10n.h"
#include "KiteCore/SiteCapabilities.h"
#include "KiteCore/SiteCatalog.h"

#include <QTest>

using Capability = SiteCapability;
using Reason = SiteUnsupportedReason;

class TestSiteCapabilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Unsupported sites are found before the catalogue; unknown hosts have no status. The menu
    // line is the display name and the suffix, in the interface language.
    void statusAndList()
    {
        struct Row { const char *host, *id, *menuTitle; Capability capability; std::optional<Reason> reason = {}; };
        const Row rows[] = {{"WWW.YOUTUBE.COM", "youtube", "YouTube: Adapted", Capability::adapted},
                            {"live.bilibili.com", "bilibili-live", "Bilibili 直播: Experimental", Capability::experimental},
                            {"play.hbomax.com", "max", "HBO Max: Unsupported (DRM)", Capability::unsupported, Reason::drm},
                            {"xhslink.com", "xiaohongshu", "小红书: Unsupported (anti-bot)", Capability::unsupported, Reason::antiBot}};
        L10n::setLanguage(AppLanguage::en);
        for (const Row &row : rows) {
            const SiteStatus found = SiteCapabilities::status(QString::fromLatin1(row.host)).value_or(SiteStatus());
            QVERIFY2(found.siteID == row.id && found.capability == row.capability && found.unsupportedReason == row.reason, row.host);
            QVERIFY2(SiteCapabilities::menuTitle(found) == row.menuTitle && found.displayName + SiteCapabilities::statusSuffix(found) == row.menuTitle,
                     row.host);
            QVERIFY2(QString(row.menuTitle).contains(": " + SiteCapabilities::label(found.capability)), row.host);
        }
        QVERIFY(!SiteCapabilities::status("apple.com") && !SiteCapabilities::status("notnetflix.com") && !SiteCapabilities::status("   "));
        QVERIFY(!SiteCapabilities::status(std::nullopt) && SiteCapabilities::explanation(Capability::unsupported).startsWith("DRM or anti-bot:"));

        // The catalogue in order, then the unsupported sites: 3 adapted, 16 experimental, 11 unsupported.
        const QList<SiteStatus> &all = SiteCapabilities::listed();
        QVERIFY(all.size() == 30 && all.at(18).siteID == SiteCatalog::entries().last().id && all.at(28) == SiteCapabilities::status("kuaishou.com"));
        QVERIFY(SiteCapabilities::statuses(Capability::unsupported) == all.mid(19) && SiteCapabilities::statuses(Capability::adapted).size() == 3);
        QVERIFY(SiteCapabilities::adaptedIDs() == QSet<QString>({"youtube", "twitch", "bilibili"}) && SiteCapabilities::experimentalIDs().size() == 16);
        QVERIFY(siteCapabilityFromRaw(toRaw(Capability::experimental)) == Capability::experimental && !siteCapabilityFromRaw("Adapted"));
        QVERIFY(siteUnsupportedReasonFromRaw(toRaw(Reason::antiBot)) == Reason::antiBot && !siteUnsupportedReasonFromRaw("AntiBot"));
    }
};

QTEST_GUILESS_MAIN(TestSiteCapabilities)
#include "tst_sitecapabilities.moc"

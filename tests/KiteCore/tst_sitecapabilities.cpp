#include "KiteCore/L10n.h"
#include "KiteCore/SiteCapabilities.h"
#include "KiteCore/SiteCatalog.h"

#include <QTest>

#include <algorithm>

using Capability = SiteCapability;
using Reason = SiteUnsupportedReason;

class TestSiteCapabilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Unsupported sites are found before the catalogue; unknown hosts have no status. The menu
    // line is the display name and the suffix, in the interface language.
    void status()
    {
        struct Row { const char *host, *id, *menuTitle; Capability capability; std::optional<Reason> reason = {}; };
        const Row rows[] = {{"WWW.YOUTUBE.COM", "youtube", "YouTube: Adapted", Capability::adapted},
                            {"live.bilibili.com", "bilibili-live", "Bilibili 直播: Experimental", Capability::experimental},
                            {"play.hbomax.com", "max", "HBO Max: Unsupported (DRM)", Capability::unsupported, Reason::drm},
                            {"TV.Apple.com", "appletv", "Apple TV+: Unsupported (DRM)", Capability::unsupported, Reason::drm},
                            {"v.qq.com", "tencent-video", "腾讯视频: Unsupported (DRM)", Capability::unsupported, Reason::drm},
                            {"xhslink.com", "xiaohongshu", "小红书: Unsupported (anti-bot)", Capability::unsupported, Reason::antiBot}};
        L10n::setLanguage(AppLanguage::en);
        for (const Row &row : rows) {
            const SiteStatus found = SiteCapabilities::status(QString::fromLatin1(row.host)).value_or(SiteStatus());
            QVERIFY2(found.siteID == row.id && found.capability == row.capability && found.unsupportedReason == row.reason, row.host);
            QVERIFY2(SiteCapabilities::menuTitle(found) == row.menuTitle, row.host);
            QVERIFY2(found.displayName + SiteCapabilities::statusSuffix(found) == row.menuTitle, row.host);
            QVERIFY2(QString(row.menuTitle).contains(": " + SiteCapabilities::label(found.capability)), row.host);
        }
        for (const char *unknown : {"apple.com", "notnetflix.com", "   "})
            QVERIFY2(!SiteCapabilities::status(QString::fromLatin1(unknown)), unknown);
        QVERIFY(!SiteCapabilities::status(std::nullopt));
        QVERIFY(SiteCapabilities::explanation(Capability::unsupported).startsWith("DRM or anti-bot: the built-in web engine"));
    }

    // The catalogue in order, then the unsupported sites; a host finds the same status as the list.
    void listed()
    {
        const QList<SiteStatus> &all = SiteCapabilities::listed();
        const qsizetype catalogued = SiteCatalog::entries().size();
        QCOMPARE(all.size(), 30);
        for (qsizetype i = 0; i < all.size(); ++i) {
            QVERIFY(i >= catalogued || all[i].siteID == SiteCatalog::entries()[i].id);
            QVERIFY((all[i].capability == Capability::unsupported) == (i >= catalogued) && all[i].unsupportedReason.has_value() == (i >= catalogued));
        }
        QCOMPARE(SiteCapabilities::status(QStringLiteral("kuaishou.com")), std::optional(all.at(28)));
        for (Capability capability : SiteCapabilityCases::allCases) {
            const auto has = [&](const SiteStatus &status) { return status.capability == capability; };
            const QList<SiteStatus> some = SiteCapabilities::statuses(capability);
            QVERIFY(some.size() == std::count_if(all.begin(), all.end(), has) && std::all_of(some.begin(), some.end(), has));
            QCOMPARE(siteCapabilityFromRaw(toRaw(capability)), capability);
        }
        QCOMPARE(SiteCapabilities::adaptedIDs(), (QSet<QString>{"youtube", "twitch", "bilibili"}));
        QVERIFY(SiteCapabilities::experimentalIDs().size() == 16 && !SiteCapabilities::experimentalIDs().contains("youtube"));
        QVERIFY(siteUnsupportedReasonFromRaw(toRaw(Reason::antiBot)) == Reason::antiBot && !siteUnsupportedReasonFromRaw("AntiBot"));
    }
};

QTEST_GUILESS_MAIN(TestSiteCapabilities)
#include "tst_sitecapabilities.moc"

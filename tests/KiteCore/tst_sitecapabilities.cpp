#include "KiteCore/L10n.h"
#include "KiteCore/SiteCapabilities.h"
#include "KiteCore/SiteCatalog.h"

#include <QTest>

using Capability = SiteCapability;
using Reason = SiteUnsupportedReason;

class TestSiteCapabilities : public QObject
{
    Q_OBJECT

private:
    static QStringList idsOf(const QList<SiteStatus> &statuses)
    {
        QStringList ids;
        for (const SiteStatus &status : statuses)
            ids.append(status.siteID);
        return ids;
    }

    static const QStringList &unsupportedIDs()
    {
        static const QStringList ids{"netflix", "disneyplus", "primevideo", "max", "appletv", "iqiyi",
                                     "tencent-video", "mgtv", "douyin", "kuaishou", "xiaohongshu"};
        return ids;
    }

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void status_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Capability>("capability");
        QTest::addColumn<std::optional<Reason>>("reason");
        const std::optional<Reason> none;

        QTest::newRow("adapted") << "www.youtube.com" << "youtube" << "YouTube" << Capability::adapted << none;
        QTest::newRow("adapted upper case") << "WWW.TWITCH.TV" << "twitch" << "Twitch"
                                            << Capability::adapted << none;
        QTest::newRow("plain bilibili adapted") << "www.bilibili.com" << "bilibili" << "Bilibili"
                                                << Capability::adapted << none;
        QTest::newRow("bilibili live experimental") << "live.bilibili.com" << "bilibili-live"
            << "Bilibili 直播" << Capability::experimental << none;
        QTest::newRow("qq music experimental") << "y.qq.com" << "qqmusic" << "QQ音乐"
                                               << Capability::experimental << none;
        QTest::newRow("qq video drm") << "v.qq.com" << "tencent-video" << "腾讯视频"
                                      << Capability::unsupported << std::optional(Reason::drm);
        QTest::newRow("netflix subdomain") << "www.netflix.com" << "netflix" << "Netflix"
                                           << Capability::unsupported << std::optional(Reason::drm);
        QTest::newRow("former max brand") << "play.hbomax.com" << "max" << "HBO Max"
                                          << Capability::unsupported << std::optional(Reason::drm);
        QTest::newRow("apple tv") << "TV.Apple.com" << "appletv" << "Apple TV+"
                                  << Capability::unsupported << std::optional(Reason::drm);
        QTest::newRow("apple root unknown") << "apple.com" << "" << "" << Capability::experimental << none;
        QTest::newRow("anti-bot") << "www.douyin.com" << "douyin" << "抖音"
                                  << Capability::unsupported << std::optional(Reason::antiBot);
        QTest::newRow("anti-bot short link") << "xhslink.com" << "xiaohongshu" << "小红书"
                                             << Capability::unsupported << std::optional(Reason::antiBot);
        QTest::newRow("suffix without dot") << "notnetflix.com" << "" << "" << Capability::experimental
                                            << none;
        QTest::newRow("look-alike of max") << "hbomax.com.example" << "" << "" << Capability::experimental
                                           << none;
        QTest::newRow("unknown") << "example.org" << "" << "" << Capability::experimental << none;
        QTest::newRow("blank") << "   " << "" << "" << Capability::experimental << none;
        QTest::newRow("empty") << "" << "" << "" << Capability::experimental << none;
    }

    void status()
    {
        QFETCH(QString, host);
        QFETCH(QString, id);
        QFETCH(QString, name);
        QFETCH(Capability, capability);
        QFETCH(std::optional<Reason>, reason);
        const std::optional<SiteStatus> found = SiteCapabilities::status(host);
        QCOMPARE(found.has_value(), !id.isEmpty());
        if (!found)
            return;
        QCOMPARE(found->siteID, id);
        QCOMPARE(found->displayName, name);
        QCOMPARE(found->capability, capability);
        QCOMPARE(found->unsupportedReason, reason);
    }

    void absentHostHasNoStatus() { QVERIFY(!SiteCapabilities::status(std::nullopt)); }

    void listedOrderAndCounts()
    {
        const QList<SiteStatus> &all = SiteCapabilities::listed();
        QCOMPARE(all.size(), 30);
        QStringList expected;
        for (const SiteEntry &entry : SiteCatalog::entries())
            expected.append(entry.id);
        expected += unsupportedIDs();
        QCOMPARE(idsOf(all), expected);
        for (const SiteStatus &status : all)
            QCOMPARE(status.unsupportedReason.has_value(), status.capability == Capability::unsupported);
    }

    void statusesByCapability_data()
    {
        QTest::addColumn<Capability>("capability");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("adapted") << Capability::adapted << QStringList{"youtube", "twitch", "bilibili"};
        QTest::newRow("experimental") << Capability::experimental
            << QStringList{"bilibili-live", "netease", "vimeo", "huya", "weibo", "plex", "youku",
                           "qqmusic", "dailymotion", "soundcloud", "bandcamp", "pornhub", "onlyfans",
                           "xvideos", "xhamster", "redtube"};
        QTest::newRow("unsupported") << Capability::unsupported << unsupportedIDs();
    }

    void statusesByCapability()
    {
        QFETCH(Capability, capability);
        QFETCH(QStringList, ids);
        const QList<SiteStatus> filtered = SiteCapabilities::statuses(capability);
        QCOMPARE(idsOf(filtered), ids);
        for (const SiteStatus &status : filtered)
            QCOMPARE(status.capability, capability);
        const QSet<QString> idSet(ids.cbegin(), ids.cend());
        if (capability == Capability::adapted)
            QCOMPARE(SiteCapabilities::adaptedIDs(), idSet);
        if (capability == Capability::experimental)
            QCOMPARE(SiteCapabilities::experimentalIDs(), idSet);
    }

    void unsupportedReasonsInOrder()
    {
        QList<Reason> reasons;
        for (const SiteStatus &status : SiteCapabilities::statuses(Capability::unsupported))
            reasons.append(status.unsupportedReason.value_or(Reason::drm));
        const QList<Reason> expected{Reason::drm, Reason::drm, Reason::drm, Reason::drm,
                                     Reason::drm, Reason::drm, Reason::drm, Reason::drm,
                                     Reason::antiBot, Reason::antiBot, Reason::antiBot};
        QCOMPARE(reasons, expected);
        // Every status found through a host agrees with its listed twin.
        QCOMPARE(SiteCapabilities::status(QStringLiteral("kuaishou.com")),
                 std::optional(SiteCapabilities::listed().at(28)));
    }

    void rawValues_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<std::optional<Capability>>("capability");
        QTest::addColumn<std::optional<Reason>>("reason");
        QTest::newRow("adapted") << "adapted" << std::optional(Capability::adapted) << std::optional<Reason>();
        QTest::newRow("experimental") << "experimental" << std::optional(Capability::experimental)
                                      << std::optional<Reason>();
        QTest::newRow("unsupported") << "unsupported" << std::optional(Capability::unsupported)
                                     << std::optional<Reason>();
        QTest::newRow("drm") << "drm" << std::optional<Capability>() << std::optional(Reason::drm);
        QTest::newRow("antiBot") << "antiBot" << std::optional<Capability>() << std::optional(Reason::antiBot);
        QTest::newRow("wrong case") << "AntiBot" << std::optional<Capability>() << std::optional<Reason>();
        QTest::newRow("empty") << "" << std::optional<Capability>() << std::optional<Reason>();
    }

    void rawValues()
    {
        QFETCH(QString, raw);
        QFETCH(std::optional<Capability>, capability);
        QFETCH(std::optional<Reason>, reason);
        QCOMPARE(siteCapabilityFromRaw(raw), capability);
        QCOMPARE(siteUnsupportedReasonFromRaw(raw), reason);
        if (capability)
            QCOMPARE(toRaw(*capability), raw);
        if (reason)
            QCOMPARE(toRaw(*reason), raw);
    }

    void texts_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<Capability>("capability");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("explanationStart");

        QTest::newRow("zh adapted") << AppLanguage::zh << Capability::adapted << "已适配" << "有站点脚本";
        QTest::newRow("en adapted") << AppLanguage::en << Capability::adapted << "Adapted" << "Site scripts";
        QTest::newRow("es adapted") << AppLanguage::es << Capability::adapted << "Adaptado" << "Scripts con";
        QTest::newRow("zh experimental") << AppLanguage::zh << Capability::experimental << "实验性" << "已接入";
        QTest::newRow("en experimental") << AppLanguage::en << Capability::experimental << "Experimental"
                                         << "Wired up";
        QTest::newRow("es experimental") << AppLanguage::es << Capability::experimental << "Experimental"
                                         << "Conectado";
        QTest::newRow("zh unsupported") << AppLanguage::zh << Capability::unsupported << "不支持" << "DRM 或强风控";
        QTest::newRow("en unsupported") << AppLanguage::en << Capability::unsupported << "Unsupported"
                                        << "DRM or anti-bot";
        QTest::newRow("es unsupported") << AppLanguage::es << Capability::unsupported << "No compatible"
                                        << "DRM o antibot";
    }

    void texts()
    {
        QFETCH(AppLanguage, language);
        QFETCH(Capability, capability);
        QFETCH(QString, label);
        QFETCH(QString, explanationStart);
        L10n::setLanguage(language);
        QCOMPARE(SiteCapabilities::label(capability), label);
        const QString explanation = SiteCapabilities::explanation(capability);
        QVERIFY2(explanation.startsWith(explanationStart), qPrintable(explanation));
    }

    void menuSuffix_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("title");

        QTest::newRow("zh adapted") << AppLanguage::zh << "youtube.com" << "YouTube：已适配";
        QTest::newRow("en adapted") << AppLanguage::en << "youtube.com" << "YouTube: Adapted";
        QTest::newRow("es adapted") << AppLanguage::es << "youtube.com" << "YouTube: Adaptado";
        QTest::newRow("zh experimental") << AppLanguage::zh << "vimeo.com" << "Vimeo：实验性";
        QTest::newRow("en experimental") << AppLanguage::en << "vimeo.com" << "Vimeo: Experimental";
        QTest::newRow("es experimental") << AppLanguage::es << "vimeo.com" << "Vimeo: Experimental";
        QTest::newRow("zh drm") << AppLanguage::zh << "netflix.com" << "Netflix：不支持（DRM）";
        QTest::newRow("en drm") << AppLanguage::en << "netflix.com" << "Netflix: Unsupported (DRM)";
        QTest::newRow("es drm") << AppLanguage::es << "netflix.com" << "Netflix: No compatible (DRM)";
        QTest::newRow("zh anti-bot") << AppLanguage::zh << "douyin.com" << "抖音：不支持（风控）";
        QTest::newRow("en anti-bot") << AppLanguage::en << "douyin.com" << "抖音: Unsupported (anti-bot)";
        QTest::newRow("es anti-bot") << AppLanguage::es << "douyin.com" << "抖音: No compatible (antibot)";
    }

    void menuSuffix()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QString, host);
        QFETCH(QString, title);
        L10n::setLanguage(language);
        const std::optional<SiteStatus> status = SiteCapabilities::status(host);
        QVERIFY(status.has_value());
        QCOMPARE(SiteCapabilities::menuTitle(*status), title);
        QCOMPARE(status->displayName + SiteCapabilities::statusSuffix(*status), title);
    }
};

QTEST_GUILESS_MAIN(TestSiteCapabilities)
#include "tst_sitecapabilities.moc"

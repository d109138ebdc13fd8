#include "KiteCore/SiteCapabilities.h"

#include "KiteCore/L10n.h"
#include "KiteCore/SiteCatalog.h"

namespace {

struct UnsupportedSite
{
    QString id;
    QString name;
    QStringList hosts;
    SiteUnsupportedReason reason;
};

const QList<UnsupportedSite> &unsupportedSites()
{
    using R = SiteUnsupportedReason;
    static const QList<UnsupportedSite> table{
        {QStringLiteral("netflix"), QStringLiteral("Netflix"), {QStringLiteral("netflix.com")}, R::drm},
        {QStringLiteral("disneyplus"), QStringLiteral("Disney+"), {QStringLiteral("disneyplus.com")},
         R::drm},
        {QStringLiteral("primevideo"), QStringLiteral("Prime Video"),
         {QStringLiteral("primevideo.com")}, R::drm},
        {QStringLiteral("max"), QStringLiteral("HBO Max"),
         {QStringLiteral("max.com"), QStringLiteral("hbomax.com")}, R::drm},
        {QStringLiteral("appletv"), QStringLiteral("Apple TV+"), {QStringLiteral("tv.apple.com")},
         R::drm},
        {QStringLiteral("iqiyi"), QStringLiteral("爱奇艺"), {QStringLiteral("iqiyi.com")}, R::drm},
        {QStringLiteral("tencent-video"), QStringLiteral("腾讯视频"), {QStringLiteral("v.qq.com")},
         R::drm},
        {QStringLiteral("mgtv"), QStringLiteral("芒果 TV"), {QStringLiteral("mgtv.com")}, R::drm},
        {QStringLiteral("douyin"), QStringLiteral("抖音"), {QStringLiteral("douyin.com")}, R::antiBot},
        {QStringLiteral("kuaishou"), QStringLiteral("快手"), {QStringLiteral("kuaishou.com")},
         R::antiBot},
        {QStringLiteral("xiaohongshu"), QStringLiteral("小红书"),
         {QStringLiteral("xiaohongshu.com"), QStringLiteral("xhslink.com")}, R::antiBot},
    };
    return table;
}

SiteStatus catalogStatus(const SiteEntry &entry)
{
    const bool adapted = SiteCapabilities::adaptedIDs().contains(entry.id);
    return {entry.id, entry.displayName,
            adapted ? SiteCapability::adapted : SiteCapability::experimental, std::nullopt};
}

SiteStatus unsupportedStatus(const UnsupportedSite &site)
{
    return {site.id, site.name, SiteCapability::unsupported, site.reason};
}

QList<SiteStatus> buildListed()
{
    QList<SiteStatus> result;
    for (const SiteEntry &entry : SiteCatalog::entries())
        result.append(catalogStatus(entry));
    for (const UnsupportedSite &site : unsupportedSites())
        result.append(unsupportedStatus(site));
    return result;
}

} // namespace

namespace SiteCapabilities {

const QSet<QString> &adaptedIDs()
{
    static const QSet<QString> ids{QStringLiteral("youtube"), QStringLiteral("twitch"),
                                   QStringLiteral("bilibili")};
    return ids;
}

const QSet<QString> &experimentalIDs()
{
    static const QSet<QString> ids = [] {
        QSet<QString> result;
        for (const SiteEntry &entry : SiteCatalog::entries()) {
            if (!adaptedIDs().contains(entry.id))
                result.insert(entry.id);
        }
        return result;
    }();
    return ids;
}

std::optional<SiteStatus> status(const std::optional<QString> &host)
{
    if (!host)
        return std::nullopt;
    const QString lowered = host->toLower();
    if (lowered.trimmed().isEmpty())
        return std::nullopt;
    for (const UnsupportedSite &site : unsupportedSites()) {
        for (const QString &pattern : site.hosts) {
            if (SiteCatalog::hostMatches(lowered, pattern))
                return unsupportedStatus(site);
        }
    }
    if (const std::optional<SiteEntry> entry = SiteCatalog::match(lowered))
        return catalogStatus(*entry);
    return std::nullopt;
}

const QList<SiteStatus> &listed()
{
    static const QList<SiteStatus> all = buildListed();
    return all;
}

QList<SiteStatus> statuses(SiteCapability capability)
{
    QList<SiteStatus> result;
    for (const SiteStatus &candidate : listed()) {
        if (candidate.capability == capability)
            result.append(candidate);
    }
    return result;
}

QString label(SiteCapability capability)
{
    switch (capability) {
    case SiteCapability::adapted: return L("已适配", "Adapted", "Adaptado");
    case SiteCapability::experimental: return L("实验性", "Experimental", "Experimental");
    case SiteCapability::unsupported: return L("不支持", "Unsupported", "No compatible");
    }
    return L("实验性", "Experimental", "Experimental");
}

QString explanation(SiteCapability capability)
{
    switch (capability) {
    case SiteCapability::adapted:
        return L("有站点脚本、结构实测过，按预期工作。", "Site scripts with verified structure.",
                 "Scripts con estructura verificada.");
    case SiteCapability::experimental:
        return L("已接入但未逐站真机验证，或能力受限（跨域播放器 / 需登录 / 音频站），站点改版可能失效。",
                 "Wired up but not verified per-site on device, or limited (cross-origin player, "
                 "login, audio). May break on site redesigns.",
                 "Conectado pero sin verificar por sitio, o limitado (reproductor cruzado, inicio "
                 "de sesión, audio). Puede fallar.");
    case SiteCapability::unsupported:
        return L("DRM 或强风控：内置网页引擎无法正常播放，请用「在浏览器中打开」。",
                 "DRM or anti-bot: the built-in web engine can't play these. Use Open in browser.",
                 "DRM o antibot: el motor web integrado no puede reproducirlos. Usa Abrir en "
                 "navegador.");
    }
    return {};
}

QString statusSuffix(const SiteStatus &status)
{
    switch (status.capability) {
    case SiteCapability::adapted: return L("：已适配", ": Adapted", ": Adaptado");
    case SiteCapability::experimental: return L("：实验性", ": Experimental", ": Experimental");
    case SiteCapability::unsupported:
        if (status.unsupportedReason == SiteUnsupportedReason::drm)
            return L("：不支持（DRM）", ": Unsupported (DRM)", ": No compatible (DRM)");
        return L("：不支持（风控）", ": Unsupported (anti-bot)", ": No compatible (antibot)");
    }
    return {};
}

QString menuTitle(const SiteStatus &status)
{
    return status.displayName + statusSuffix(status);
}

} // namespace SiteCapabilities

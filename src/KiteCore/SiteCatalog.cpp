#include "KiteCore/SiteCatalog.h"

namespace {

QList<SiteEntry> buildEntries()
{
    // The order decides which entry wins when hosts overlap: the live subdomain stands
    // before the main Bilibili domain.
    return {
        {QStringLiteral("youtube"), QStringLiteral("YouTube"),
         {QStringLiteral("youtube.com"), QStringLiteral("youtu.be"),
          QStringLiteral("youtube-nocookie.com")}},
        {QStringLiteral("twitch"), QStringLiteral("Twitch"), {QStringLiteral("twitch.tv")}},
        {QStringLiteral("bilibili-live"), QStringLiteral("Bilibili 直播"),
         {QStringLiteral("live.bilibili.com")}},
        {QStringLiteral("bilibili"), QStringLiteral("Bilibili"),
         {QStringLiteral("bilibili.com"), QStringLiteral("b23.tv")}},
        {QStringLiteral("netease"), QStringLiteral("网易云音乐"), {QStringLiteral("music.163.com")}},
        {QStringLiteral("vimeo"), QStringLiteral("Vimeo"), {QStringLiteral("vimeo.com")}},
        {QStringLiteral("huya"), QStringLiteral("虎牙直播"), {QStringLiteral("huya.com")}},
        {QStringLiteral("weibo"), QStringLiteral("微博"),
         {QStringLiteral("weibo.com"), QStringLiteral("weibo.cn")}},
        {QStringLiteral("plex"), QStringLiteral("Plex"), {QStringLiteral("plex.tv")}},
        {QStringLiteral("youku"), QStringLiteral("优酷"), {QStringLiteral("youku.com")}},
        {QStringLiteral("qqmusic"), QStringLiteral("QQ音乐"), {QStringLiteral("y.qq.com")}},
        {QStringLiteral("dailymotion"), QStringLiteral("Dailymotion"),
         {QStringLiteral("dailymotion.com"), QStringLiteral("dai.ly")}},
        {QStringLiteral("soundcloud"), QStringLiteral("SoundCloud"),
         {QStringLiteral("soundcloud.com")}},
        {QStringLiteral("bandcamp"), QStringLiteral("Bandcamp"), {QStringLiteral("bandcamp.com")}},
        {QStringLiteral("pornhub"), QStringLiteral("Pornhub"), {QStringLiteral("pornhub.com")}},
        {QStringLiteral("onlyfans"), QStringLiteral("OnlyFans"), {QStringLiteral("onlyfans.com")}},
        {QStringLiteral("xvideos"), QStringLiteral("XVideos"), {QStringLiteral("xvideos.com")}},
        {QStringLiteral("xhamster"), QStringLiteral("xHamster"), {QStringLiteral("xhamster.com")}},
        {QStringLiteral("redtube"), QStringLiteral("RedTube"), {QStringLiteral("redtube.com")}},
    };
}

} // namespace

namespace SiteCatalog {

const QList<SiteEntry> &entries()
{
    static const QList<SiteEntry> table = buildEntries();
    return table;
}

bool hostMatches(const QString &host, const QString &pattern)
{
    if (host == pattern)
        return true;
    return host.size() > pattern.size() && host.endsWith(pattern)
           && host.at(host.size() - pattern.size() - 1) == QLatin1Char('.');
}

std::optional<SiteEntry> match(const std::optional<QString> &host)
{
    if (!host)
        return std::nullopt;
    const QString lowered = host->toLower();
    if (lowered.trimmed().isEmpty())
        return std::nullopt;
    for (const SiteEntry &candidate : entries()) {
        for (const QString &pattern : candidate.hosts) {
            if (hostMatches(lowered, pattern))
                return candidate;
        }
    }
    return std::nullopt;
}

std::optional<SiteEntry> entry(const QString &id)
{
    for (const SiteEntry &candidate : entries()) {
        if (candidate.id == id)
            return candidate;
    }
    return std::nullopt;
}

std::optional<QString> displayName(const std::optional<QString> &host)
{
    if (const std::optional<SiteEntry> found = match(host))
        return found->displayName;
    return std::nullopt;
}

} // namespace SiteCatalog

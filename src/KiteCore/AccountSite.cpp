#include "KiteCore/AccountSite.h"

#include "KiteCore/RawValue.h"

QString toRaw(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube: return QStringLiteral("youtube");
    case AccountSite::bilibili: return QStringLiteral("bilibili");
    case AccountSite::twitch: return QStringLiteral("twitch");
    }
    return QStringLiteral("youtube");
}

std::optional<AccountSite> accountSiteFromRaw(const QString &raw)
{
    return caseFromRaw(AccountSites::allCases, raw);
}

QString id(AccountSite site)
{
    return toRaw(site);
}

QString displayName(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube: return QStringLiteral("YouTube");
    case AccountSite::bilibili: return QStringLiteral("哔哩哔哩");
    case AccountSite::twitch: return QStringLiteral("Twitch");
    }
    return toRaw(site);
}

QUrl loginURL(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube: return QUrl(QStringLiteral("https://www.youtube.com/"));
    case AccountSite::bilibili: return QUrl(QStringLiteral("https://passport.bilibili.com/login"));
    case AccountSite::twitch: return QUrl(QStringLiteral("https://www.twitch.tv/login"));
    }
    return {};
}

QUrl homeURL(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube: return QUrl(QStringLiteral("https://www.youtube.com/"));
    case AccountSite::bilibili: return QUrl(QStringLiteral("https://passport.bilibili.com/login"));
    case AccountSite::twitch: return QUrl(QStringLiteral("https://www.twitch.tv/"));
    }
    return {};
}

QStringList loginCookieNames(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube:
        return {QStringLiteral("SID"),           QStringLiteral("HSID"),
                QStringLiteral("SSID"),          QStringLiteral("APISID"),
                QStringLiteral("SAPISID"),       QStringLiteral("__Secure-1PSID"),
                QStringLiteral("__Secure-3PSID"), QStringLiteral("LOGIN_INFO")};
    case AccountSite::bilibili: return {QStringLiteral("SESSDATA")};
    case AccountSite::twitch: return {QStringLiteral("auth-token")};
    }
    return {};
}

QStringList cookieDomainSuffixes(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube: return {QStringLiteral("youtube.com")};
    case AccountSite::bilibili: return {QStringLiteral("bilibili.com")};
    case AccountSite::twitch: return {QStringLiteral("twitch.tv")};
    }
    return {};
}

QStringList dataDomains(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube: return {QStringLiteral("youtube.com"), QStringLiteral("google.com")};
    case AccountSite::bilibili: return {QStringLiteral("bilibili.com")};
    case AccountSite::twitch: return {QStringLiteral("twitch.tv")};
    }
    return {};
}

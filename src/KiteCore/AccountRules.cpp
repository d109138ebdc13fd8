#include "KiteCore/AccountRules.h"

#include <QSet>

namespace AccountRules {

namespace {

QSet<QString> lowerCased(const QStringList &names)
{
    QSet<QString> result;
    for (const QString &name : names)
        result.insert(name.toLower());
    return result;
}

bool hasSessionCookie(const QList<AccountCookie> &cookies, const QSet<QString> &names,
                      const QStringList &suffixes)
{
    for (const AccountCookie &cookie : cookies) {
        if (cookie.value.isEmpty() || !names.contains(cookie.name.toLower()))
            continue;
        for (const QString &suffix : suffixes) {
            if (cookieDomainMatches(cookie.domain, suffix))
                return true;
        }
    }
    return false;
}

const QStringList &blockedPhrases()
{
    static const QStringList phrases{
        QStringLiteral("此浏览器或应用可能无法"),
        QStringLiteral("this browser or app may not be secure"),
        QStringLiteral("couldn't sign you in"),
        QStringLiteral("disallowed_useragent"),
        QStringLiteral("浏览器版本过低"),
        QStringLiteral("浏览器版本过低哦"),
        QStringLiteral("unsupported browser"),
        QStringLiteral("please update your browser"),
        // Google's insecure-browser page as Chinese and Spanish readers get it.
        QStringLiteral("此浏览器或应用可能不安全"),
        QStringLiteral("este navegador o esta aplicación no sean seguros"),
    };
    return phrases;
}

} // namespace

bool cookieDomainMatches(const QString &cookieDomain, const QString &suffix)
{
    const QString domain = cookieDomain.toLower();
    const QString wanted = suffix.toLower();
    if (wanted.isEmpty() || !domain.endsWith(wanted))
        return false;
    // A bare suffix test would also let "notyoutube.com" pass for "youtube.com".
    const qsizetype boundary = domain.size() - wanted.size();
    return boundary == 0 || domain.at(boundary - 1) == QLatin1Char('.');
}

bool isLoggedIn(AccountSite site, const QList<AccountCookie> &cookies)
{
    return hasSessionCookie(cookies, lowerCased(loginCookieNames(site)),
                            cookieDomainSuffixes(site));
}

bool hasGoogleLogin(const QList<AccountCookie> &cookies)
{
    static const QSet<QString> googleNames{QStringLiteral("sid"), QStringLiteral("__secure-1psid"),
                                           QStringLiteral("__secure-3psid")};
    return hasSessionCookie(cookies, googleNames, {QStringLiteral("google.com")});
}

bool isLoginBlocked(const QString &title, const QString &bodyText)
{
    const QString text = (title + QLatin1Char('\n') + bodyText).toLower();
    for (const QString &phrase : blockedPhrases()) {
        if (text.contains(phrase))
            return true;
    }
    return false;
}

} // namespace AccountRules

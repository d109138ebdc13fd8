#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <array>
#include <optional>

// The video sites the user can sign in to inside the embedded browser.
enum class AccountSite { youtube, bilibili, twitch };

namespace AccountSites {
inline constexpr std::array<AccountSite, 3> allCases{AccountSite::youtube, AccountSite::bilibili,
                                                     AccountSite::twitch};
}

QString toRaw(AccountSite site);
std::optional<AccountSite> accountSiteFromRaw(const QString &raw);

// The identity, equal to the raw value.
QString id(AccountSite site);
QString displayName(AccountSite site);
QUrl loginURL(AccountSite site);
QUrl homeURL(AccountSite site);
// Cookies whose presence means a signed-in session.
QStringList loginCookieNames(AccountSite site);
// Cookie domains that belong to the site; sign-out deletes cookies under them.
QStringList cookieDomainSuffixes(AccountSite site);
// Domains whose stored website data sign-out removes.
QStringList dataDomains(AccountSite site);

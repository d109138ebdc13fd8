#pragma once

#include "KiteCore/AccountCookie.h"
#include "KiteCore/AccountSite.h"

#include <QList>
#include <QString>

// Decisions about site sessions made from the shared web session's cookies and page text.
namespace AccountRules {

bool isLoggedIn(AccountSite site, const QList<AccountCookie> &cookies);
bool hasGoogleLogin(const QList<AccountCookie> &cookies);
bool isLoginBlocked(const QString &title, const QString &bodyText);

// True when a cookie domain is the given domain or one of its subdomains, with or without
// a leading dot. Sign-out uses the same test to pick the cookies it deletes.
bool cookieDomainMatches(const QString &cookieDomain, const QString &suffix);

} // namespace AccountRules

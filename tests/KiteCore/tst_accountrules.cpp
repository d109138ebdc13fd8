#include "KiteCore/AccountRules.h"

#include <QTest>

class TestAccountRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A cookie with a value, under one of the site's names in any case, on its domain or a
    // subdomain; sign-out clears the site's own cookie domain among its data.
    void isLoggedIn()
    {
        struct Row { const char *name, *domain, *value; bool youtube = false, bilibili = false, twitch = false, google = false; };
        const Row rows[] = {{"sapisid", ".m.youtube.com", "v", true}, {"SAPISID", ".youtube.com", ""}, {"PREF", ".youtube.com", "v"},
                            {"SESSDATA", ".BILIBILI.COM", "v", false, true}, {"SESSDATA", "notbilibili.com", "v"}, {"SESSDATA", "bilibili.com.x.net", "v"},
                            {"auth-token", "www.twitch.tv", "v", false, false, true}, {"SID", ".google.com", "v", false, false, false, true},
                            {"__SECURE-1PSID", "a.google.com", "v", false, false, false, true}, {"HSID", ".google.com", "v"}};
        for (const Row &row : rows) {
            // An empty cookie of the same name first: a later one with a value still counts.
            const QList<AccountCookie> cookies{{row.name, row.domain, ""}, {row.name, row.domain, row.value}};
            QVERIFY2(AccountRules::isLoggedIn(AccountSite::youtube, cookies) == row.youtube
                         && AccountRules::isLoggedIn(AccountSite::bilibili, cookies) == row.bilibili, row.domain);
            QVERIFY2(AccountRules::isLoggedIn(AccountSite::twitch, cookies) == row.twitch && AccountRules::hasGoogleLogin(cookies) == row.google, row.domain);
        }
        for (AccountSite site : AccountSites::allCases)
            QVERIFY(accountSiteFromRaw(toRaw(site)) == site && id(site) == toRaw(site) && dataDomains(site).contains(cookieDomainSuffixes(site).value(0)));
        QVERIFY(!accountSiteFromRaw("YouTube") && !AccountRules::cookieDomainMatches("tv", "twitch.tv") && !AccountRules::cookieDomainMatches("twitch.tv", ""));
    }

    // Known refusal phrases in the title or the body, in any letter case.
    void isLoginBlocked()
    {
        struct Row { QString title, body; bool expected; };
        const Row rows[] = {{"Sign in - Google Accounts", "Email or phone", false}, {"COULDN'T SIGN YOU IN", "", true},
                            {"Couldn\u2019t sign you in", "", false}, {"Bilibili", "Unsupported Browser, sorry", true},
                            {"登录", "您的浏览器版本过低哦", true}, {"this browser or app", "may not be secure", false},
                            {"无法登录", "此浏览器或应用可能不安全。", true},
                            {"No se ha podido iniciar sesión", "Es posible que este navegador o esta aplicación no sean seguros.", true}};
        for (const Row &row : rows)
            QVERIFY2(AccountRules::isLoginBlocked(row.title, row.body) == row.expected, qPrintable(row.title + row.body));
    }
};

QTEST_GUILESS_MAIN(TestAccountRules)
#include "tst_accountrules.moc"

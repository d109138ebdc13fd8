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
        struct Row { const char *name, *domain, *value; bool youtube, bilibili, twitch, google; };
        const Row rows[] = {
            {"sapisid", ".m.youtube.com", "v", true, false, false, false}, {"SAPISID", ".youtube.com", "", false, false, false, false},
            {"LOGIN_INFO", "youtube.com", "v", true, false, false, false}, {"PREF", ".youtube.com", "v", false, false, false, false},
            {"SESSDATA", ".BILIBILI.COM", "v", false, true, false, false}, {"SESSDATA", "notbilibili.com", "v", false, false, false, false},
            {"SESSDATA", "bilibili.com.x.net", "v", false, false, false, false}, {"auth-token", "www.twitch.tv", "v", false, false, true, false},
            {"auth-token", ".youtube.com", "v", false, false, false, false}, {"SID", ".google.com", "v", false, false, false, true},
            {"__SECURE-1PSID", "a.google.com", "v", false, false, false, true}, {"__Secure-3PSID", "google.com", "v", false, false, false, true},
            {"SID", ".google.com", "", false, false, false, false},        {"HSID", ".google.com", "v", false, false, false, false},
            {"SID", "evilgoogle.com", "v", false, false, false, false}};
        for (const Row &row : rows) {
            // An empty cookie of the same name first: a later one with a value still counts.
            const QList<AccountCookie> cookies{{row.name, row.domain, ""}, {row.name, row.domain, row.value}};
            QVERIFY2(AccountRules::isLoggedIn(AccountSite::youtube, cookies) == row.youtube, row.domain);
            QVERIFY2(AccountRules::isLoggedIn(AccountSite::bilibili, cookies) == row.bilibili, row.domain);
            QVERIFY2(AccountRules::isLoggedIn(AccountSite::twitch, cookies) == row.twitch, row.domain);
            QVERIFY2(AccountRules::hasGoogleLogin(cookies) == row.google, row.domain);
        }
        QVERIFY(!AccountRules::cookieDomainMatches("tv", "twitch.tv") && !AccountRules::cookieDomainMatches("twitch.tv", ""));
        for (AccountSite site : AccountSites::allCases) {
            QVERIFY(accountSiteFromRaw(toRaw(site)) == site && id(site) == toRaw(site));
            QVERIFY(dataDomains(site).contains(cookieDomainSuffixes(site).value(0)));
        }
        QCOMPARE(accountSiteFromRaw("YouTube"), std::nullopt);
    }

    // Known refusal phrases in the title or the body, in any letter case.
    void isLoginBlocked()
    {
        struct Row { QString title, body; bool expected; };
        const Row rows[] = {{"Sign in - Google Accounts", "Email or phone", false}, {"Couldn't Sign You In", "Welcome", true},
                            {"Couldn\u2019t sign you in", "", false}, {"Bilibili", "UNSUPPORTED BROWSER, sorry", true},
                            {"", "This browser or app may not be secure.", true}, {"", "Error 403: disallowed_useragent", true},
                            {"", "Please update your browser", true}, {"", "此浏览器或应用可能无法保证安全", true},
                            {"登录", "您的浏览器版本过低哦", true}, {"this browser or app", "may not be secure", false}};
        for (const Row &row : rows)
            QVERIFY2(AccountRules::isLoginBlocked(row.title, row.body) == row.expected, qPrintable(row.title + row.body));
    }
};

QTEST_GUILESS_MAIN(TestAccountRules)
#include "tst_accountrules.moc"

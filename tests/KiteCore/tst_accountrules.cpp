#include "KiteCore/AccountRules.h"

#include <QTest>

namespace {

AccountCookie cookie(const char *name, const char *domain, const char *value = "v")
{
    return {QString::fromUtf8(name), QString::fromUtf8(domain), QString::fromUtf8(value)};
}

} // namespace

class TestAccountRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void siteConstants_data()
    {
        QTest::addColumn<AccountSite>("site");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("home");
        QTest::addColumn<int>("cookieNameCount");
        QTest::addColumn<QStringList>("dataDomains");
        QTest::newRow("youtube") << AccountSite::youtube << "youtube" << "YouTube"
                                 << "https://www.youtube.com/" << "https://www.youtube.com/" << 8
                                 << QStringList{"youtube.com", "google.com"};
        QTest::newRow("bilibili") << AccountSite::bilibili << "bilibili" << "哔哩哔哩"
                                  << "https://passport.bilibili.com/login"
                                  << "https://passport.bilibili.com/login" << 1
                                  << QStringList{"bilibili.com"};
        QTest::newRow("twitch") << AccountSite::twitch << "twitch" << "Twitch"
                                << "https://www.twitch.tv/login" << "https://www.twitch.tv/" << 1
                                << QStringList{"twitch.tv"};
    }

    void siteConstants()
    {
        QFETCH(AccountSite, site);
        QFETCH(QString, raw);
        QFETCH(QString, displayName);
        QFETCH(QString, login);
        QFETCH(QString, home);
        QFETCH(int, cookieNameCount);
        QFETCH(QStringList, dataDomains);
        QCOMPARE(toRaw(site), raw);
        QCOMPARE(id(site), raw);
        QCOMPARE(accountSiteFromRaw(raw), site);
        QCOMPARE(::displayName(site), displayName);
        QCOMPARE(loginURL(site).toString(QUrl::FullyEncoded), login);
        QCOMPARE(homeURL(site).toString(QUrl::FullyEncoded), home);
        QCOMPARE(loginCookieNames(site).size(), cookieNameCount);
        QCOMPARE(::dataDomains(site), dataDomains);
        // The site's own cookie domain is one of the domains sign-out clears.
        QCOMPARE(cookieDomainSuffixes(site).size(), 1);
        QVERIFY(dataDomains.contains(cookieDomainSuffixes(site).constFirst()));
    }

    void siteOrderAndUnknownRaw()
    {
        QCOMPARE(AccountSites::allCases.size(), std::size_t(3));
        QCOMPARE(AccountSites::allCases[0], AccountSite::youtube);
        QCOMPARE(AccountSites::allCases[1], AccountSite::bilibili);
        QCOMPARE(AccountSites::allCases[2], AccountSite::twitch);
        QCOMPARE(accountSiteFromRaw(QStringLiteral("YouTube")), std::nullopt);
        QCOMPARE(accountSiteFromRaw(QString()), std::nullopt);
    }

    void isLoggedIn_data()
    {
        QTest::addColumn<QList<AccountCookie>>("cookies");
        QTest::addColumn<bool>("youtube");
        QTest::addColumn<bool>("bilibili");
        QTest::addColumn<bool>("twitch");
        QTest::newRow("no cookies") << QList<AccountCookie>{} << false << false << false;
        QTest::newRow("lower-case SAPISID on subdomain")
            << QList{cookie("sapisid", ".m.youtube.com")} << true << false << false;
        QTest::newRow("empty value") << QList{cookie("SAPISID", ".youtube.com", "")} << false << false << false;
        QTest::newRow("every YouTube name counts")
            << QList{cookie("__Secure-3PSID", "www.youtube.com")} << true << false << false;
        QTest::newRow("LOGIN_INFO") << QList{cookie("LOGIN_INFO", "youtube.com")} << true << false << false;
        QTest::newRow("unrelated YouTube cookie") << QList{cookie("PREF", ".youtube.com")} << false << false << false;
        QTest::newRow("SESSDATA on its own site") << QList{cookie("SESSDATA", ".bilibili.com")} << false << true << false;
        QTest::newRow("SESSDATA on another site") << QList{cookie("SESSDATA", ".example.com")} << false << false << false;
        QTest::newRow("SESSDATA on a look-alike domain") << QList{cookie("SESSDATA", "notbilibili.com")} << false << false << false;
        QTest::newRow("site name inside another domain")
            << QList{cookie("SESSDATA", "bilibili.com.example.net")} << false << false << false;
        QTest::newRow("domain in capitals") << QList{cookie("SESSDATA", ".BILIBILI.COM")} << false << true << false;
        QTest::newRow("Twitch only") << QList{cookie("auth-token", ".twitch.tv")} << false << false << true;
        QTest::newRow("Twitch name on YouTube") << QList{cookie("auth-token", ".youtube.com")} << false << false << false;
        QTest::newRow("first cookie empty, later one valid")
            << QList{cookie("SID", ".youtube.com", ""), cookie("HSID", ".youtube.com")} << true << false << false;
        QTest::newRow("all three")
            << QList{cookie("SID", ".youtube.com"), cookie("SESSDATA", "bilibili.com"), cookie("auth-token", "www.twitch.tv")}
            << true << true << true;
        QTest::newRow("empty domain") << QList{cookie("SID", "")} << false << false << false;
    }

    void isLoggedIn()
    {
        QFETCH(QList<AccountCookie>, cookies);
        QFETCH(bool, youtube);
        QFETCH(bool, bilibili);
        QFETCH(bool, twitch);
        QCOMPARE(AccountRules::isLoggedIn(AccountSite::youtube, cookies), youtube);
        QCOMPARE(AccountRules::isLoggedIn(AccountSite::bilibili, cookies), bilibili);
        QCOMPARE(AccountRules::isLoggedIn(AccountSite::twitch, cookies), twitch);
    }

    void hasGoogleLogin_data()
    {
        QTest::addColumn<QList<AccountCookie>>("cookies");
        QTest::addColumn<bool>("expected");
        QTest::newRow("no cookies") << QList<AccountCookie>{} << false;
        QTest::newRow("SID on google.com") << QList{cookie("SID", ".google.com")} << true;
        QTest::newRow("secure name, any case") << QList{cookie("__SECURE-1PSID", "accounts.google.com")} << true;
        QTest::newRow("3PSID") << QList{cookie("__Secure-3PSID", "google.com")} << true;
        QTest::newRow("empty value") << QList{cookie("SID", ".google.com", "")} << false;
        QTest::newRow("SID on YouTube only") << QList{cookie("SID", ".youtube.com")} << false;
        QTest::newRow("not a Google session name") << QList{cookie("HSID", ".google.com")} << false;
        QTest::newRow("look-alike domain") << QList{cookie("SID", "evilgoogle.com")} << false;
    }

    void hasGoogleLogin()
    {
        QFETCH(QList<AccountCookie>, cookies);
        QFETCH(bool, expected);
        QCOMPARE(AccountRules::hasGoogleLogin(cookies), expected);
    }

    void cookieDomainMatches_data()
    {
        QTest::addColumn<QString>("domain");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("expected");
        QTest::newRow("same") << "twitch.tv" << "twitch.tv" << true;
        QTest::newRow("leading dot") << ".twitch.tv" << "twitch.tv" << true;
        QTest::newRow("subdomain") << "a.b.twitch.tv" << "twitch.tv" << true;
        QTest::newRow("case") << "WWW.Twitch.TV" << "twitch.tv" << true;
        QTest::newRow("look-alike") << "nottwitch.tv" << "twitch.tv" << false;
        QTest::newRow("shorter") << "tv" << "twitch.tv" << false;
        QTest::newRow("empty suffix") << "twitch.tv" << "" << false;
    }

    void cookieDomainMatches()
    {
        QFETCH(QString, domain);
        QFETCH(QString, suffix);
        QFETCH(bool, expected);
        QCOMPARE(AccountRules::cookieDomainMatches(domain, suffix), expected);
    }

    void isLoginBlocked_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("expected");
        QTest::newRow("ordinary sign-in page") << "Sign in - Google Accounts" << "Email or phone\nForgot email?" << false;
        QTest::newRow("empty page") << "" << "" << false;
        QTest::newRow("title in capitals") << "COULDN'T SIGN YOU IN" << "" << true;
        QTest::newRow("title mixed case, any body") << "Couldn't Sign You In" << "Welcome back" << true;
        QTest::newRow("curly apostrophe is different") << "Couldn\u2019t sign you in" << "" << false;
        QTest::newRow("body in capitals") << "Bilibili" << "UNSUPPORTED BROWSER, sorry" << true;
        QTest::newRow("insecure browser") << "" << "This browser or app may not be secure. Learn more" << true;
        QTest::newRow("user agent refused") << "" << "Error 403: disallowed_useragent" << true;
        QTest::newRow("update your browser") << "" << "Please update your browser" << true;
        QTest::newRow("Chinese insecure browser") << "" << "此浏览器或应用可能无法保证安全" << true;
        QTest::newRow("Chinese outdated browser") << "登录" << "您的浏览器版本过低哦" << true;
        QTest::newRow("phrase across title/body boundary is not joined")
            << "this browser or app" << "may not be secure" << false;
    }

    void isLoginBlocked()
    {
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(bool, expected);
        QCOMPARE(AccountRules::isLoginBlocked(title, body), expected);
    }
};

QTEST_GUILESS_MAIN(TestAccountRules)
#include "tst_accountrules.moc"

#include "FakeWorkspace.h"
#include "accounts/AccountService.h"
#include "platform/CookieFile.h"
#include "webengine/ProfileDataStore.h"
#include "platform/WebPage.h"

#include <QNetworkCookie>
#include <QTemporaryDir>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

constexpr int waitMs = 20000;

// A persistent profile on folder, as the application makes its own.
static std::shared_ptr<QWebEngineProfile> profileOn(const QString &folder)
{
    static int count = 0;
    auto profile = std::make_shared<QWebEngineProfile>(QStringLiteral("accounts%1").arg(++count));
    profile->setPersistentStoragePath(folder);
    profile->setCachePath(folder + "/cache");
    profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    return profile;
}

// Sets cookies the way a site does; the engine's store acts only once a page has loaded.
static bool setCookies(QWebEngineProfile &profile, const QList<std::pair<QByteArray, QString>> &cookies)
{
    QWebEnginePage page(&profile);
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    page.load(QUrl("about:blank"));
    if (!loaded.wait(waitMs))
        return false;
    QSignalSpy added(profile.cookieStore(), &QWebEngineCookieStore::cookieAdded);
    for (const auto &[name, domain] : cookies) {
        QNetworkCookie cookie(name, "value");
        cookie.setDomain(domain);
        cookie.setExpirationDate(QDateTime::currentDateTime().addDays(1));
        profile.cookieStore()->setCookie(cookie, QUrl("https://www" + domain + "/"));
    }
    return QTest::qWaitFor([&] { return added.size() == cookies.size(); }, waitMs);
}

static QMap<AccountSite, bool> signedIn(const QList<AccountSite> &sites)
{
    QMap<AccountSite, bool> status;
    for (const AccountSite site : AccountSites::allCases)
        status.insert(site, sites.contains(site));
    return status;
}

class TestAccountService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The engine's live changes reach the status, which changes (and says so) only when a
    // site's state does; a Google session alone is not a YouTube one.
    void statusFollowsTheProfile()
    {
        struct Row {
            QByteArray name;
            QString domain;
            QList<AccountSite> sites;
            bool google;
        };
        const QList<Row> rows{
            {"SAPISID", ".youtube.com", {AccountSite::youtube}, false},
            {"SESSDATA", ".bilibili.com", {AccountSite::bilibili}, false},
            {"auth-token", ".twitch.tv", {AccountSite::twitch}, false},
            {"SID", ".google.com", {}, true},
        };
        QTemporaryDir folder;
        const auto profile = profileOn(folder.path());
        ProfileDataStore store(profile);
        FakeWorkspace workspace;
        AccountService service(store, workspace, [] { return std::unique_ptr<WebPage>(); });
        QSignalSpy changed(&service, &AccountService::statusChanged);
        for (const Row &row : rows) {
            QVERIFY(setCookies(*profile, {{row.name, row.domain}}));
            service.refresh();
            service.refresh();
            QCOMPARE(service.status(), signedIn(row.sites));
            QCOMPARE(service.googleAccountPresent(), row.google);
            QNetworkCookie cookie(row.name);
            cookie.setDomain(row.domain);
            profile->cookieStore()->deleteCookie(cookie, QUrl("https://www" + row.domain + "/"));
            QTRY_VERIFY_WITH_TIMEOUT(store.cookies().isEmpty(), waitMs);
            service.refresh();
            QCOMPARE(service.status(), signedIn({}));
        }
        QCOMPARE(changed.size(), 2 * 3);
    }

    // Sessions stored by an earlier run count before any page loads; sign-out deletes only
    // the site's own cookies, for good; cleared web data signs every site out.
    void storedSessionsAndSignOut()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath("Cookies");
        // The engine writes its cookies when the profile goes.
        QVERIFY(setCookies(*profileOn(folder.path()),
                           {{"SID", ".youtube.com"}, {"SID", ".notyoutube.com"},
                            {"SESSDATA", ".bilibili.com"}, {"auth-token", ".twitch.tv"}}));
        QTRY_COMPARE_WITH_TIMEOUT(CookieFile::read(file).size(), 4, waitMs);
        FakeWorkspace workspace;
        const auto noPages = [] { return std::unique_ptr<WebPage>(); };
        {
            ProfileDataStore store(profileOn(folder.path()));
            AccountService service(store, workspace, noPages);
            QCOMPARE(service.status(), signedIn({AccountSite::youtube, AccountSite::bilibili, AccountSite::twitch}));
            service.logout(AccountSite::youtube);
            QTRY_VERIFY_WITH_TIMEOUT(!service.isLoggedIn(AccountSite::youtube), waitMs);
            QCOMPARE(service.status(), signedIn({AccountSite::bilibili, AccountSite::twitch}));
            QCOMPARE(store.cookies().size(), 3);
        }
        ProfileDataStore store(profileOn(folder.path()));
        AccountService service(store, workspace, noPages);
        QCOMPARE(service.status(), signedIn({AccountSite::bilibili, AccountSite::twitch}));
        // A deletion alone wakes the cookie store of a profile no page has used yet.
        store.deleteCookie({"SESSDATA", ".bilibili.com", {}});
        QTRY_COMPARE_WITH_TIMEOUT(store.cookies().size(), 2, waitMs);
        service.webDataCleared();
        QTRY_COMPARE_WITH_TIMEOUT(service.status(), signedIn({}), waitMs);
        QCOMPARE(store.cookies().size(), 1);
    }
};

QTEST_MAIN(TestAccountService)
#include "itst_accountservice.moc"

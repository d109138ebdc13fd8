#include "FakeWorkspace.h"
#include "LocalHttpServer.h"
#include "TemporaryHome.h"
#include "accounts/AccountService.h"
#include "accounts/SignInWindow.h"
#include "webengine/ProfileDataStore.h"
#include "webengine/QtWebPage.h"
#include "webengine/WebProfile.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QNetworkCookie>
#include <QPushButton>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

constexpr int waitMs = 20000;

class TestSignInWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        L10n::setLanguage(AppLanguage::en);
        m_server.addPage("/rejected.html", "<title>Couldn't sign you in</title><p>Try again</p>");
        m_server.addPage("/oauth/disallowed_useragent", "<title>Error</title><p>Access blocked</p>");
        m_server.addPage("/popups.html", "<a target=_blank href='/next.html'>next</a>");
        m_server.addPage("/next.html", "<title>next</title>");
        m_server.addPage("/signin.html",
                         "<script>document.cookie = 'auth-token=t; domain=.twitch.tv; path=/';</script>");
        QVERIFY(m_server.start());
    }

    // A page that refuses embedded browsers, by its text or its address, gets the banner,
    // whose button hands the sign-in page to the desktop's browser.
    void blockedPageShowsTheBanner()
    {
        for (const char *path : {"/rejected.html", "/oauth/disallowed_useragent"}) {
            FakeWorkspace workspace;
            const QUrl url = m_server.url(path);
            SignInWindow window(AccountSite::youtube, url, std::make_unique<QtWebPage>(), m_store, workspace);
            QTRY_VERIFY_WITH_TIMEOUT(window.banner(), waitMs);
            window.banner()->findChild<QPushButton *>("openInBrowser")->click();
            QCOMPARE(workspace.openedUrls(), QList<QUrl>{url});
        }
    }

    // A link for a new window opens in the same browser; other schemes go nowhere.
    void popUpsStayInTheWindow()
    {
        auto page = std::make_unique<QtWebPage>();
        QtWebPage &browser = *page;
        SignInWindow window(AccountSite::youtube, m_server.url("/popups.html"), std::move(page), m_store, m_workspace);
        QSignalSpy loaded(&browser, &WebPage::loadFinished);
        QVERIFY(loaded.wait(waitMs));
        browser.runJavaScript("window.open('mailto:someone@example.org'); document.querySelector('a').click()");
        QTRY_COMPARE_WITH_TIMEOUT(browser.url(), m_server.url("/next.html"), waitMs);
        QCOMPARE(QApplication::topLevelWidgets().count(), 1);
    }

    // One window per site. The service sees the sign-in the window detects (the window
    // says so and closes itself), and a cookie that arrived before an early close.
    void signInThroughTheService()
    {
        AccountService service(m_store, m_workspace, [] { return std::make_unique<QtWebPage>(); });
        service.login(AccountSite::twitch);
        QPointer<SignInWindow> window = service.signInWindow(AccountSite::twitch);
        service.login(AccountSite::twitch);
        QCOMPARE(service.signInWindow(AccountSite::twitch), window.data());
        QSignalSpy titles(window.data(), &QWidget::windowTitleChanged);
        QUrl signIn = m_server.url("/signin.html");
        signIn.setHost("www.twitch.tv");
        window->findChild<QWebEngineView *>()->load(signIn);
        QTRY_VERIFY_WITH_TIMEOUT(service.isLoggedIn(AccountSite::twitch), waitMs);
        QCOMPARE(titles.value(0).value(0).toString(), "Signed in to Twitch");
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull() && !service.signInWindow(AccountSite::twitch), waitMs);

        service.login(AccountSite::bilibili);
        QNetworkCookie cookie("SESSDATA", "s");
        cookie.setDomain(".bilibili.com");
        WebProfile::shared()->cookieStore()->setCookie(cookie, QUrl("https://www.bilibili.com/"));
        QTRY_COMPARE_WITH_TIMEOUT(m_store.cookies().size(), 2, waitMs);
        service.signInWindow(AccountSite::bilibili)->close();
        QVERIFY(service.isLoggedIn(AccountSite::bilibili));
    }

private:
    TemporaryHome m_home;
    ProfileDataStore m_store{WebProfile::shared()};
    FakeWorkspace m_workspace;
    LocalHttpServer m_server;
};

int main(int argc, char *argv[])
{
    // The sites' hosts lead to the loopback server, so pages can set the sites' cookies.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --host-resolver-rules=\"MAP *.twitch.tv 127.0.0.1\"");
    QApplication app(argc, argv);
    TestSignInWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "itst_signinwindow.moc"

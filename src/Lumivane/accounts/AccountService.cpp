#include "accounts/AccountService.h"

#include "accounts/SignInWindow.h"
#include "platform/SiteDataStore.h"
#include "platform/WebPage.h"
#include "platform/Workspace.h"
#include "playback/PageScripts.h"

#include "KiteCore/AccountRules.h"

#include <QGuiApplication>
#include <QScreen>

AccountService::AccountService(SiteDataStore &store, Workspace &workspace, PageFactory pages,
                               QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_workspace(workspace)
    , m_pages(std::move(pages))
{
    connect(&m_store, &SiteDataStore::siteDataRemoved, this, &AccountService::refresh);
    m_poll.setInterval(refreshIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &AccountService::refresh);
    refresh();
    m_poll.start();
}

AccountService::~AccountService()
{
    for (const QPointer<SignInWindow> &window : std::as_const(m_windows)) {
        if (window) {
            window->disconnect(this);
            delete window;
        }
    }
}

namespace {
// The engine keeps storage per origin and cannot list them: the site's data domains, their
// "www." hosts and the hosts of its sign-in and home pages are where a session lives.
QStringList storageHosts(AccountSite site)
{
    QStringList hosts;
    for (const QString &domain : dataDomains(site))
        hosts << domain << QStringLiteral("www.") + domain;
    hosts << loginURL(site).host() << homeURL(site).host();
    hosts.removeDuplicates();
    return hosts;
}
} // namespace

SignInWindow *AccountService::signInWindow(AccountSite site) const
{
    return m_windows.value(site);
}

void AccountService::refresh()
{
    const QList<AccountCookie> cookies = m_store.cookies();
    QMap<AccountSite, bool> status;
    for (const AccountSite site : AccountSites::allCases)
        status.insert(site, AccountRules::isLoggedIn(site, cookies));
    if (status != m_status) {
        m_status = status;
        Q_EMIT statusChanged();
    }
    const bool google = AccountRules::hasGoogleLogin(cookies);
    if (google != m_googleAccountPresent) {
        m_googleAccountPresent = google;
        Q_EMIT googleAccountPresentChanged();
    }
}

void AccountService::login(AccountSite site)
{
    if (SignInWindow *open = m_windows.value(site)) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    auto *window = new SignInWindow(site, loginURL(site), m_pages(), m_store, m_workspace);
    m_windows.insert(site, window);
    // The window tells of a change also when it closes, however early.
    connect(window, &SignInWindow::statusChanged, this, &AccountService::refresh);
    connect(window, &SignInWindow::closed, this, [this, site] { m_windows.remove(site); });
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    window->show();
    window->raise();
    window->activateWindow();
}

void AccountService::logout(AccountSite site)
{
    if (SignInWindow *open = m_windows.take(site)) {
        open->disconnect(this);
        open->close();
    }
    const QStringList suffixes = cookieDomainSuffixes(site);
    for (const AccountCookie &cookie : m_store.cookies()) {
        for (const QString &suffix : suffixes) {
            if (AccountRules::cookieDomainMatches(cookie.domain, suffix)) {
                m_store.deleteCookie(cookie);
                break;
            }
        }
    }
    m_store.removeSiteData(storageHosts(site), PageScripts::text(QStringLiteral("site-data-clear.js")));
}

void AccountService::openHome(AccountSite site)
{
    m_workspace.openUrl(homeURL(site));
}

void AccountService::webDataCleared()
{
    for (const AccountSite site : AccountSites::allCases)
        logout(site);
}

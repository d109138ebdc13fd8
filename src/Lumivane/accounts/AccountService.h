#pragma once

#include "KiteCore/AccountSite.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class SignInWindow;
class SiteDataStore;
class WebPage;
class Workspace;

// Which of the account sites the shared web profile is signed in to, read from its cookies
// at construction, every 20 s and whenever asked; sign-in windows (one per site) and
// sign-out. Observers hear only of real changes.
class AccountService final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool googleAccountPresent READ googleAccountPresent NOTIFY googleAccountPresentChanged)

public:
    static constexpr int refreshIntervalMs = 20000;
    using PageFactory = std::function<std::unique_ptr<WebPage>()>;

    AccountService(SiteDataStore &store, Workspace &workspace, PageFactory pages,
                   QObject *parent = nullptr);
    ~AccountService() override;

    // Signed-in state per site, as last read.
    QMap<AccountSite, bool> status() const { return m_status; }
    bool isLoggedIn(AccountSite site) const { return m_status.value(site, false); }
    // The profile holds a Google sign-in (a YouTube session may still be missing).
    bool googleAccountPresent() const { return m_googleAccountPresent; }
    // The open sign-in window of the site, if any.
    SignInWindow *signInWindow(AccountSite site) const;

public Q_SLOTS:
    void refresh();
    // Opens the site's sign-in window, or brings the open one forward.
    void login(AccountSite site);
    // Closes the site's sign-in window and deletes its cookies and site data.
    void logout(AccountSite site);
    // The site's home page in the desktop's browser.
    void openHome(AccountSite site);
    // Everything the profile stored was cleared: every site is signed out.
    void webDataCleared();

Q_SIGNALS:
    void statusChanged();
    void googleAccountPresentChanged();

private:
    SiteDataStore &m_store;
    Workspace &m_workspace;
    PageFactory m_pages;
    QMap<AccountSite, bool> m_status;
    bool m_googleAccountPresent = false;
    QMap<AccountSite, QPointer<SignInWindow>> m_windows;
    QTimer m_poll;
};

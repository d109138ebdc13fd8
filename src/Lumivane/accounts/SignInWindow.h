#pragma once

#include "KiteCore/AccountSite.h"

#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <memory>

class QFrame;
class SiteDataStore;
class WebPage;
class Workspace;

// The sign-in browser for one site, on the shared web profile: it shows the site's sign-in
// page, notices from the profile's cookies when the sign-in has happened (then says so and
// closes), and warns once when the page refuses embedded browsers. Closing it never signs
// out. It is deleted when it closes.
class SignInWindow final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int detectionIntervalMs = 1500;
    static constexpr int closeDelayMs = 900;
    static constexpr int blockedCheckDelayMs = 1200;

    // loginUrl is the site's sign-in page, shown here and handed to the desktop's browser.
    SignInWindow(AccountSite site, const QUrl &loginUrl, std::unique_ptr<WebPage> page,
                 SiteDataStore &store, Workspace &workspace, QWidget *parent = nullptr);
    ~SignInWindow() override;

    AccountSite site() const { return m_site; }
    // The blocked-browser banner, null until it is shown.
    QWidget *banner() const;

Q_SIGNALS:
    // The sign-in state may have changed: the sign-in was seen, or the window closed.
    void statusChanged();
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void detect();
    void checkBlockedPage();
    void onCheckResult(const QVariant &result);
    void showBanner(const QString &text);
    void openPopUp(const QUrl &url);

    AccountSite m_site;
    QUrl m_loginUrl;
    std::unique_ptr<WebPage> m_page;
    SiteDataStore &m_store;
    Workspace &m_workspace;
    QFrame *m_banner = nullptr;
    QTimer m_detection;
    QTimer m_blockedCheck;
    QTimer m_closeTimer;
    bool m_didCheckBlocked = false;
    bool m_closed = false;
};

#include "accounts/SignInWindow.h"

#include "platform/SiteDataStore.h"
#include "platform/WebPage.h"
#include "platform/Workspace.h"
#include "playback/PageScripts.h"

#include "KiteCore/AccountRules.h"
#include "KiteCore/L10n.h"

#include <QCloseEvent>
#include <QFrame>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <chrono>

namespace {
constexpr std::chrono::seconds requestTimeout{60};
constexpr int bannerFontPixels = 12;

QString signInTitle(AccountSite site)
{
    const QString name = displayName(site);
    return L(name + QStringLiteral(" 登录"), QStringLiteral("Sign in to ") + name,
             QStringLiteral("Iniciar sesión en ") + name);
}

QString signedInTitle(AccountSite site)
{
    const QString name = displayName(site);
    return L(name + QStringLiteral(" 已登录"), QStringLiteral("Signed in to ") + name,
             QStringLiteral("Sesión iniciada en ") + name);
}
} // namespace

SignInWindow::SignInWindow(AccountSite site, const QUrl &loginUrl, std::unique_ptr<WebPage> page,
                           SiteDataStore &store, Workspace &workspace, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_site(site)
    , m_loginUrl(loginUrl)
    , m_page(std::move(page))
    , m_store(store)
    , m_workspace(workspace)
{
    setObjectName(QStringLiteral("signInWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(signInTitle(site));
    resize(980, 720);
    setMinimumSize(760, 560);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_page->view());

    m_detection.setInterval(detectionIntervalMs);
    connect(&m_detection, &QTimer::timeout, this, &SignInWindow::detect);
    m_blockedCheck.setSingleShot(true);
    m_blockedCheck.setInterval(blockedCheckDelayMs);
    connect(&m_blockedCheck, &QTimer::timeout, this, [this] {
        if (!m_didCheckBlocked)
            checkBlockedPage();
    });
    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(closeDelayMs);
    connect(&m_closeTimer, &QTimer::timeout, this, &QWidget::close);
    connect(m_page.get(), &WebPage::loadFinished, this, [this] {
        m_didCheckBlocked = false;
        m_blockedCheck.start();
    });
    connect(m_page.get(), &WebPage::newWindowRequested, this, &SignInWindow::openPopUp);
    // Other failures show the engine's own error page; without an engine there is none.
    connect(m_page.get(), &WebPage::loadFailed, this, [this](const PlatformError &error) {
        if (error.code == PlatformError::webEngineUnavailable)
            showBanner(error.description);
    });

    m_page->load(m_loginUrl, requestTimeout);
    m_detection.start();
}

SignInWindow::~SignInWindow()
{
    // The page goes before the widgets that show it; nothing it says then reaches us.
    m_page->disconnect(this);
}

QWidget *SignInWindow::banner() const
{
    return m_banner;
}

void SignInWindow::closeEvent(QCloseEvent *event)
{
    m_detection.stop();
    m_blockedCheck.stop();
    m_closeTimer.stop();
    QWidget::closeEvent(event);
    if (m_closed)
        return;
    m_closed = true;
    // The user may have signed in just before closing: the state is read again.
    Q_EMIT statusChanged();
    Q_EMIT closed();
}

void SignInWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_banner)
        m_banner->setGeometry(0, 0, width(), m_banner->heightForWidth(width()));
}

void SignInWindow::detect()
{
    if (!AccountRules::isLoggedIn(m_site, m_store.cookies())) {
        if (!m_didCheckBlocked)
            checkBlockedPage();
        return;
    }
    m_detection.stop();
    setWindowTitle(signedInTitle(m_site));
    Q_EMIT statusChanged();
    m_closeTimer.start();
}

void SignInWindow::checkBlockedPage()
{
    QPointer<SignInWindow> self(this);
    m_page->runJavaScript(PageScripts::text(QStringLiteral("signin-page.js")),
                          [self](const QVariant &result) {
                              if (self)
                                  self->onCheckResult(result);
                          });
}

void SignInWindow::onCheckResult(const QVariant &result)
{
    // Anything but a JSON object leaves the page unchecked: the next pass tries again.
    if (result.typeId() != QMetaType::QString)
        return;
    const QJsonDocument document = QJsonDocument::fromJson(result.toString().toUtf8());
    if (!document.isObject())
        return;
    const QJsonObject page = document.object();
    const bool blocked = AccountRules::isLoginBlocked(page.value(QStringLiteral("t")).toString(),
                                                      page.value(QStringLiteral("b")).toString())
                         || page.value(QStringLiteral("u")).toString().toLower().contains(
                             QStringLiteral("disallowed_useragent"));
    m_didCheckBlocked = true;
    if (blocked) {
        showBanner(displayName(m_site)
                   + L(" 把这个内置浏览器判定为“不安全/版本过低”，登录可能无法完成。可以改用系统浏览器登录，或继续尝试。",
                       " flagged this embedded browser as insecure/outdated. Sign-in may fail — try a "
                       "system browser, or continue anyway.",
                       " considera inseguro este navegador integrado. Prueba con un navegador del "
                       "sistema o continúa."));
    }
}

void SignInWindow::showBanner(const QString &text)
{
    if (m_banner)
        return;
    m_banner = new QFrame(this);
    m_banner->setObjectName(QStringLiteral("signInBanner"));
    m_banner->setStyleSheet(QStringLiteral(
        "#signInBanner { background: rgb(255, 240, 217); border-bottom: 1px solid rgb(245, 166, 35); }"
        "#signInBanner QLabel { color: rgb(40, 30, 10); font-size: %1px; }"
        "#signInBanner QPushButton { color: white; background: rgb(232, 135, 0); border: none;"
        " border-radius: 10px; padding: 4px 14px; font-weight: 600; }"
        "#signInBanner QPushButton:hover { background: rgb(245, 150, 20); }")
                                .arg(bannerFontPixels));
    auto *message = new QLabel(text, m_banner);
    message->setWordWrap(true);
    auto *open = new QPushButton(L("用系统浏览器打开", "Open in browser", "Abrir en navegador"), m_banner);
    open->setObjectName(QStringLiteral("openInBrowser"));
    open->setCursor(Qt::PointingHandCursor);
    connect(open, &QPushButton::clicked, this, [this] { m_workspace.openUrl(m_loginUrl); });
    auto *layout = new QVBoxLayout(m_banner);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(6);
    layout->addWidget(message);
    layout->addWidget(open, 0, Qt::AlignLeft);
    // Above the page, which keeps the whole window.
    m_banner->setGeometry(0, 0, width(), m_banner->heightForWidth(width()));
    m_banner->show();
    m_banner->raise();
}

void SignInWindow::openPopUp(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https")
        m_page->load(url, requestTimeout);
}

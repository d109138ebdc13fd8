#include "webengine/QtWebPage.h"

#include "webengine/ChromiumLoadError.h"
#include "webengine/GuardedWebEnginePage.h"
#include "webengine/WebProfile.h"

#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace {

QWebEngineScript toEngineScript(const WebPage::UserScript &script)
{
    QWebEngineScript engineScript;
    engineScript.setName(script.name);
    engineScript.setSourceCode(script.source);
    engineScript.setInjectionPoint(script.injection == WebPage::Injection::documentCreation
                                       ? QWebEngineScript::DocumentCreation
                                       : QWebEngineScript::DocumentReady);
    engineScript.setWorldId(QWebEngineScript::MainWorld);
    engineScript.setRunsOnSubFrames(false);
    return engineScript;
}

// Schemes the engine loads itself.
bool isEngineScheme(const QUrl &url)
{
    static const QStringList engineSchemes{
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
        QStringLiteral("data"), QStringLiteral("about"), QStringLiteral("blob"),
        QStringLiteral("filesystem"), QStringLiteral("qrc"), QStringLiteral("chrome"),
        QStringLiteral("view-source")};
    return engineSchemes.contains(url.scheme().toLower());
}

} // namespace

QtWebPage::QtWebPage(QObject *parent)
    : WebPage(parent)
    , m_profile(WebProfile::shared())
    , m_page(std::make_unique<GuardedWebEnginePage>(m_profile.get()))
    , m_view(new QWebEngineView)
{
    // A loading page must not flash white over the dark window.
    m_page->setBackgroundColor(Qt::black);
    m_view->setPage(m_page.get());
    m_page->setNavigationPolicy(
        [this](const QUrl &url, bool isMainFrame) { return allowNavigation(url, isMainFrame); });
    m_loadTimer.setSingleShot(true);
    connect(&m_loadTimer, &QTimer::timeout, this, &QtWebPage::onLoadTimeout);
    connect(m_page.get(), &QWebEnginePage::loadingChanged, this, &QtWebPage::onLoadingChanged);
    connect(m_page.get(), &QWebEnginePage::urlChanged, this, &WebPage::urlChanged);
    connect(m_page.get(), &QWebEnginePage::newWindowRequested, this,
            [this](const QWebEngineNewWindowRequest &request) {
                Q_EMIT newWindowRequested(request.requestedUrl());
            });
    connect(m_page.get(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    Q_EMIT renderProcessTerminated();
            });
}

QtWebPage::~QtWebPage()
{
    // Nothing the engine reports while going down reaches this half-destroyed object.
    m_page->disconnect(this);
    m_page->setNavigationPolicy({});
    delete m_view;
    m_page.reset();
}

void QtWebPage::setUserScripts(const QList<UserScript> &scripts)
{
    QWebEngineScriptCollection &collection = m_page->scripts();
    collection.clear();
    for (const UserScript &script : scripts)
        collection.insert(toEngineScript(script));
}

void QtWebPage::setCompatibilityMode(bool on)
{
    WebProfile::setCompatibilityMode(on);
}

void QtWebPage::setNavigationPolicy(NavigationPolicy policy)
{
    m_policy = std::move(policy);
}

void QtWebPage::load(const QUrl &url, std::chrono::milliseconds timeout)
{
    m_page->load(url);
    if (timeout.count() > 0)
        m_loadTimer.start(timeout);
}

void QtWebPage::loadBlank()
{
    m_loadTimer.stop();
    m_page->load(QUrl(QStringLiteral("about:blank")));
}

void QtWebPage::stopLoading()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void QtWebPage::goBack()
{
    m_page->triggerAction(QWebEnginePage::Back);
}

void QtWebPage::goForward()
{
    m_page->triggerAction(QWebEnginePage::Forward);
}

void QtWebPage::reload()
{
    m_page->triggerAction(QWebEnginePage::Reload);
}

bool QtWebPage::canGoBack() const
{
    return m_page->history()->canGoBack();
}

bool QtWebPage::canGoForward() const
{
    return m_page->history()->canGoForward();
}

QUrl QtWebPage::url() const
{
    return m_page->url();
}

QString QtWebPage::title() const
{
    return m_page->title();
}

void QtWebPage::runJavaScript(const QString &script, ScriptCallback callback)
{
    if (!callback) {
        m_page->runJavaScript(script, QWebEngineScript::MainWorld);
        return;
    }
    // The engine may answer at once in some states; the answer always goes through the
    // event loop, and is dropped when this page is gone by then.
    QPointer<QtWebPage> self(this);
    m_page->runJavaScript(script, QWebEngineScript::MainWorld,
                          [self, callback = std::move(callback)](const QVariant &result) {
                              if (self)
                                  QTimer::singleShot(0, self, [callback, result] { callback(result); });
                          });
}

void QtWebPage::takeSnapshot(SnapshotCallback callback)
{
    QTimer::singleShot(0, this, [this, callback = std::move(callback)] {
        callback(m_view ? m_view->grab().toImage() : QImage());
    });
}

QWidget *QtWebPage::view() const
{
    return m_view;
}

qint64 QtWebPage::renderProcessId() const
{
    return m_page->renderProcessPid();
}

bool QtWebPage::allowNavigation(const QUrl &url, bool isMainFrame)
{
    // The engine hands a navigation it cannot load itself to the desktop's handler when it
    // is allowed; a page never starts another program, whatever the policy says.
    const bool allowed = (!m_policy || m_policy(url, isMainFrame)) && isEngineScheme(url);
    if (isMainFrame)
        m_refusedUrl = allowed ? QUrl() : url;
    return allowed;
}

bool QtWebPage::isSilentNavigation(const QUrl &url) const
{
    return (!m_refusedUrl.isEmpty() && url == m_refusedUrl) || !isEngineScheme(url);
}

void QtWebPage::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        m_swallowNextEnd = false;
        m_silentLoad = isSilentNavigation(info.url());
        m_refusedUrl.clear();
        if (!m_silentLoad)
            Q_EMIT loadStarted();
        return;
    }
    if (m_silentLoad) {
        m_silentLoad = false;
        return;
    }
    if (m_swallowNextEnd) {
        m_swallowNextEnd = false;
        return;
    }
    m_loadTimer.stop();
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        Q_EMIT loadFinished();
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        Q_EMIT loadFailed(
            ChromiumLoadError::toPlatformError(ChromiumLoadError::aborted, info.errorString()));
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        // An HTTP error status still delivers the server's page, as in any browser.
        if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
            Q_EMIT loadFinished();
        else
            Q_EMIT loadFailed(
                ChromiumLoadError::toPlatformError(info.errorCode(), info.errorString()));
        break;
    case QWebEngineLoadingInfo::LoadStartedStatus:
        break;
    }
}

void QtWebPage::onLoadTimeout()
{
    m_swallowNextEnd = true;
    m_page->triggerAction(QWebEnginePage::Stop);
    Q_EMIT loadFailed(ChromiumLoadError::toPlatformError(ChromiumLoadError::timedOut, QString()));
}

#include "FakeWebPage.h"

#include <QPointer>
#include <QTimer>

FakeWebPage::FakeWebPage(QObject *parent)
    : WebPage(parent)
    , m_view(new QWidget)
{
    m_view->setObjectName(QStringLiteral("fakeWebView"));
}

FakeWebPage::~FakeWebPage()
{
    delete m_view;
}

void FakeWebPage::load(const QUrl &url, std::chrono::milliseconds timeout)
{
    m_url = url;
    m_loads.append({url, timeout});
}

void FakeWebPage::runJavaScript(const QString &script, ScriptCallback callback)
{
    m_scripts.append(script);
    if (!callback)
        return;
    const QVariant result = scriptAnswer ? scriptAnswer(script) : QVariant();
    QTimer::singleShot(0, this, [callback = std::move(callback), result] { callback(result); });
}

void FakeWebPage::takeSnapshot(SnapshotCallback callback)
{
    QTimer::singleShot(0, this, [this, callback = std::move(callback)] { callback(snapshot); });
}

bool FakeWebPage::requestNavigation(const QUrl &url, bool isMainFrame) const
{
    return !m_policy || m_policy(url, isMainFrame);
}

void FakeWebPage::setHistory(bool canGoBack, bool canGoForward)
{
    m_canGoBack = canGoBack;
    m_canGoForward = canGoForward;
}

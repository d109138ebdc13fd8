#include "webengine/GuardedWebEnginePage.h"

GuardedWebEnginePage::GuardedWebEnginePage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
}

void GuardedWebEnginePage::setNavigationPolicy(WebPage::NavigationPolicy policy)
{
    m_policy = std::move(policy);
}

bool GuardedWebEnginePage::acceptNavigationRequest(const QUrl &url, NavigationType type,
                                                   bool isMainFrame)
{
    Q_UNUSED(type);
    return !m_policy || m_policy(url, isMainFrame);
}

QWebEnginePage *GuardedWebEnginePage::createWindow(WebWindowType type)
{
    Q_UNUSED(type);
    return nullptr;
}

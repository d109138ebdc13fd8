#pragma once

#include "platform/WebPage.h"

#include <QWebEnginePage>

// The engine page behind QtWebPage: every navigation, main frame or sub-frame, is put to
// the policy, and no request ever gets a second page (the engine then reports it through
// newWindowRequested, which QtWebPage turns into its own signal).
class GuardedWebEnginePage final : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit GuardedWebEnginePage(QWebEngineProfile *profile, QObject *parent = nullptr);

    void setNavigationPolicy(WebPage::NavigationPolicy policy);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
    WebPage::NavigationPolicy m_policy;
};

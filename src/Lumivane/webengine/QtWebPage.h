#pragma once

#include "platform/WebPage.h"

#include <QPointer>
#include <QTimer>

#include <memory>

class GuardedWebEnginePage;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;

// The web page seam on QtWebEngine: one engine page shown in one view, on the shared
// persistent profile. Scripts run in the page's own world, so helpers a user script
// defines are visible both to evaluated scripts and to the page.
class QtWebPage final : public WebPage
{
    Q_OBJECT

public:
    explicit QtWebPage(QObject *parent = nullptr);
    ~QtWebPage() override;

    void setUserScripts(const QList<UserScript> &scripts) override;
    void setCompatibilityMode(bool on) override;
    void setNavigationPolicy(NavigationPolicy policy) override;

    void load(const QUrl &url, std::chrono::milliseconds timeout) override;
    void loadBlank() override;
    void stopLoading() override;
    void goBack() override;
    void goForward() override;
    void reload() override;
    bool canGoBack() const override;
    bool canGoForward() const override;
    QUrl url() const override;
    QString title() const override;

    void runJavaScript(const QString &script, ScriptCallback callback = {}) override;
    void takeSnapshot(SnapshotCallback callback) override;
    QWidget *view() const override;

    // The renderer's process id, 0 while there is none.
    qint64 renderProcessId() const;

private:
    bool allowNavigation(const QUrl &url, bool isMainFrame);
    bool isSilentNavigation(const QUrl &url) const;
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void onLoadTimeout();

    // Declared first so that it is released last, after the page that uses it.
    std::shared_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<GuardedWebEnginePage> m_page;
    QPointer<QWebEngineView> m_view;
    QTimer m_loadTimer;
    NavigationPolicy m_policy;
    // The engine still starts and stops a navigation the policy refused, and one it hands
    // to another program; neither loads anything, so neither is told.
    QUrl m_refusedUrl;
    bool m_silentLoad = false;
    // After a timeout the engine still reports the stopped load; that end is already told.
    bool m_swallowNextEnd = false;
};

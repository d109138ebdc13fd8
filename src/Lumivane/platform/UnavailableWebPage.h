#pragma once

#include "platform/WebPage.h"

#include <QPointer>


// The page made when the web engine module cannot be loaded: every load fails with
// PlatformError::webEngineUnavailable with the reason in the user's language, which the
// player or sign-in window shows over the page's empty view.
class UnavailableWebPage final : public WebPage
{
    Q_OBJECT

public:
    explicit UnavailableWebPage(QObject *parent = nullptr);
    ~UnavailableWebPage() override;

    // The sentence shown to the user, in the interface language.
    static QString message();

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

private:
    void fail();

    QUrl m_url;
    QPointer<QWidget> m_view;
};

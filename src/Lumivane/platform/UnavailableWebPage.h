#pragma once

#include "platform/WebPage.h"

#include <QPointer>

class QLabel;

// The page made when the web engine module cannot be loaded: every load fails with
// PlatformError::webEngineUnavailable, and its view says why, so that a player or sign-in
// window shows the reason instead of an empty page.
class UnavailableWebPage final : public WebPage
{
    Q_OBJECT

public:
    // detail: the loader's own account of what went wrong.
    explicit UnavailableWebPage(const QString &detail, QObject *parent = nullptr);
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

    QString m_detail;
    QUrl m_url;
    QPointer<QLabel> m_view;
};

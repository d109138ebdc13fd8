#pragma once

#include "platform/WebPage.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

// A WebPage driven by the test. Commands from the code under test are recorded; the test
// plays the engine's part: it starts, finishes or fails loads, crashes the renderer, asks
// for navigations and new windows, and answers scripts through scriptAnswer. Script and
// snapshot answers arrive queued, as from the real engine.
class FakeWebPage final : public WebPage
{
    Q_OBJECT

public:
    // The result for one evaluated script; an invalid QVariant stands for a thrown error.
    using ScriptAnswer = std::function<QVariant(const QString &script)>;
    struct Load {
        QUrl url;
        std::chrono::milliseconds timeout{0};
    };

    using WebPage::WebPage;
    ~FakeWebPage() override { delete m_view; }

    void setUserScripts(const QList<UserScript> &scripts) override { m_userScripts = scripts; }
    void setCompatibilityMode(bool on) override { m_compatibilityMode = on; }
    void setNavigationPolicy(NavigationPolicy policy) override { m_policy = std::move(policy); }
    void load(const QUrl &url, std::chrono::milliseconds timeout) override
    {
        m_url = url;
        m_loads.append({url, timeout});
    }
    void loadBlank() override { ++m_blankLoads; }
    void stopLoading() override { ++m_stops; }
    void goBack() override { ++m_backs; }
    void goForward() override {}
    void reload() override { ++m_reloads; }
    bool canGoBack() const override { return m_canGoBack; }
    bool canGoForward() const override { return m_canGoForward; }
    QUrl url() const override { return m_url; }
    QString title() const override { return m_title; }
    void runJavaScript(const QString &script, ScriptCallback callback = {}) override;
    void takeSnapshot(SnapshotCallback callback) override;
    QWidget *view() const override { return m_view; }

    // ---- the engine's part
    void startLoad() { Q_EMIT loadStarted(); }
    void finishLoad() { Q_EMIT loadFinished(); }
    void failLoad(const PlatformError &error) { Q_EMIT loadFailed(error); }
    void crashRenderer() { Q_EMIT renderProcessTerminated(); }
    void requestNewWindow(const QUrl &url) { Q_EMIT newWindowRequested(url); }
    // What the policy answers; true when no policy was set.
    bool requestNavigation(const QUrl &url, bool isMainFrame) const { return !m_policy || m_policy(url, isMainFrame); }
    void setHistory(bool canGoBack, bool canGoForward) { m_canGoBack = canGoBack; m_canGoForward = canGoForward; }
    void setTitle(const QString &title) { m_title = title; }

    ScriptAnswer scriptAnswer;
    // Handed to snapshot requests; a null image stands for a failed snapshot.
    QImage snapshot;

    // ---- what the code under test did
    const QList<UserScript> &userScripts() const { return m_userScripts; }
    bool compatibilityMode() const { return m_compatibilityMode; }
    const QList<Load> &loads() const { return m_loads; }
    // Every script evaluated, oldest first.
    const QStringList &scripts() const { return m_scripts; }
    qsizetype scriptCount(const QString &script) const { return m_scripts.count(script); }
    int blankLoads() const { return m_blankLoads; }
    int stops() const { return m_stops; }
    int backs() const { return m_backs; }
    int reloads() const { return m_reloads; }

private:
    QList<UserScript> m_userScripts;
    bool m_compatibilityMode = false;
    NavigationPolicy m_policy;
    QList<Load> m_loads;
    QStringList m_scripts;
    QUrl m_url;
    QString m_title;
    bool m_canGoBack = false;
    bool m_canGoForward = false;
    int m_blankLoads = 0;
    int m_stops = 0;
    int m_backs = 0;
    int m_reloads = 0;
    QPointer<QWidget> m_view = new QWidget;
};

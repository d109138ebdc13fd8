#pragma once

#include "platform/PlatformError.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <chrono>
#include <functional>

class QWidget;

// The embedded web page behind a web playback session: one page with its view. All calls,
// callbacks and signals happen on the GUI thread.
//
// Navigation lifecycle: every navigation of the main frame emits loadStarted, then either
// loadFinished or loadFailed (a cancelled load fails with PlatformError::cancelled). Every
// navigation request, in the main frame or a sub-frame, is first put to the navigation
// policy; a request it refuses never loads. Requests for a new window never open one: they
// arrive as newWindowRequested with the URL asked for.
class WebPage : public QObject
{
    Q_OBJECT

public:
    enum class Injection { documentCreation, documentReady };
    // A script run in the main frame of every document the page loads.
    struct UserScript {
        QString name;
        QString source;
        Injection injection = Injection::documentReady;
        bool operator==(const UserScript &other) const = default;
    };
    // Answers whether the page may navigate to url; isMainFrame is false for sub-frames.
    using NavigationPolicy = std::function<bool(const QUrl &url, bool isMainFrame)>;
    // The script's result: a string, number, bool, list or map; invalid when the script
    // threw or the page is gone.
    using ScriptCallback = std::function<void(const QVariant &result)>;
    // A null image when no snapshot could be taken.
    using SnapshotCallback = std::function<void(const QImage &image)>;

    explicit WebPage(QObject *parent = nullptr);
    ~WebPage() override;

    // Scripts take effect from the next document on.
    virtual void setUserScripts(const QList<UserScript> &scripts) = 0;
    // The fixed desktop-browser user agent instead of the engine's own.
    virtual void setCompatibilityMode(bool on) = 0;
    virtual void setNavigationPolicy(NavigationPolicy policy) = 0;

    // A load that has not finished after timeout stops and fails with PlatformError::timedOut.
    virtual void load(const QUrl &url, std::chrono::milliseconds timeout) = 0;
    // Shows an empty document; used when the session stops.
    virtual void loadBlank() = 0;
    virtual void stopLoading() = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void reload() = 0;
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    virtual QUrl url() const = 0;
    virtual QString title() const = 0;

    // Runs script in the main frame; callback (optional) gets the result later, never from
    // inside this call.
    virtual void runJavaScript(const QString &script, ScriptCallback callback = {}) = 0;
    // The visible content of the view; callback runs later, never from inside this call.
    virtual void takeSnapshot(SnapshotCallback callback) = 0;

    // The widget that shows the page; owned by the page, null for pages without a view.
    // Whoever shows it may reparent it; it is deleted with the page.
    virtual QWidget *view() const = 0;

Q_SIGNALS:
    void loadStarted();
    void loadFinished();
    void loadFailed(const PlatformError &error);
    void renderProcessTerminated();
    void newWindowRequested(const QUrl &url);
    void urlChanged(const QUrl &url);
};

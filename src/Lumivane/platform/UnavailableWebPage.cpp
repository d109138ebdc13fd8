#include "platform/UnavailableWebPage.h"

#include "KiteCore/L10n.h"

#include <QWidget>
#include <QTimer>

UnavailableWebPage::UnavailableWebPage(QObject *parent)
    : WebPage(parent)
    , m_view(new QWidget)
{
}

UnavailableWebPage::~UnavailableWebPage()
{
    delete m_view;
}

QString UnavailableWebPage::message()
{
    return L("内置网页引擎缺失或无法加载，网页打不开。重新安装 Lumivane 即可恢复；本地文件和媒体链接仍可播放。",
             "The built-in web engine is missing or couldn't be loaded, so web pages can't open. "
             "Reinstall Lumivane to restore it; files and media links still play.",
             "Falta el motor web integrado o no se pudo cargar, así que las páginas web no se abren. "
             "Reinstala Lumivane para recuperarlo; los archivos y enlaces multimedia siguen funcionando.");
}

void UnavailableWebPage::setUserScripts(const QList<UserScript> &) {}

void UnavailableWebPage::setCompatibilityMode(bool) {}

void UnavailableWebPage::setNavigationPolicy(NavigationPolicy) {}

void UnavailableWebPage::load(const QUrl &url, std::chrono::milliseconds)
{
    m_url = url;
    // Told later, as an engine would: the caller is still setting up.
    QTimer::singleShot(0, this, &UnavailableWebPage::fail);
}

void UnavailableWebPage::loadBlank() {}

void UnavailableWebPage::stopLoading() {}

void UnavailableWebPage::goBack() {}

void UnavailableWebPage::goForward() {}

void UnavailableWebPage::reload()
{
    load(m_url, {});
}

bool UnavailableWebPage::canGoBack() const
{
    return false;
}

bool UnavailableWebPage::canGoForward() const
{
    return false;
}

QUrl UnavailableWebPage::url() const
{
    return m_url;
}

QString UnavailableWebPage::title() const
{
    return {};
}

void UnavailableWebPage::runJavaScript(const QString &, ScriptCallback callback)
{
    if (callback)
        QTimer::singleShot(0, this, [callback = std::move(callback)] { callback(QVariant()); });
}

void UnavailableWebPage::takeSnapshot(SnapshotCallback callback)
{
    QTimer::singleShot(0, this, [callback = std::move(callback)] { callback(QImage()); });
}

QWidget *UnavailableWebPage::view() const
{
    return m_view;
}

void UnavailableWebPage::fail()
{
    Q_EMIT loadStarted();
    Q_EMIT loadFailed({PlatformError::Domain::other, PlatformError::webEngineUnavailable, message()});
}

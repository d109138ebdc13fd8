#include "webengine/QtWebDataStore.h"

#include "platform/WebStorage.h"

#include <QTimer>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

QtWebDataStore::QtWebDataStore(ProfileSource profile, QObject *parent)
    : WebDataStore(parent)
    , m_profile(std::move(profile))
{
}

void QtWebDataStore::clearAll()
{
    const std::shared_ptr<QWebEngineProfile> profile = m_profile();
    profile->cookieStore()->deleteAllCookies();
    profile->clearHttpCache();
    profile->clearAllVisitedLinks();
    WebStorage::resetAtNextStart();
    // The engine works the requests off on its own thread and reports no completion.
    QTimer::singleShot(0, this, &WebDataStore::cleared);
}

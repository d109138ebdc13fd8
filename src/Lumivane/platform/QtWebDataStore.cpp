#include "platform/QtWebDataStore.h"

#include "platform/WebProfile.h"

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
    WebProfile::resetStorageAtNextStart();
    // The engine works the requests off on its own thread and reports no completion.
    QTimer::singleShot(0, this, &WebDataStore::cleared);
}

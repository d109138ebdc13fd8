#include "platform/DeferredSiteDataStore.h"

#include "platform/CookieFile.h"
#include "platform/WebEngine.h"
#include "platform/WebEngineLoader.h"
#include "platform/WebStorage.h"

#include <QTimer>

DeferredSiteDataStore::DeferredSiteDataStore(WebEngineLoader &loader, QObject *parent)
    : SiteDataStore(parent)
    , m_loader(loader)
{
    // A pending reset empties the file before the engine next opens it.
    if (!WebStorage::resetPending()) {
        for (const CookieFile::Entry &entry : CookieFile::read(WebStorage::cookieFile())) {
            m_fileCookies.append({entry.name, entry.domain,
                                  entry.hasValue ? QStringLiteral("set") : QString()});
        }
    }
    if (m_loader.isLoaded())
        takeOver();
    else
        connect(&m_loader, &WebEngineLoader::loaded, this, &DeferredSiteDataStore::takeOver);
}

DeferredSiteDataStore::~DeferredSiteDataStore() = default;

QList<AccountCookie> DeferredSiteDataStore::cookies() const
{
    return m_engineStore ? m_engineStore->cookies() : m_fileCookies;
}

void DeferredSiteDataStore::deleteCookie(const AccountCookie &cookie)
{
    if (SiteDataStore *store = engineStore())
        store->deleteCookie(cookie);
}

void DeferredSiteDataStore::removeSiteData(const QStringList &hosts, const QString &clearScript)
{
    if (SiteDataStore *store = engineStore())
        store->removeSiteData(hosts, clearScript);
    else
        QTimer::singleShot(0, this, &SiteDataStore::siteDataRemoved);
}

void DeferredSiteDataStore::takeOver()
{
    m_engineStore = m_loader.engine()->createSiteDataStore();
    m_fileCookies.clear();
    connect(m_engineStore.get(), &SiteDataStore::siteDataRemoved, this,
            &SiteDataStore::siteDataRemoved);
}

SiteDataStore *DeferredSiteDataStore::engineStore()
{
    // Loading the engine makes the store through takeOver().
    m_loader.engine();
    return m_engineStore.get();
}

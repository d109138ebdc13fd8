#pragma once

#include "platform/SiteDataStore.h"

#include <memory>

class WebEngineLoader;

// The profile's site data without starting the engine for it: the cookies are read from
// the cookie file on disk at once (cheap), and the engine's own store takes over as soon
// as the engine is loaded for any reason. Changing anything loads the engine: only the
// engine may edit its files while it can run.
class DeferredSiteDataStore final : public SiteDataStore
{
    Q_OBJECT

public:
    explicit DeferredSiteDataStore(WebEngineLoader &loader, QObject *parent = nullptr);
    ~DeferredSiteDataStore() override;

    QList<AccountCookie> cookies() const override;
    void deleteCookie(const AccountCookie &cookie) override;
    void removeSiteData(const QStringList &hosts, const QString &clearScript) override;

private:
    void takeOver();
    SiteDataStore *engineStore();

    WebEngineLoader &m_loader;
    QList<AccountCookie> m_fileCookies;
    std::unique_ptr<SiteDataStore> m_engineStore;
};

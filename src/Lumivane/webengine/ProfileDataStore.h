#pragma once

#include "platform/SiteDataStore.h"

#include <QHash>
#include <QStringList>

#include <memory>

class QNetworkCookie;
class QWebEnginePage;
class QWebEngineProfile;

// SiteDataStore on a persistent QWebEngineProfile. The cookies are those of the profile's
// cookie file when the store was made, kept current from the engine's cookieAdded and
// cookieRemoved; make it before any page of the profile loads.
class ProfileDataStore final : public SiteDataStore
{
    Q_OBJECT

public:
    explicit ProfileDataStore(std::shared_ptr<QWebEngineProfile> profile, QObject *parent = nullptr);
    ~ProfileDataStore() override;

    QList<AccountCookie> cookies() const override;
    void deleteCookie(const AccountCookie &cookie) override;
    void removeSiteData(const QStringList &hosts, const QString &clearScript) override;

private:
    struct Entry {
        AccountCookie cookie;
        QString path;
    };

    static QString key(const QString &domain, const QString &name, const QString &path);
    void add(const QNetworkCookie &cookie);
    void remove(const QNetworkCookie &cookie);
    void startWork();
    void clearNextOrigin();

    std::shared_ptr<QWebEngineProfile> m_profile;
    QHash<QString, Entry> m_cookies;
    // A blank page of the profile: loading it wakes the engine's cookie store, then it
    // empties one origin's storage at a time. It lives only while there is work.
    std::unique_ptr<QWebEnginePage> m_worker;
    bool m_workerReady = false;
    QStringList m_originsToClear;
    QString m_clearScript;
    bool m_siteDataRequested = false;
};

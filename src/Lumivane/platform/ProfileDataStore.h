#pragma once

#include "platform/WebDataStore.h"

#include <QHash>
#include <QNetworkCookie>
#include <QPair>
#include <QUrl>
#include <QStringList>

#include <memory>

class QWebEnginePage;
class QWebEngineProfile;

// WebDataStore on a persistent QWebEngineProfile. The cookies are those of the profile's
// cookie file when the store was made, kept current from the engine's cookieAdded and
// cookieRemoved; make it before any page of the profile loads.
class ProfileDataStore final : public WebDataStore
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
    void flushDeletions();
    void clearNextOrigin();

    std::shared_ptr<QWebEngineProfile> m_profile;
    QHash<QString, Entry> m_cookies;
    // The engine drops cookie deletions until a page of the profile has loaded something:
    // this blank page does, then empties one origin's storage at a time.
    std::unique_ptr<QWebEnginePage> m_worker;
    bool m_workerReady = false;
    QList<QPair<QNetworkCookie, QUrl>> m_pendingDeletions;
    QStringList m_originsToClear;
    QString m_clearScript;
    bool m_siteDataRequested = false;
};

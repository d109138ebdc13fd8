#pragma once

#include "KiteCore/AccountCookie.h"

#include <QList>
#include <QObject>
#include <QStringList>

// The shared web profile's stored data as the account service sees it: its cookies and the
// data sites keep in it. Cookie values never leave the store: a cookie with a value reads
// with a placeholder one, enough for the account rules, which only ask whether it is set.
// ProfileDataStore is the real one.
class SiteDataStore : public QObject
{
    Q_OBJECT

public:
    explicit SiteDataStore(QObject *parent = nullptr);
    ~SiteDataStore() override;

    // Every cookie the profile holds now.
    virtual QList<AccountCookie> cookies() const = 0;
    // Deletes the cookies of that name and domain, whatever their path; cookies() follows
    // once the engine has done it.
    virtual void deleteCookie(const AccountCookie &cookie) = 0;
    // Runs clearScript in a document of each host's https origin to empty its storage;
    // emits siteDataRemoved when done.
    virtual void removeSiteData(const QStringList &hosts, const QString &clearScript) = 0;

Q_SIGNALS:
    void siteDataRemoved();
};

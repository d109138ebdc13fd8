#include "webengine/ProfileDataStore.h"

#include "platform/CookieFile.h"

#include <QDir>
#include <QNetworkCookie>
#include <QPointer>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {

// Stands for every value, so that no value is kept.
const QString valuePlaceholder = QStringLiteral("set");

QString bareHost(const QString &domain)
{
    return domain.startsWith(QLatin1Char('.')) ? domain.mid(1) : domain;
}

} // namespace

ProfileDataStore::ProfileDataStore(std::shared_ptr<QWebEngineProfile> profile, QObject *parent)
    : SiteDataStore(parent)
    , m_profile(std::move(profile))
{
    const QString file = QDir(m_profile->persistentStoragePath()).filePath(QStringLiteral("Cookies"));
    for (const CookieFile::Entry &entry : CookieFile::read(file)) {
        m_cookies.insert(key(entry.domain, entry.name, entry.path),
                         {{entry.name, entry.domain, entry.hasValue ? valuePlaceholder : QString()},
                          entry.path});
    }
    QWebEngineCookieStore *store = m_profile->cookieStore();
    connect(store, &QWebEngineCookieStore::cookieAdded, this, &ProfileDataStore::add);
    connect(store, &QWebEngineCookieStore::cookieRemoved, this, &ProfileDataStore::remove);
}

ProfileDataStore::~ProfileDataStore()
{
    // Nothing the page reports while going down reaches this object.
    if (m_worker)
        m_worker->disconnect(this);
}

QList<AccountCookie> ProfileDataStore::cookies() const
{
    QList<AccountCookie> result;
    result.reserve(m_cookies.size());
    for (const Entry &entry : m_cookies)
        result.append(entry.cookie);
    return result;
}

void ProfileDataStore::deleteCookie(const AccountCookie &cookie)
{
    // The engine deletes by name the cookies it would send to the origin given; https
    // reaches secure and plain cookies alike.
    QWebEngineCookieStore *store = m_profile->cookieStore();
    for (const Entry &entry : std::as_const(m_cookies)) {
        if (entry.cookie.name != cookie.name || entry.cookie.domain != cookie.domain)
            continue;
        QNetworkCookie engineCookie(entry.cookie.name.toUtf8());
        engineCookie.setDomain(entry.cookie.domain);
        engineCookie.setPath(entry.path);
        store->deleteCookie(engineCookie,
                            QUrl(QStringLiteral("https://") + bareHost(entry.cookie.domain) + entry.path));
    }
    // The engine carries out cookie changes only once a page of the profile has loaded
    // something: the worker page sees to that.
    if (!m_worker)
        startWork();
}

void ProfileDataStore::removeSiteData(const QStringList &hosts, const QString &clearScript)
{
    for (const QString &host : hosts)
        m_originsToClear.append(QStringLiteral("https://") + host + QLatin1Char('/'));
    m_clearScript = clearScript;
    m_siteDataRequested = true;
    // A worker at work takes the new origins in turn.
    if (m_worker == nullptr)
        startWork();
}

QString ProfileDataStore::key(const QString &domain, const QString &name, const QString &path)
{
    return domain.toLower() + QLatin1Char('\t') + name + QLatin1Char('\t') + path;
}

void ProfileDataStore::add(const QNetworkCookie &cookie)
{
    const QString name = QString::fromUtf8(cookie.name());
    m_cookies.insert(key(cookie.domain(), name, cookie.path()),
                     {{name, cookie.domain(), cookie.value().isEmpty() ? QString() : valuePlaceholder},
                      cookie.path()});
}

void ProfileDataStore::remove(const QNetworkCookie &cookie)
{
    m_cookies.remove(key(cookie.domain(), QString::fromUtf8(cookie.name()), cookie.path()));
}

void ProfileDataStore::startWork()
{
    m_worker = std::make_unique<QWebEnginePage>(m_profile.get());
    m_workerReady = false;
    connect(m_worker.get(), &QWebEnginePage::loadFinished, this, [this] {
        // The first load is the blank page; each later one is an origin to empty.
        if (!std::exchange(m_workerReady, true)) {
            clearNextOrigin();
            return;
        }
        QPointer<ProfileDataStore> self(this);
        m_worker->runJavaScript(m_clearScript, [self](const QVariant &) {
            if (self)
                self->clearNextOrigin();
        });
    });
    m_worker->load(QUrl(QStringLiteral("about:blank")));
}

void ProfileDataStore::clearNextOrigin()
{
    if (m_originsToClear.isEmpty()) {
        // Let go of the page from the event loop: this may run inside its own callback.
        m_worker->disconnect(this);
        m_worker.release()->deleteLater();
        if (std::exchange(m_siteDataRequested, false))
            Q_EMIT siteDataRemoved();
        return;
    }
    // A document with the origin as its base URL belongs to that origin without loading
    // anything from the network (the empty icon keeps the engine from asking for one).
    m_worker->setHtml(QStringLiteral("<html><head><link rel=icon href=\"data:,\"></head></html>"),
                      QUrl(m_originsToClear.takeFirst()));
}

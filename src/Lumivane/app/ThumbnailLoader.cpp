#include "app/ThumbnailLoader.h"

#include "platform/AppPaths.h"
#include "platform/ImageFetcher.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

ThumbnailLoader::ThumbnailLoader(ImageFetcher &fetcher, QString cacheFolder, QObject *parent)
    : QObject(parent)
    , m_fetcher(fetcher)
    , m_cacheFolder(std::move(cacheFolder))
{
    connect(&m_fetcher, &ImageFetcher::fetched, this, &ThumbnailLoader::onFetched);
    connect(&m_fetcher, &ImageFetcher::failed, this, &ThumbnailLoader::onFailed);
}

QString ThumbnailLoader::cachePath(const QString &urlString) const
{
    const QByteArray hash =
        QCryptographicHash::hash(urlString.toUtf8(), QCryptographicHash::Sha1).toHex();
    return m_cacheFolder + u'/' + QString::fromLatin1(hash) + QStringLiteral(".jpg");
}

QImage ThumbnailLoader::image(const QString &urlString)
{
    if (const auto found = m_images.constFind(urlString); found != m_images.constEnd())
        return *found;
    if (m_failed.contains(urlString))
        return {};
    if (const QImage cached(cachePath(urlString)); !cached.isNull()) {
        m_images.insert(urlString, cached);
        return cached;
    }
    const QUrl url(urlString, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"https") {
        m_failed.insert(urlString);
        return {};
    }
    const QString key = url.toString(QUrl::FullyEncoded);
    if (m_pending.contains(key))
        return {};
    m_pending.insert(key, urlString);
    m_fetcher.fetch(url, maxBytes);
    return {};
}

void ThumbnailLoader::onFetched(const QUrl &url, const QByteArray &bytes)
{
    const QString urlString = m_pending.take(url.toString(QUrl::FullyEncoded));
    if (urlString.isEmpty())
        return;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    // The announced size is checked before decoding, so a tiny file cannot ask for a huge image.
    if (!size.isValid() || size.width() > maxSourceEdge || size.height() > maxSourceEdge) {
        m_failed.insert(urlString);
        return;
    }
    if (size.width() > maxEdge || size.height() > maxEdge)
        reader.setScaledSize(size.scaled(maxEdge, maxEdge, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull()) {
        m_failed.insert(urlString);
        return;
    }
    m_images.insert(urlString, image);
    // A cache that cannot be written only costs a fetch next time.
    if (AppPaths::ensurePrivateFolder(m_cacheFolder))
        image.save(cachePath(urlString), "JPG", 85);
    Q_EMIT ready(urlString);
}

void ThumbnailLoader::onFailed(const QUrl &url)
{
    const QString urlString = m_pending.take(url.toString(QUrl::FullyEncoded));
    if (!urlString.isEmpty())
        m_failed.insert(urlString);
}

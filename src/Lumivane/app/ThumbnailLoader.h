#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>

class ImageFetcher;
class QUrl;

// History thumbnails for the home window. An image is answered from memory or the disk cache
// at once; otherwise it is fetched in the background (https only, size-capped), scaled down,
// cached and announced with ready(). A link that failed once is not asked for again in this run.
class ThumbnailLoader final : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 maxBytes = 2 * 1024 * 1024;
    static constexpr int maxEdge = 320;
    static constexpr int maxSourceEdge = 8192;

    ThumbnailLoader(ImageFetcher &fetcher, QString cacheFolder, QObject *parent = nullptr);

    // Null while the image is not at hand (yet, or ever).
    QImage image(const QString &urlString);

Q_SIGNALS:
    void ready(const QString &urlString);

private:
    void onFetched(const QUrl &url, const QByteArray &bytes);
    void onFailed(const QUrl &url);
    QString cachePath(const QString &urlString) const;

    ImageFetcher &m_fetcher;
    QString m_cacheFolder;
    QHash<QString, QImage> m_images;
    // Fetches under way: the link as fetched, to the text it was asked for with.
    QHash<QString, QString> m_pending;
    QSet<QString> m_failed;
};

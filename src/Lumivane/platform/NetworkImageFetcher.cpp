#include "platform/NetworkImageFetcher.h"

#include <QMetaObject>
#include <QNetworkReply>
#include <QNetworkRequest>

NetworkImageFetcher::NetworkImageFetcher(QObject *parent)
    : ImageFetcher(parent)
{
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    m_network.setTransferTimeout(timeoutMs);
}

void NetworkImageFetcher::fetch(const QUrl &url, qint64 maxBytes)
{
    if (url.scheme() != u"https" || url.host().isEmpty()) {
        QMetaObject::invokeMethod(this, [this, url] { Q_EMIT failed(url); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QNetworkReply *reply = m_network.get(request);
    // A large announced or received body is abandoned at once, not read to the end.
    connect(reply, &QNetworkReply::downloadProgress, reply,
            [reply, maxBytes](qint64 received, qint64 total) {
                if (received > maxBytes || total > maxBytes)
                    reply->abort();
            });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, url, maxBytes] { finish(reply, url, maxBytes); });
}

void NetworkImageFetcher::finish(QNetworkReply *reply, const QUrl &url, qint64 maxBytes)
{
    reply->deleteLater();
    const QByteArray bytes = reply->error() == QNetworkReply::NoError ? reply->read(maxBytes + 1)
                                                                       : QByteArray();
    // A redirect may only land on https too (the policy forbids a downgrade).
    if (bytes.isEmpty() || bytes.size() > maxBytes || reply->url().scheme() != u"https")
        Q_EMIT failed(url);
    else
        Q_EMIT fetched(url, bytes);
}

#pragma once

#include "platform/ImageFetcher.h"

#include <QNetworkAccessManager>

class QNetworkReply;

// ImageFetcher over Qt's network stack: https only (redirects included), a transfer
// timeout, and the download is cut off as soon as it grows past the cap.
class NetworkImageFetcher final : public ImageFetcher
{
    Q_OBJECT

public:
    static constexpr int timeoutMs = 15000;

    explicit NetworkImageFetcher(QObject *parent = nullptr);

    void fetch(const QUrl &url, qint64 maxBytes) override;

private:
    void finish(QNetworkReply *reply, const QUrl &url, qint64 maxBytes);

    QNetworkAccessManager m_network;
};

#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>

// Fetches small images from the network for the history list. Each fetch reports exactly
// once, on the GUI thread: fetched with the bytes, or failed.
class ImageFetcher : public QObject
{
    Q_OBJECT

public:
    ~ImageFetcher() override;

    // Only https links are fetched; a body larger than maxBytes fails.
    virtual void fetch(const QUrl &url, qint64 maxBytes) = 0;

Q_SIGNALS:
    void fetched(const QUrl &url, const QByteArray &bytes);
    void failed(const QUrl &url);

protected:
    using QObject::QObject;
};

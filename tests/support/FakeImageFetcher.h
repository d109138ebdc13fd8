#pragma once

#include "platform/ImageFetcher.h"

#include <QList>

// An ImageFetcher that records what it is asked; the test answers with the signals.
class FakeImageFetcher final : public ImageFetcher
{
public:
    void fetch(const QUrl &url, qint64 maxBytes) override
    {
        requests.append(url);
        lastMaxBytes = maxBytes;
    }

    QList<QUrl> requests;
    qint64 lastMaxBytes = 0;
};

#include "app/DropPayload.h"

#include <QFileInfo>
#include <QList>
#include <QMimeData>

#include <optional>

namespace {

std::optional<QUrl> firstUrl(const QList<QUrl> &urls, bool localFile)
{
    for (const QUrl &url : urls) {
        if (url.isValid() && !url.isEmpty() && url.isLocalFile() == localFile)
            return url;
    }
    return std::nullopt;
}

DropPayload fromFile(const QUrl &url)
{
    const QString path = url.toLocalFile();
    if (QFileInfo(path).isDir())
        return {DropPayload::Action::addFolder, url, {}, {}};
    return {DropPayload::Action::open, {}, path, url.toString(QUrl::FullyEncoded)};
}

} // namespace

DropPayload DropPayload::decide(const QMimeData &data)
{
    const QList<QUrl> urls = data.hasUrls() ? data.urls() : QList<QUrl>{};
    if (const std::optional<QUrl> file = firstUrl(urls, true))
        return fromFile(*file);
    if (const std::optional<QUrl> url = firstUrl(urls, false)) {
        const QString text = url->toString(QUrl::FullyEncoded);
        return {Action::open, {}, text, text};
    }
    // Blank text carries nothing to open; refusing it tells the user before they let go.
    if (data.hasText() && !data.text().trimmed().isEmpty())
        return {Action::open, {}, data.text(), data.text()};
    return {};
}

#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Cleans preview-image addresses reported by web pages: only http(s) with a host, upgraded to https.
namespace ThumbnailURL {
std::optional<QUrl> normalize(const QString &text);
}

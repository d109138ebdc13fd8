#pragma once

#include <QDateTime>
#include <QString>

// Names of screenshot files: "<title>-<yyyyMMdd-HHmmss>.png", safe to use as one file name.
namespace Screenshots {
// Every path separator, wildcard, quote and control character becomes "-"; the result keeps
// at most 80 user-perceived characters (and never more UTF-8 bytes than fit in a file name
// beside the timestamp) and is trimmed. It may be empty.
QString sanitizeFileName(const QString &name);

// The file name for a screenshot taken at the given moment; an empty title reads "截图".
QString fileName(const QString &title, const QDateTime &moment);
} // namespace Screenshots

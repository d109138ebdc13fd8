#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <expected>
#include <optional>

// Whole-file storage for the local JSON stores. Writes never leave a half-written file:
// the bytes go to a temporary file beside the target, which then replaces it in one
// rename. Files are created readable by their owner only, folders likewise. Failures
// come back as a short description that names the path.
namespace SafeFile {
// Creates the folder and every missing parent, each with owner-only access.
std::expected<void, QString> ensureFolder(const QString &folder);

// Replaces the file's content as a whole (creating its folder first).
std::expected<void, QString> write(const QString &fileName, const QByteArray &data);

// The whole content, or nullopt when nothing exists at that path. Only a regular file of at
// most maxBytes is read; anything else (a folder, a FIFO, a device, a larger file) is refused
// without opening it for more than a look, so a reader never blocks.
std::expected<std::optional<QByteArray>, QString> read(const QString &fileName, qint64 maxBytes);

// Keeps a damaged file as "<name>.damaged-<yyyyMMdd-HHmmss>" (local time of `at`), adding
// "-2", "-3", ... rather than replacing an earlier copy. Returns the copy's path. A copy with
// the same content already there is reused, so a file left damaged is kept once however
// often it is found. What read() refuses or cannot read is moved there instead.
std::expected<QString, QString> keepDamagedCopy(const QString &fileName, const QDateTime &at,
                                                qint64 maxBytes);

// Temporary files that a killed writer left beside the target; removed at load.
void removeStaleTemporaries(const QString &fileName);
} // namespace SafeFile

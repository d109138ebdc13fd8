#include "KiteCore/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace {

constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString described(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(path.toStdString());
}

QString fromErrorCode(const std::error_code &error)
{
    return QString::fromLocal8Bit(error.message());
}

// ".history-" + uuid + ".tmp" for "history.json": hidden, and unmistakably ours.
QString temporaryPrefix(const QFileInfo &target)
{
    return QStringLiteral(".%1-").arg(target.completeBaseName());
}

QString temporaryName(const QFileInfo &target)
{
    return target.absolutePath() + QLatin1Char('/') + temporaryPrefix(target)
           + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".tmp");
}

bool occupied(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString freeDamagedName(const QString &fileName, const QDateTime &at)
{
    const QString base = fileName + QStringLiteral(".damaged-")
                         + at.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = base;
    for (int counter = 2; occupied(candidate); ++counter)
        candidate = base + QLatin1Char('-') + QString::number(counter);
    return candidate;
}

std::expected<void, QString> writeTemporary(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile))
        return std::unexpected(described(path, file.errorString()));
    if (file.write(data) != data.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        QFile::remove(path);
        return std::unexpected(described(path, reason));
    }
    // The rename must not publish a file whose blocks are still only in the page cache.
    if (::fsync(file.handle()) != 0) {
        const QString reason = fromErrorCode(std::error_code(errno, std::generic_category()));
        file.close();
        QFile::remove(path);
        return std::unexpected(described(path, reason));
    }
    return {};
}

} // namespace

namespace SafeFile {

std::expected<void, QString> ensureFolder(const QString &folder)
{
    const std::filesystem::path target = nativePath(QDir::cleanPath(QDir(folder).absolutePath()));
    std::error_code error;
    if (std::filesystem::is_directory(target, error))
        return {};

    // Create from the outermost missing folder inwards, each one owner-only.
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path path = target; !path.empty() && !std::filesystem::exists(path, error);
         path = path.parent_path()) {
        missing.push_back(path);
        if (path == path.parent_path())
            break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!std::filesystem::create_directory(*it, error) && error)
            return std::unexpected(described(QString::fromStdString(it->string()), fromErrorCode(error)));
        std::filesystem::permissions(*it, std::filesystem::perms::owner_all, error);
    }
    if (!std::filesystem::is_directory(target, error))
        return std::unexpected(described(folder, QStringLiteral("not a folder")));
    return {};
}

std::expected<void, QString> write(const QString &fileName, const QByteArray &data)
{
    const QFileInfo target(fileName);
    if (auto folder = ensureFolder(target.absolutePath()); !folder)
        return folder;

    const QString temporary = temporaryName(target);
    if (auto written = writeTemporary(temporary, data); !written)
        return written;

    std::error_code error;
    std::filesystem::rename(nativePath(temporary), nativePath(target.absoluteFilePath()), error);
    if (error) {
        QFile::remove(temporary);
        return std::unexpected(described(fileName, fromErrorCode(error)));
    }
    return {};
}

std::expected<std::optional<QByteArray>, QString> read(const QString &fileName)
{
    if (!occupied(fileName))
        return std::optional<QByteArray>();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(described(fileName, file.errorString()));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(described(fileName, file.errorString()));
    return std::optional<QByteArray>(std::move(data));
}

std::expected<QString, QString> keepDamagedCopy(const QString &fileName, const QDateTime &at)
{
    const QString copy = freeDamagedName(fileName, at);
    QFile original(fileName);
    if (original.copy(copy)) {
        QFile::setPermissions(copy, ownerOnlyFile);
        return copy;
    }
    const QString reason = original.errorString();
    // QFile::rename never replaces an existing file, so an earlier copy stays safe.
    if (QFile::rename(fileName, copy))
        return copy;
    return std::unexpected(described(fileName, reason));
}

void removeStaleTemporaries(const QString &fileName)
{
    const QFileInfo target(fileName);
    const QDir folder = target.absoluteDir();
    const QString pattern = temporaryPrefix(target) + QStringLiteral("*.tmp");
    const QStringList stale = folder.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : stale)
        QFile::remove(folder.filePath(name));
}

} // namespace SafeFile

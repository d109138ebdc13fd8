#include "KiteCore/SafeFile.h"

#include "KiteCore/L10n.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
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

QString fromErrno()
{
    return fromErrorCode(std::error_code(errno, std::generic_category()));
}

// Why a file found at the path is not one to read, or nothing when it is.
std::optional<QString> refusal(const struct stat &status, qint64 maxBytes)
{
    if (!S_ISREG(status.st_mode))
        return L("不是普通文件", "not a regular file", "no es un archivo normal");
    if (status.st_size > maxBytes)
        return L("大于任何有效文件（%1 字节）", "larger than any valid file (%1 bytes)",
                 "mayor que cualquier archivo válido (%1 bytes)")
            .arg(status.st_size);
    return std::nullopt;
}

// The content of a regular file, opened without blocking and checked again once open, in
// case the path changed between the look and the open.
std::expected<QByteArray, QString> readRegular(const QString &path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat status = {};
    if (::stat(native.constData(), &status) != 0)
        return std::unexpected(described(path, fromErrno()));
    if (const auto refused = refusal(status, maxBytes))
        return std::unexpected(described(path, *refused));
    const int descriptor = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return std::unexpected(described(path, fromErrno()));
    QFile file;
    if (::fstat(descriptor, &status) != 0 || refusal(status, maxBytes)
        || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return std::unexpected(described(path, L("读取时文件被替换", "the file changed while it was read",
                                                  "el archivo cambió mientras se leía")));
    }
    QByteArray data = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(described(path, file.errorString()));
    if (data.size() > maxBytes)
        return std::unexpected(described(path, L("读取时文件变大", "the file grew while it was read",
                                                  "el archivo creció mientras se leía")));
    return data;
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

// An earlier damaged copy of the file holding exactly these bytes.
std::optional<QString> identicalCopy(const QString &fileName, const QByteArray &content)
{
    const QFileInfo target(fileName);
    const QFileInfoList copies = target.absoluteDir().entryInfoList(
        {target.fileName() + QStringLiteral(".damaged-*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &copy : copies) {
        if (copy.isSymLink() || copy.size() != content.size())
            continue;
        if (const auto earlier = readRegular(copy.absoluteFilePath(), content.size()); earlier && *earlier == content)
            return copy.absoluteFilePath();
    }
    return std::nullopt;
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

std::expected<std::optional<QByteArray>, QString> read(const QString &fileName, qint64 maxBytes)
{
    if (!occupied(fileName))
        return std::optional<QByteArray>();
    auto data = readRegular(fileName, maxBytes);
    if (!data)
        return std::unexpected(data.error());
    return std::optional<QByteArray>(std::move(*data));
}

std::expected<QString, QString> keepDamagedCopy(const QString &fileName, const QDateTime &at,
                                                qint64 maxBytes)
{
    // Copied, a readable file stays where it was until a save replaces it.
    const auto content = readRegular(fileName, maxBytes);
    if (content) {
        if (auto earlier = identicalCopy(fileName, *content))
            return *earlier;
        const QString copy = freeDamagedName(fileName, at);
        if (writeTemporary(copy, *content))
            return copy;
    }
    // Anything else is moved: copying a FIFO blocks and a device never ends. QFile::rename
    // never replaces an existing file, so an earlier copy stays safe.
    const QString copy = freeDamagedName(fileName, at);
    if (QFile::rename(fileName, copy))
        return copy;
    return std::unexpected(content ? described(fileName, L("无法另存", "cannot be kept aside",
                                                           "no se puede apartar"))
                                   : content.error());
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

#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace RuntimeFolder {

QStringList candidates()
{
    const QString perUser = QStringLiteral("lumivane-%1").arg(::geteuid());
    QStringList paths;
    if (const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        paths << runtime + QStringLiteral("/lumivane");
    paths << QDir::tempPath() + u'/' + perUser;
    if (const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        !cache.isEmpty())
        paths << cache + u'/' + perUser;
    return paths;
}

std::expected<QString, QString> claim(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return std::unexpected(path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
    // lstat: a link planted by someone else must not lead us into their folder.
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        return std::unexpected(path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(info.st_mode))
        return std::unexpected(path + QStringLiteral(" is not a folder"));
    if (info.st_uid != ::geteuid())
        return std::unexpected(path + QStringLiteral(" belongs to user %1").arg(info.st_uid));
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return std::unexpected(path + QStringLiteral(" is open to other users (mode %1)")
                                          .arg(info.st_mode & 0777, 3, 8, QLatin1Char('0')));
    return path;
}

std::expected<QString, QString> first(const QStringList &paths)
{
    QStringList reasons;
    for (const QString &path : paths) {
        const std::expected<QString, QString> folder = claim(path);
        if (folder)
            return folder;
        reasons << folder.error();
    }
    return std::unexpected(reasons.join(u'\n'));
}

} // namespace RuntimeFolder

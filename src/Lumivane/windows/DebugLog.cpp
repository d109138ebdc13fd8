#include "DebugLog.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <charconv>
#include <chrono>
#include <iterator>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString defaultFile = QStringLiteral("/tmp/lumivane-grab.log");

QMutex &fileLock()
{
    static QMutex lock;
    return lock;
}

// Guarded by fileLock().
QString &overrideFile()
{
    static QString path;
    return path;
}

bool enabled()
{
    return qgetenv("LUMIVANE_DEBUG") == "1";
}

double now()
{
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}

// The file sits in a world-writable folder: never follow a link planted there, and keep
// what is written readable by the owner only. One write() per line, so lines stay whole.
void appendTo(const QString &path, const QByteArray &bytes)
{
    const QByteArray nativePath = QFile::encodeName(path);
    const int fd = ::open(nativePath.constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t written =
        ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    ::close(fd);
}

// Plain digits as long as they fit; absurd magnitudes fall back to exponent form.
QByteArray shortestDecimal(double value)
{
    char digits[64];
    std::to_chars_result result =
        std::to_chars(std::begin(digits), std::end(digits), value, std::chars_format::fixed);
    if (result.ec != std::errc())
        result = std::to_chars(std::begin(digits), std::end(digits), value);
    return QByteArray(digits, static_cast<qsizetype>(result.ptr - digits));
}

} // namespace

namespace DebugLog {

void grab(const QString &message)
{
    if (!enabled())
        return;
    const QMutexLocker locker(&fileLock());
    const QString &path = overrideFile().isEmpty() ? defaultFile : overrideFile();
    appendTo(path, line(now(), message));
}

QByteArray line(double secondsSince1970, const QString &message)
{
    QByteArray bytes = shortestDecimal(secondsSince1970);
    bytes += ' ';
    bytes += message.toUtf8();
    bytes += '\n';
    return bytes;
}

void setFileForTesting(const QString &path)
{
    const QMutexLocker locker(&fileLock());
    overrideFile() = path;
}

} // namespace DebugLog

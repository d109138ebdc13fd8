#include "platform/DebugLog.h"

#include "platform/TmpLogFile.h"

#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

#include <charconv>
#include <chrono>
#include <iterator>
#include <system_error>

namespace {

const QString defaultFile = QStringLiteral("/tmp/lumivane-grab.log");
const QString webFile = QStringLiteral("/tmp/kt-web.log");

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

double now()
{
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
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

bool enabled()
{
    return qgetenv("LUMIVANE_DEBUG") == "1";
}

void debug(const QString &message)
{
    if (!enabled())
        return;
    const QByteArray bytes = message.toUtf8() + '\n';
    const QMutexLocker locker(&fileLock());
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void web(const QByteArray &bytes)
{
    if (!enabled())
        return;
    const QMutexLocker locker(&fileLock());
    TmpLogFile::append(webFile, bytes);
}

void grab(const QString &message)
{
    if (!enabled())
        return;
    const QMutexLocker locker(&fileLock());
    const QString &path = overrideFile().isEmpty() ? defaultFile : overrideFile();
    // A log in /tmp: the helper refuses planted links and keeps the file owner-only.
    TmpLogFile::append(path, line(now(), message));
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

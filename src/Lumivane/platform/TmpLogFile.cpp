#include "platform/TmpLogFile.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace TmpLogFile {

bool append(const QString &path, const QByteArray &bytes)
{
    const QByteArray nativePath = QFile::encodeName(path);
    const int fd = ::open(nativePath.constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const ssize_t written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    ::close(fd);
    return written == static_cast<ssize_t>(bytes.size());
}

} // namespace TmpLogFile

#include "SoundDevices.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace SoundDevices {
bool available()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    for (const QString &socket : {QStringLiteral("pulse/native"), QStringLiteral("pipewire-0")}) {
        if (!runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(socket)))
            return true;
    }
    const QStringList playback =
        QDir(QStringLiteral("/dev/snd")).entryList({QStringLiteral("pcmC*D*p")}, QDir::System);
    return !playback.isEmpty();
}
} // namespace SoundDevices

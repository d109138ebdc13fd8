#include "platform/UserDefaults.h"

#include "platform/AppPaths.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions privateFolder = ownerOnly | QFile::ExeOwner;

void createPrivateFile(const QString &file)
{
    if (QFileInfo::exists(file))
        return;
    QFile created(file);
    if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        created.setPermissions(ownerOnly);
}

// The folder is the application's own, so one left open by an earlier run is closed too.
std::unique_ptr<QSettings> openStandard()
{
    const QString file = AppPaths::settingsFile();
    auto settings = UserDefaults::open(file);
    QFile::setPermissions(QFileInfo(file).absolutePath(), privateFolder);
    return settings;
}

} // namespace

namespace UserDefaults {

QSettings &standard()
{
    static const std::unique_ptr<QSettings> instance = openStandard();
    return *instance;
}

std::unique_ptr<QSettings> open(const QString &file)
{
    AppPaths::ensurePrivateFolder(QFileInfo(file).absolutePath());
    createPrivateFile(file);
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

void save(QSettings &settings)
{
    settings.sync();
    const QString file = settings.fileName();
    if (QFileInfo::exists(file))
        QFile::setPermissions(file, ownerOnly);
}

} // namespace UserDefaults

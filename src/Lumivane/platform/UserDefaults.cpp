#include "UserDefaults.h"

#include "AppPaths.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

void createPrivateFile(const QString &file)
{
    if (QFileInfo::exists(file))
        return;
    QFile created(file);
    if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        created.setPermissions(ownerOnly);
}

} // namespace

namespace UserDefaults {

QSettings &standard()
{
    static const std::unique_ptr<QSettings> instance = open(AppPaths::settingsFile());
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

#include "platform/UserDefaults.h"

#include "platform/AppPaths.h"

#include "KiteCore/L10n.h"
#include "KiteCore/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions privateFolder = ownerOnly | QFile::ExeOwner;
// Years of settings and window records stay far below this.
constexpr qint64 maxSettingsBytes = 16 * 1024 * 1024;

void createPrivateFile(const QString &file)
{
    if (QFileInfo::exists(file))
        return;
    QFile created(file);
    if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        created.setPermissions(ownerOnly);
}

// What Qt writes is UTF-8 text without control characters other than tabs and line ends.
bool isSettingsText(const QByteArray &data)
{
    for (const char c : data) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')
            return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder.decode(data);
    return !decoder.hasError();
}

// A file that is no settings text is kept aside and taken away, so that the first save
// writes clean settings instead of rewriting the damage beyond recognition.
void setAsideIfDamaged(const QString &file)
{
    const auto data = SafeFile::read(file, maxSettingsBytes);
    if (data && (!*data || isSettingsText(**data)))
        return;
    if (SafeFile::keepDamagedCopy(file, QDateTime::currentDateTime(), maxSettingsBytes))
        QFile::remove(file);
}

// The folder is the application's own, so one left open by an earlier run is closed too;
// a file or a link in its place is not ours to change.
void closeFolder(const QString &file)
{
    const QFileInfo folder(QFileInfo(file).absolutePath());
    if (folder.isDir() && !folder.isSymLink())
        QFile::setPermissions(folder.absoluteFilePath(), privateFolder);
}

bool canWriteIn(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.write-probe-XXXXXX"));
    return probe.open();
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
    closeFolder(file);
    setAsideIfDamaged(file);
    createPrivateFile(file);
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

std::optional<QString> save(QSettings &settings)
{
    settings.sync();
    const QString file = settings.fileName();
    // QSettings keeps its first access error for good, so the folder is asked whether this
    // save could go through.
    if (settings.status() != QSettings::NoError && !canWriteIn(QFileInfo(file).absolutePath()))
        return L("设置无法保存，更改在退出后会丢失：%1",
                 "Couldn't save the settings; changes will be lost on quit: %1",
                 "No se han podido guardar los ajustes; los cambios se perderán al salir: %1")
            .arg(QDir::toNativeSeparators(file));
    if (QFileInfo(file).isFile())
        QFile::setPermissions(file, ownerOnly);
    return std::nullopt;
}

} // namespace UserDefaults

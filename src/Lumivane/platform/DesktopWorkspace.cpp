#include "platform/DesktopWorkspace.h"

#include "KiteCore/L10n.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace {

// Players Lumivane knows how to hand a source to, by setting value and executable name.
// Anything else (a stored "iina" included) is not installed here.
std::optional<QString> playerExecutableName(const QString &name)
{
    if (name == u"vlc" || name == u"mpv")
        return name;
    return std::nullopt;
}

// The MIME type whose default handler opens the URL: the file's type for local files
// (the same shared-mime-info database xdg-mime consults), else the scheme's handler type.
std::optional<QString> handlerType(const QUrl &url)
{
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty())
            return std::nullopt;
        return QMimeDatabase().mimeTypeForFile(path).name();
    }
    if (url.scheme().isEmpty())
        return std::nullopt;
    return QStringLiteral("x-scheme-handler/") + url.scheme().toLower();
}

void openContainingFolder(const QString &absolutePath)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(absolutePath).absolutePath()));
}

} // namespace

DesktopWorkspace::DesktopWorkspace(std::chrono::milliseconds queryTimeout)
    : m_queryTimeout(queryTimeout)
{
}

bool DesktopWorkspace::openUrl(const QUrl &url)
{
    return url.isValid() && QDesktopServices::openUrl(url);
}

std::optional<QString> DesktopWorkspace::defaultHandler(const QUrl &url)
{
    const std::optional<QString> type = handlerType(url);
    if (!type)
        return std::nullopt;
    return queryDefault(*type);
}

std::optional<QString> DesktopWorkspace::queryDefault(const QString &mimeType) const
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return std::nullopt;
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    const QDeadlineTimer deadline(m_queryTimeout);
    if (!query.waitForStarted(int(deadline.remainingTime()))
        || !query.waitForFinished(int(deadline.remainingTime()))) {
        query.kill();
        query.waitForFinished(100);
        return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return std::nullopt;
    const QString entry = QString::fromLocal8Bit(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    if (entry.isEmpty())
        return std::nullopt;
    return entry;
}

std::optional<QString> DesktopWorkspace::findPlayer(const QString &name)
{
    const std::optional<QString> executableName = playerExecutableName(name);
    if (!executableName)
        return std::nullopt;
    const QString executable = QStandardPaths::findExecutable(*executableName);
    if (executable.isEmpty())
        return std::nullopt;
    return executable;
}

std::expected<void, QString> DesktopWorkspace::launchPlayer(const QString &executable, const QUrl &url)
{
    // A relative or dash-led argument could be read as a file beside the player or an option.
    const QString argument = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    if (!url.isValid() || url.isRelative() || argument.isEmpty() || argument.startsWith(u'-')) {
        return std::unexpected(L("无法把这个地址交给外部播放器。",
                                 "This address can't be handed to an external player.",
                                 "Esta dirección no se puede pasar a un reproductor externo."));
    }
    QProcess player;
    player.setProgram(executable);
    player.setArguments({argument});
    player.setStandardInputFile(QProcess::nullDevice());
    if (!player.startDetached()) {
        const QString name = QFileInfo(executable).fileName();
        return std::unexpected(L("无法启动 %1。", "Couldn't start %1.", "No se pudo iniciar %1.").arg(name));
    }
    return {};
}

void DesktopWorkspace::revealFile(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openContainingFolder(absolute);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, int(m_queryTimeout.count())));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [absolute](QDBusPendingCallWatcher *done) {
        if (done->isError())
            openContainingFolder(absolute);
        done->deleteLater();
    });
}

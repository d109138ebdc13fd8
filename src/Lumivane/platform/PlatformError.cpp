#include "platform/PlatformError.h"

#include <QFileInfo>

#include <mpv/client.h>

#include <optional>

namespace {

bool anyContains(const QStringList &lines, std::initializer_list<const char *> needles)
{
    for (const QString &line : lines) {
        for (const char *needle : needles) {
            if (line.contains(QLatin1String(needle), Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}

std::optional<int> networkCause(const QStringList &warnings)
{
    using E = PlatformError;
    if (anyContains(warnings, {"network is unreachable", "no route to host"}))
        return E::notConnectedToInternet;
    if (anyContains(warnings, {"connection refused"}))
        return E::cannotConnectToHost;
    if (anyContains(warnings, {"resolve hostname", "name or service not known",
                               "name resolution", "no address associated"}))
        return E::cannotFindHost;
    if (anyContains(warnings, {"timed out", "timeout"}))
        return E::timedOut;
    if (anyContains(warnings, {"tls", "ssl", "certificate", "handshake"}))
        return E::secureConnectionFailed;
    return std::nullopt;
}

int mediaCause(int mpvError, const QStringList &warnings, const QUrl &url)
{
    using E = PlatformError;
    if (url.isLocalFile()) {
        const QFileInfo info(url.toLocalFile());
        if (!info.exists())
            return E::fileMissing;
        if (info.isFile() && info.size() == 0)
            return E::fileEmpty;
    }
    if (anyContains(warnings, {"permission denied"}))
        return E::permissionDenied;
    if (anyContains(warnings, {"404", "not found"}))
        return E::notOnServer;
    if (mpvError == MPV_ERROR_UNKNOWN_FORMAT)
        return E::unknownFormat;
    return E::openFailed;
}

} // namespace

PlatformError PlatformError::fromMpvLoadFailure(int mpvError, const QString &mpvDescription,
                                                const QStringList &warnings, const QUrl &url)
{
    const QString firstWarning = warnings.value(0);
    if (!url.isLocalFile()) {
        if (const std::optional<int> network = networkCause(warnings))
            return {Domain::urlLoading, *network, firstWarning};
    }
    if (mpvError == MPV_ERROR_LOADING_FAILED || mpvError == MPV_ERROR_UNKNOWN_FORMAT)
        return {Domain::media, mediaCause(mpvError, warnings, url), firstWarning};
    return {Domain::other, mpvError, mpvDescription};
}

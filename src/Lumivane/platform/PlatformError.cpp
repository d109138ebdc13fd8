#include "platform/PlatformError.h"

#include "KiteCore/L10n.h"

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

std::optional<PlatformError> networkCause(const QStringList &warnings)
{
    using E = PlatformError;
    const auto make = [](int code, const QString &text) {
        return E{E::Domain::urlLoading, code, text};
    };
    if (anyContains(warnings, {"network is unreachable", "no route to host"}))
        return make(E::notConnectedToInternet,
                    L("当前没有网络连接。", "You're offline.", "No hay conexión a internet."));
    if (anyContains(warnings, {"connection refused"}))
        return make(E::cannotConnectToHost,
                    L("无法连接到这个网站。", "Couldn't connect to this site.",
                      "No se pudo conectar con este sitio."));
    if (anyContains(warnings, {"resolve hostname", "name or service not known",
                               "name resolution", "no address associated"}))
        return make(E::cannotFindHost,
                    L("找不到这个网站的服务器。", "The server for this site couldn't be found.",
                      "No se encontró el servidor de este sitio."));
    if (anyContains(warnings, {"timed out", "timeout"}))
        return make(E::timedOut,
                    L("连接超时了。", "The connection timed out.", "La conexión agotó el tiempo."));
    if (anyContains(warnings, {"tls", "ssl", "certificate", "handshake"}))
        return make(E::secureConnectionFailed,
                    L("网站的安全连接建立失败。", "The site's secure connection failed.",
                      "Falló la conexión segura del sitio."));
    return std::nullopt;
}

QString mediaDescription(int mpvError, const QStringList &warnings, const QUrl &url)
{
    if (url.isLocalFile()) {
        const QFileInfo info(url.toLocalFile());
        if (!info.exists())
            return L("文件不存在。", "The file doesn't exist.", "El archivo no existe.");
        if (info.isFile() && info.size() == 0)
            return L("文件是空的。", "The file is empty.", "El archivo está vacío.");
    }
    if (anyContains(warnings, {"permission denied"}))
        return L("没有读取这个文件的权限。", "There is no permission to read this file.",
                 "No hay permiso para leer este archivo.");
    if (anyContains(warnings, {"404", "not found"}))
        return L("服务器上没有这个媒体。", "The server has no media at this address.",
                 "El servidor no tiene contenido en esta dirección.");
    if (mpvError == MPV_ERROR_UNKNOWN_FORMAT)
        return L("无法识别的媒体格式，文件可能已损坏或不是音视频。",
                 "Unrecognised media format: the file may be damaged or not audio or video.",
                 "Formato no reconocido: el archivo puede estar dañado o no ser audio ni vídeo.");
    const QString detail = warnings.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(warnings.first());
    return L("无法打开这个媒体。", "The media couldn't be opened.", "No se pudo abrir el contenido.")
        + detail;
}

} // namespace

PlatformError PlatformError::fromMpvLoadFailure(int mpvError, const QStringList &warnings,
                                                const QUrl &url)
{
    if (!url.isLocalFile()) {
        if (auto network = networkCause(warnings))
            return *network;
    }
    if (mpvError == MPV_ERROR_LOADING_FAILED || mpvError == MPV_ERROR_UNKNOWN_FORMAT)
        return {Domain::media, mpvError, mediaDescription(mpvError, warnings, url)};
    return {Domain::other, mpvError, QString::fromUtf8(mpv_error_string(mpvError))};
}

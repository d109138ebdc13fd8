#include "playback/ErrorClassifier.h"

#include "KiteCore/L10n.h"

#include <cmath>

namespace {

using E = PlatformError;

QString unknownErrorText()
{
    return L("发生了未知错误。", "An unknown error occurred.", "Ocurrió un error desconocido.");
}

// The engine's own words, or the unknown-error text when it gave none.
QString describe(const PlatformError &error)
{
    return error.description.trimmed().isEmpty() ? unknownErrorText() : error.description;
}

// The lead sentence, followed by the engine's words in brackets when it had any.
QString withDetail(const QString &lead, const PlatformError &error)
{
    const QString detail = error.description.trimmed();
    return detail.isEmpty() ? lead : lead + QStringLiteral(" (%1)").arg(detail);
}

QString urlLoadingText(const PlatformError &error, AppError::Kind fallbackKind)
{
    switch (error.code) {
    case E::secureConnectionFailed:
    case E::serverCertificateUntrusted:
        return L("网站的安全连接建立失败。", "The site's secure connection failed.",
                 "Falló la conexión segura del sitio.");
    case E::notConnectedToInternet:
        return L("当前没有网络连接。", "You're offline.", "No hay conexión a internet.");
    case E::cannotConnectToHost:
        return L("无法连接到这个网站。", "Couldn't connect to this site.",
                 "No se pudo conectar con este sitio.");
    case E::timedOut:
        return L("连接超时了。", "The connection timed out.", "La conexión agotó el tiempo.");
    case E::cannotFindHost:
    case E::dnsLookupFailed:
        return L("找不到这个网站的服务器。", "The server for this site couldn't be found.",
                 "No se encontró el servidor de este sitio.");
    case E::cancelled:
        return L("加载已取消。", "Loading was cancelled.", "Se canceló la carga.");
    default:
        break;
    }
    // A web engine's words are internal names (net::ERR_…), never a sentence.
    if (fallbackKind == AppError::Kind::web)
        return withDetail(L("无法打开这个网页。", "The page couldn't be opened.",
                            "No se pudo abrir la página."),
                          error);
    return describe(error);
}

QString mediaText(const PlatformError &error)
{
    switch (error.code) {
    case E::fileMissing:
        return L("文件不存在。", "The file doesn't exist.", "El archivo no existe.");
    case E::fileEmpty:
        return L("文件是空的。", "The file is empty.", "El archivo está vacío.");
    case E::permissionDenied:
        return L("没有读取这个文件的权限。", "There is no permission to read this file.",
                 "No hay permiso para leer este archivo.");
    case E::notOnServer:
        return L("服务器上没有这个媒体。", "The server has no media at this address.",
                 "El servidor no tiene contenido en esta dirección.");
    case E::unknownFormat:
        return L("无法识别的媒体格式，文件可能已损坏或不是音视频。",
                 "Unrecognised media format: the file may be damaged or not audio or video.",
                 "Formato no reconocido: el archivo puede estar dañado o no ser audio ni vídeo.");
    case E::openFailed:
        return withDetail(L("无法打开这个媒体。", "The media couldn't be opened.",
                            "No se pudo abrir el contenido."),
                          error);
    default:
        return describe(error);
    }
}

} // namespace

namespace ErrorClassifier {

AppError classify(const std::optional<PlatformError> &error, AppError::Kind fallbackKind)
{
    if (!error)
        return AppError(fallbackKind, unknownErrorText());
    switch (error->domain) {
    case E::Domain::urlLoading: return AppError::network(urlLoadingText(*error, fallbackKind));
    case E::Domain::media: return AppError::decode(mediaText(*error));
    case E::Domain::other: break;
    }
    if (error->code == E::playerUnavailable)
        return AppError(fallbackKind, L("无法启动播放器。", "The player couldn't be started.",
                                        "No se pudo iniciar el reproductor."));
    return AppError(fallbackKind, describe(*error));
}

AppError rendererStopped()
{
    return AppError(AppError::Kind::web,
                    L("网页进程意外停止。", "The web process stopped unexpectedly.",
                      "El proceso web se detuvo inesperadamente."),
                    L("重新加载即可恢复；已填写的网页内容可能需要重新登录。",
                      "Reload to recover. Some pages may need a fresh sign-in.",
                      "Recarga para recuperar. Algunas páginas pueden pedir iniciar sesión."));
}

AppError otherApp(const QString &scheme)
{
    const QString target = scheme + QStringLiteral("://");
    return AppError(AppError::Kind::web,
                    L(QStringLiteral("这个页面想打开其他应用（%1）。").arg(target),
                      QStringLiteral("This page tried to open another app (%1).").arg(target),
                      QStringLiteral("Esta página intentó abrir otra app (%1).").arg(target)),
                    L("用浏览器打开可以继续。", "Open in a browser to continue.",
                      "Abre en un navegador para continuar."));
}

AppError webStall()
{
    return AppError(AppError::Kind::web,
                    L("网页播放卡住了。", "Web playback got stuck.", "La reproducción web se atascó."),
                    L("点重试重新加载页面；也可以改用浏览器打开。",
                      "Retry to reload the page, or open it in a browser.",
                      "Reintenta para recargar la página o ábrela en el navegador."));
}

AppError watchdog(bool localFile)
{
    if (localFile)
        return AppError(AppError::Kind::storage,
                        L("文件打开超过 30 秒仍未完成。", "The file still hasn't opened after 30 seconds.",
                          "El archivo sigue sin abrirse tras 30 segundos."),
                        L("它可能不是普通文件，或所在的磁盘没有响应。",
                          "It may not be a regular file, or its disk isn't responding.",
                          "Puede que no sea un archivo normal o que su disco no responda."));
    return AppError(AppError::Kind::network,
                    L("加载超过 30 秒仍未完成。", "Still loading after 30 seconds.",
                      "Aún cargando tras 30 segundos."),
                    L("检查网络后重试，或改用浏览器打开。",
                      "Check your connection and retry, or open in a browser.",
                      "Comprueba la red y reintenta, o ábrelo en el navegador."));
}

AppError nativeStall(int stallSeconds)
{
    return AppError(AppError::Kind::network,
                    L(QStringLiteral("视频流已有 %1 秒没有传来数据。").arg(stallSeconds),
                      QStringLiteral("The stream sent no data for %1 seconds.").arg(stallSeconds),
                      QStringLiteral("La transmisión no envió datos durante %1 segundos.").arg(stallSeconds)),
                    L("检查网络后重试，或改用外部播放器。", "Check your connection and retry, or use an external player.",
                      "Comprueba la red y reintenta, o usa un reproductor externo."));
}

AppError endedEarly(double position, double duration, bool localFile)
{
    const auto clock = [](double seconds) {
        const int whole = int(std::floor(seconds));
        return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
    };
    const QString at = clock(position);
    const QString of = clock(duration);
    const QString message = L(QStringLiteral("播放在 %1 停止（全长 %2）。").arg(at, of),
                              QStringLiteral("Playback stopped at %1 of %2.").arg(at, of),
                              QStringLiteral("La reproducción se detuvo en %1 de %2.").arg(at, of));
    if (localFile)
        return AppError(AppError::Kind::decode, message,
                        L("文件不完整或已损坏。", "The file is incomplete or damaged.",
                          "El archivo está incompleto o dañado."));
    return AppError(AppError::Kind::network, message,
                    L("连接提前断开了，重试即可继续。", "The connection ended early. Retry to continue.",
                      "La conexión terminó antes de tiempo. Reintenta para continuar."));
}

} // namespace ErrorClassifier

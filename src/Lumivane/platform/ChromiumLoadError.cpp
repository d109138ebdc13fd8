#include "platform/ChromiumLoadError.h"

#include "KiteCore/L10n.h"

#include <algorithm>
#include <array>

namespace {

using E = PlatformError;

// Chromium net::Error values (net/base/net_error_list.h).
constexpr int errConnectionTimedOut = -118;
constexpr int errInternetDisconnected = -106;
constexpr int errNameNotResolved = -105;
constexpr int errNameResolutionFailed = -137;
constexpr std::array connectionErrors{-100 /* CLOSED */, -101 /* RESET */, -102 /* REFUSED */,
                                      -103 /* ABORTED */, -104 /* FAILED */,
                                      -109 /* ADDRESS_UNREACHABLE */};
// The TLS failures inside the connection range (-100..-199); the rest of that range is not TLS.
constexpr std::array sslErrors{-107, -110, -112, -113, -114, -117, -123, -125, -126, -134,
                               -135, -141, -148, -149, -150, -151, -153, -156, -159, -167,
                               -172, -175, -180, -181, -182, -183, -184};
constexpr int firstCertificateError = -299;
constexpr int lastCertificateError = -200;

template<std::size_t N>
bool isOneOf(int code, const std::array<int, N> &codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

PlatformError loading(int code, const QString &text)
{
    return {E::Domain::urlLoading, code, text};
}

PlatformError otherLoadFailure(int chromiumError, const QString &description)
{
    const QString detail = description.trimmed();
    const QString text = L("无法打开这个网页。", "The page couldn't be opened.",
                           "No se pudo abrir la página.");
    return loading(chromiumError, detail.isEmpty() ? text : text + QStringLiteral(" (%1)").arg(detail));
}

} // namespace

namespace ChromiumLoadError {

PlatformError toPlatformError(int chromiumError, const QString &description)
{
    if (chromiumError == ChromiumLoadError::aborted)
        return loading(E::cancelled, L("加载已取消。", "Loading was cancelled.", "Se canceló la carga."));
    if (chromiumError == errInternetDisconnected)
        return loading(E::notConnectedToInternet,
                       L("当前没有网络连接。", "You're offline.", "No hay conexión a internet."));
    if (isOneOf(chromiumError, connectionErrors))
        return loading(E::cannotConnectToHost,
                       L("无法连接到这个网站。", "Couldn't connect to this site.",
                         "No se pudo conectar con este sitio."));
    if (chromiumError == errNameNotResolved || chromiumError == errNameResolutionFailed)
        return loading(E::cannotFindHost,
                       L("找不到这个网站的服务器。", "The server for this site couldn't be found.",
                         "No se encontró el servidor de este sitio."));
    if (chromiumError == ChromiumLoadError::timedOut || chromiumError == errConnectionTimedOut)
        return loading(E::timedOut,
                       L("连接超时了。", "The connection timed out.", "La conexión agotó el tiempo."));
    if (chromiumError >= firstCertificateError && chromiumError <= lastCertificateError)
        return loading(E::serverCertificateUntrusted,
                       L("网站的证书不可信。", "The site's certificate isn't trusted.",
                         "El certificado del sitio no es de confianza."));
    if (isOneOf(chromiumError, sslErrors))
        return loading(E::secureConnectionFailed,
                       L("网站的安全连接建立失败。", "The site's secure connection failed.",
                         "Falló la conexión segura del sitio."));
    return otherLoadFailure(chromiumError, description);
}

} // namespace ChromiumLoadError

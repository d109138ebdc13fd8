#include "webengine/ChromiumLoadError.h"

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

int urlLoadingCode(int chromiumError)
{
    if (chromiumError == ChromiumLoadError::aborted)
        return E::cancelled;
    if (chromiumError == errInternetDisconnected)
        return E::notConnectedToInternet;
    if (isOneOf(chromiumError, connectionErrors))
        return E::cannotConnectToHost;
    if (chromiumError == errNameNotResolved || chromiumError == errNameResolutionFailed)
        return E::cannotFindHost;
    if (chromiumError == ChromiumLoadError::timedOut || chromiumError == errConnectionTimedOut)
        return E::timedOut;
    if (chromiumError >= firstCertificateError && chromiumError <= lastCertificateError)
        return E::serverCertificateUntrusted;
    if (isOneOf(chromiumError, sslErrors))
        return E::secureConnectionFailed;
    return chromiumError;
}

} // namespace

namespace ChromiumLoadError {

PlatformError toPlatformError(int chromiumError, const QString &description)
{
    return {E::Domain::urlLoading, urlLoadingCode(chromiumError), description};
}

} // namespace ChromiumLoadError

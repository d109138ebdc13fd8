#include "platform/NetworkProbe.h"

#include <QNetworkProxy>
#include <QSignalBlocker>

#include <chrono>

namespace {

using E = PlatformError;

// Long enough for a lost SYN to be sent again twice (after 1 s and 3 s), short enough not to
// keep a failure waiting noticeably.
constexpr std::chrono::milliseconds timeout{4000};

int portFor(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http")
        return url.port(80);
    if (scheme == u"https")
        return url.port(443);
    return url.port();
}

std::optional<int> codeFor(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return E::cannotConnectToHost;
    case QAbstractSocket::HostNotFoundError: return E::cannotFindHost;
    // Qt reports both "network unreachable" and "no route to host" this way.
    case QAbstractSocket::NetworkError: return E::notConnectedToInternet;
    default: return std::nullopt;
    }
}

} // namespace

NetworkProbe::NetworkProbe(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(timeout);
    connect(&m_timer, &QTimer::timeout, this, &NetworkProbe::onTimeout);
    connect(&m_socket, &QTcpSocket::connected, this, &NetworkProbe::onConnected);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetworkProbe::onSocketError);
    // The engine connects directly; so must the probe, whatever Qt's proxy settings say.
    m_socket.setProxy(QNetworkProxy::NoProxy);
}

NetworkProbe::~NetworkProbe()
{
    // The socket goes before this object does: nothing of it may reach a slot here.
    cancel();
}

bool NetworkProbe::start(const QUrl &url)
{
    cancel();
    const int port = portFor(url);
    // FFmpeg sends http and https through the proxy this names.
    if (url.host().isEmpty() || port <= 0 || !qEnvironmentVariableIsEmpty("http_proxy"))
        return false;
    m_target = QStringLiteral("%1:%2").arg(url.host()).arg(port);
    m_running = true;
    m_timer.start();
    m_socket.connectToHost(url.host(), quint16(port));
    return true;
}

void NetworkProbe::cancel()
{
    m_running = false;
    m_timer.stop();
    const QSignalBlocker quiet(m_socket);
    m_socket.abort();
}

void NetworkProbe::onConnected()
{
    finish(std::nullopt);
}

void NetworkProbe::onSocketError(QAbstractSocket::SocketError error)
{
    const std::optional<int> code = codeFor(error);
    if (!code) {
        finish(std::nullopt);
        return;
    }
    finish(PlatformError{E::Domain::urlLoading, *code,
                         QStringLiteral("%1: %2").arg(m_target, m_socket.errorString())});
}

void NetworkProbe::onTimeout()
{
    finish(PlatformError{E::Domain::urlLoading, E::timedOut,
                         QStringLiteral("%1: no answer within %2 ms").arg(m_target).arg(timeout.count())});
}

void NetworkProbe::finish(const std::optional<PlatformError> &cause)
{
    if (!m_running)
        return;
    cancel();
    Q_EMIT finished(cause);
}

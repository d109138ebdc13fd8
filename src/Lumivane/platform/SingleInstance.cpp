#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr qint64 headerSize = 4;
constexpr quint32 maximumMessageSize = 1024 * 1024;
// A connection that never completes its message is dropped after this long.
constexpr std::chrono::seconds connectionTimeout(5);
// Between attempts while the lock holder is not listening yet.
constexpr std::chrono::milliseconds retryPause(100);
constexpr std::chrono::milliseconds connectTimeout(500);

QByteArray acknowledgement()
{
    return QByteArrayLiteral("ok");
}

QByteArray encode(const QStringList &arguments)
{
    const QByteArray payload = QJsonDocument(QJsonArray::fromStringList(arguments)).toJson(QJsonDocument::Compact);
    QByteArray frame(headerSize, '\0');
    qToBigEndian(quint32(payload.size()), frame.data());
    return frame + payload;
}

std::optional<QStringList> decode(const QByteArray &payload)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QStringList arguments;
    for (const QJsonValue &value : document.array()) {
        if (!value.isString())
            return std::nullopt;
        arguments.append(value.toString());
    }
    return arguments;
}

int remaining(const QDeadlineTimer &deadline, std::chrono::milliseconds cap = std::chrono::hours(1))
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, cap.count()));
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, uid_t peerUser, QObject *parent)
    : QObject(parent)
    , m_serverName(folder + QStringLiteral("/lumivane.socket"))
    , m_peerUser(peerUser)
    , m_lock(folder + QStringLiteral("/lumivane.lock"))
    , m_server(new QLocalServer(this))
{
    // Held for the whole life of the process: only a dead holder's lock is stale.
    m_lock.setStaleLockTime(0);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::start(const QStringList &arguments, std::chrono::milliseconds patience)
{
    m_problem.clear();
    const QDeadlineTimer deadline(patience);
    while (true) {
        if (m_lock.tryLock(0)) {
            listen();
            return Outcome::primary;
        }
        if (m_lock.error() != QLockFile::LockFailedError) {
            m_problem = QStringLiteral("cannot create %1").arg(m_lock.fileName());
            return Outcome::unanswered;
        }
        switch (handOver(arguments, deadline)) {
        case HandOver::taken:
            return Outcome::forwarded;
        case HandOver::refused:
            m_problem = QStringLiteral("%1 belongs to another user").arg(m_serverName);
            return Outcome::unanswered;
        case HandOver::silent:
        case HandOver::noListener:
            break;
        }
        if (deadline.hasExpired()) {
            m_problem = QStringLiteral("the running instance did not answer within %1 ms").arg(patience.count());
            return Outcome::unanswered;
        }
        QThread::msleep(ulong(remaining(deadline, retryPause)));
    }
}

SingleInstance::HandOver SingleInstance::handOver(const QStringList &arguments, const QDeadlineTimer &deadline)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(remaining(deadline, connectTimeout)))
        return HandOver::noListener;
    if (!peerIsExpected(socket))
        return HandOver::refused;
    // One message on one connection: a busy primary reads it later, and a second copy sent
    // on a new connection would carry out the request twice.
    socket.write(encode(arguments));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(remaining(deadline))) {
    }
    const qint64 answerSize = acknowledgement().size();
    while (socket.bytesAvailable() < answerSize) {
        // A primary that went away (and left the lock) is replaced on the next attempt.
        if (!socket.waitForReadyRead(remaining(deadline)))
            return socket.state() == QLocalSocket::ConnectedState ? HandOver::silent : HandOver::noListener;
    }
    return socket.read(answerSize) == acknowledgement() ? HandOver::taken : HandOver::silent;
}

void SingleInstance::listen()
{
    // The lock is ours, so a socket file here is a dead primary's.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        m_problem = QStringLiteral("cannot listen on %1: %2").arg(m_serverName, m_server->errorString());
}

bool SingleInstance::peerIsExpected(const QLocalSocket &socket) const
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0
        && credentials.uid == m_peerUser;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsExpected(*socket)) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        QTimer::singleShot(connectionTimeout, socket, [socket] { socket->abort(); });
        // Data may have arrived together with the connection.
        if (socket->bytesAvailable() > 0)
            readMessage(socket);
    }
}

void SingleInstance::readMessage(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < headerSize)
        return;
    const quint32 size = qFromBigEndian<quint32>(socket->peek(headerSize).constData());
    if (size > maximumMessageSize) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < headerSize + qint64(size))
        return;
    socket->skip(headerSize);
    const std::optional<QStringList> arguments = decode(socket->read(size));
    if (!arguments) {
        socket->abort();
        return;
    }
    socket->write(acknowledgement());
    socket->flush();
    socket->disconnectFromServer();
    Q_EMIT argumentsReceived(*arguments);
}

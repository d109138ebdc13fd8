#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <unistd.h>

namespace {

constexpr qint64 headerSize = 4;
constexpr quint32 maximumMessageSize = 1024 * 1024;
// A connection that never completes its message is dropped after this long.
constexpr std::chrono::seconds connectionTimeout(5);
// How long a launch waits for a socket file's owner to accept before calling it stale.
constexpr std::chrono::milliseconds probeTimeout(250);

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

int remaining(const QDeadlineTimer &deadline)
{
    return int(std::max<qint64>(deadline.remainingTime(), 0));
}

} // namespace

QString SingleInstance::defaultServerName()
{
    const QString name = QStringLiteral("lumivane-%1").arg(::getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? name : runtime + u'/' + name;
}

SingleInstance::SingleInstance(QString serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(std::move(serverName))
    , m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::forwardToRunning(const QStringList &arguments, std::chrono::milliseconds timeout) const
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(remaining(deadline)))
        return false;
    socket.write(encode(arguments));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remaining(deadline)))
            return false;
    }
    const qint64 answerSize = acknowledgement().size();
    while (socket.bytesAvailable() < answerSize) {
        if (!socket.waitForReadyRead(remaining(deadline)))
            return false;
    }
    return socket.read(answerSize) == acknowledgement();
}

bool SingleInstance::listen()
{
    if (m_server->isListening())
        return true;
    if (m_server->listen(m_serverName))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError || someoneAnswers())
        return false;
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

bool SingleInstance::isListening() const
{
    return m_server->isListening();
}

bool SingleInstance::someoneAnswers() const
{
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    return probe.waitForConnected(int(probeTimeout.count()));
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
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

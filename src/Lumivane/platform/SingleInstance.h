#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <sys/types.h>
#include <unistd.h>

#include <chrono>

class QDeadlineTimer;
class QLocalServer;
class QLocalSocket;

// Keeps one Lumivane per user. Primacy is a lock file held for the life of the process; the
// primary listens on a local socket beside it, and a later launch hands its arguments over
// and exits. Both ends accept only a peer running as the expected user.
//
// Wire format, both ways on one connection: the launch sends a 32-bit big-endian byte count
// and that many bytes of a UTF-8 JSON array of strings (at most 1 MiB); the running
// instance answers "ok" once it has taken them. Anything else closes the connection.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        // This process holds the lock and listens (see problem() when listening failed).
        primary,
        // The running instance took the arguments.
        forwarded,
        // Another process holds the lock but did not take the arguments in time, or its
        // socket belongs to someone else: this launch must not run.
        unanswered,
    };

    // folder: a private runtime folder (see RuntimeFolder). peerUser: the only user a peer may
    // run as.
    explicit SingleInstance(const QString &folder, uid_t peerUser = ::getuid(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    // Becomes the primary, or hands the arguments to it: retries while the primary is
    // still starting, waits while it is busy, gives up after patience.
    Outcome start(const QStringList &arguments,
                  std::chrono::milliseconds patience = std::chrono::seconds(10));
    // Why the last start() did not go smoothly; empty when it did.
    const QString &problem() const { return m_problem; }

Q_SIGNALS:
    void argumentsReceived(const QStringList &arguments);

private:
    enum class HandOver { taken, noListener, refused, silent };

    HandOver handOver(const QStringList &arguments, const QDeadlineTimer &deadline);
    void listen();
    bool peerIsExpected(const QLocalSocket &socket) const;
    void acceptConnections();
    void readMessage(QLocalSocket *socket);

    QString m_serverName;
    uid_t m_peerUser;
    QLockFile m_lock;
    QLocalServer *m_server;
    QString m_problem;
};

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>

class QLocalServer;
class QLocalSocket;

// Keeps one Lumivane per user. The first process listens on a local socket; a later launch
// hands its arguments to it and exits.
//
// Start-up:  if (instance.forwardToRunning(args)) exit;  else instance.listen().
// Should listen() fail because another launch got there first, forward again.
//
// Wire format, both ways on one connection: the launch sends a 32-bit big-endian byte count
// and that many bytes of a UTF-8 JSON array of strings (at most 1 MiB); the running
// instance answers "ok" once it has taken them. Anything else closes the connection.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // "lumivane-<uid>" in $XDG_RUNTIME_DIR, or in the temporary folder without one.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when a running instance acknowledged the arguments within the timeout.
    bool forwardToRunning(const QStringList &arguments,
                          std::chrono::milliseconds timeout = std::chrono::seconds(1)) const;
    // Becomes the running instance. A socket file left by a crashed instance (nobody answers
    // on it) is removed first. False when a live instance holds the name or listening failed.
    bool listen();
    bool isListening() const;
    const QString &serverName() const { return m_serverName; }

Q_SIGNALS:
    void argumentsReceived(const QStringList &arguments);

private:
    bool someoneAnswers() const;
    void acceptConnections();
    void readMessage(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server;
};

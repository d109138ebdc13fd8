#pragma once

#include "platform/PlatformError.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <optional>

// Tells whether the host of a link can be reached at all, by opening (and closing again) a
// TCP connection to it. A player that failed to open a link learns from it whether the
// network was the cause, whatever the engine's own log said or failed to say.
class NetworkProbe final : public QObject
{
    Q_OBJECT

public:
    explicit NetworkProbe(QObject *parent = nullptr);
    ~NetworkProbe() override;

    // Starts probing the host and port of url, abandoning a probe still running. False, and
    // no signal, when there is nothing to probe: no host, no known port, or the engine would
    // go through a proxy, so that reaching the host directly proves nothing.
    bool start(const QUrl &url);
    // Abandons the running probe; it reports nothing.
    void cancel();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // cause: the URL-loading failure that keeps the host out of reach, with the socket's
    // own text; none when the host answered or the probe could not tell.
    void finished(const std::optional<PlatformError> &cause);

private:
    void onConnected();
    void onSocketError(QAbstractSocket::SocketError error);
    void onTimeout();
    void finish(const std::optional<PlatformError> &cause);

    QTcpSocket m_socket;
    QTimer m_timer;
    QString m_target;
    bool m_running = false;
};

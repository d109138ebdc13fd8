#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

// Waits, for a bounded time, until the desktop offers a tray: a StatusNotifierWatcher with a
// registered host on the session bus, or an XEmbed tray owning its X selection. Qt 6.4 asks
// once per process whether the D-Bus tray exists and keeps the answer, so no tray API may be
// touched before this wait is over; a panel that starts a moment after Lumivane (autostart at
// login) is still found.
class TrayServiceWait final : public QObject
{
    Q_OBJECT

public:
    explicit TrayServiceWait(std::chrono::milliseconds bound, QObject *parent = nullptr);

    // Checks at once, then every pollInterval until a tray is there or the bound has passed.
    void start();

    static bool statusNotifierHostPresent();
    static bool xembedTrayPresent();

    static constexpr std::chrono::milliseconds pollInterval{100};

Q_SIGNALS:
    void finished(bool found);

private:
    void check();

    std::chrono::milliseconds m_bound;
    QDeadlineTimer m_deadline;
    QTimer m_poll;
};

#pragma once

#include "platform/StatusTray.h"
#include "platform/TrayServiceWait.h"

#include <QIcon>
#include <QPointer>
#include <QString>

#include <memory>

class QSystemTrayIcon;

// The tray through QSystemTrayIcon: a StatusNotifierItem over D-Bus where the desktop hosts
// one, else an XEmbed icon. The icon is created only after the bounded wait for a tray.
class QtStatusTray final : public StatusTray
{
    Q_OBJECT

public:
    explicit QtStatusTray(std::chrono::milliseconds bound, QObject *parent = nullptr);
    ~QtStatusTray() override;

    // Starts the wait; availabilityDecided follows once.
    void start();

    bool isAvailable() const override { return m_available; }
    void install(const QIcon &icon, const QString &toolTip, QMenu *contextMenu) override;

private:
    void decide(bool found);
    void showIcon();

    TrayServiceWait m_wait;
    bool m_available = false;
    QIcon m_icon;
    QString m_toolTip;
    QPointer<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};

#include "platform/QtStatusTray.h"

#include <QMenu>
#include <QSystemTrayIcon>

QtStatusTray::QtStatusTray(std::chrono::milliseconds bound, QObject *parent)
    : StatusTray(parent)
    , m_wait(bound)
{
    connect(&m_wait, &TrayServiceWait::finished, this, &QtStatusTray::decide);
}

QtStatusTray::~QtStatusTray() = default;

void QtStatusTray::start()
{
    m_wait.start();
}

void QtStatusTray::decide(bool found)
{
    // Qt has the last word: it asks the bus itself, once, right here.
    m_available = found && QSystemTrayIcon::isSystemTrayAvailable();
    if (m_available && !m_icon.isNull())
        showIcon();
    Q_EMIT availabilityDecided(m_available);
}

void QtStatusTray::install(const QIcon &icon, const QString &toolTip, QMenu *contextMenu)
{
    m_icon = icon;
    m_toolTip = toolTip;
    m_menu = contextMenu;
    if (m_available)
        showIcon();
}

void QtStatusTray::showIcon()
{
    if (!m_tray) {
        m_tray = std::make_unique<QSystemTrayIcon>();
        connect(m_tray.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        Q_EMIT activated();
                });
    }
    m_tray->setIcon(m_icon);
    m_tray->setToolTip(m_toolTip);
    m_tray->setContextMenu(m_menu);
    m_tray->show();
}

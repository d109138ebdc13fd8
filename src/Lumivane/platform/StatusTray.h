#pragma once

#include <QObject>

class QIcon;
class QMenu;

// The desktop's tray: one icon with a tool tip, a left click and a context menu on the right
// button. Whether the desktop has a tray is known only when the wait for its service is over;
// until then, and for good when there is none, nothing is shown.
class StatusTray : public QObject
{
    Q_OBJECT

public:
    ~StatusTray() override;

    // False until availabilityDecided(true).
    virtual bool isAvailable() const = 0;
    // Shows the icon now, or as soon as a tray turns up. The menu stays the caller's.
    virtual void install(const QIcon &icon, const QString &toolTip, QMenu *contextMenu) = 0;

Q_SIGNALS:
    void availabilityDecided(bool available);
    // A left click (or the tray host's activation) on the icon; a right click opens the
    // context menu instead.
    void activated();

protected:
    using QObject::QObject;
};

#pragma once

#include "KiteCore/KeyCombo.h"

#include <QList>
#include <QObject>
#include <QString>

// The desktop's global hot keys, which fire while another program has the keyboard.
// A request replaces every earlier registration. Its answer comes through `answered` or
// `unavailable`: from X11 key grabs before registerHotKeys returns, from the desktop portal
// later (it may ask the user first). An answer to a request that was replaced or withdrawn
// never arrives. X11HotKeys and PortalHotKeys are the real services.
class HotKeyService : public QObject
{
    Q_OBJECT

public:
    struct HotKey final
    {
        quint32 id = 0;
        KeyCombo combo;
        // A stable name and a readable description, for desktops that list an app's keys.
        QString name;
        QString description;
    };

    explicit HotKeyService(QObject *parent = nullptr);
    ~HotKeyService() override;

    virtual void registerHotKeys(const QList<HotKey> &hotKeys) = 0;
    // Releases every hot key; a pending answer is dropped.
    virtual void unregisterAll() = 0;

Q_SIGNALS:
    // The ids now registered; the others of the request were refused (taken by the desktop
    // or another program, or a key this keyboard does not have).
    void answered(const QList<quint32> &registered);
    // This desktop lets no program register global hot keys.
    void unavailable();
    // A registered hot key was pressed. Emitted from the event loop, never from inside the
    // platform's own callback.
    void activated(quint32 id);
};

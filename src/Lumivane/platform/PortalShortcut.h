#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One shortcut as the GlobalShortcuts desktop portal sends and answers it: its id and a
// dictionary ("description", "preferred_trigger" going out, "trigger_description" back).
struct PortalShortcut final
{
    QString id;
    QVariantMap properties;

    // Makes the type and its list known to QtDBus; safe to call more than once.
    static void registerType();
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut);

Q_DECLARE_METATYPE(PortalShortcut)

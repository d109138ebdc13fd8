#pragma once

#include "platform/MediaControls.h"

#include <QDBusConnection>

#include <memory>

class MprisPlayerAdaptor;

// One MPRIS2 player ("org.mpris.MediaPlayer2.lumivane.instance<pid>_<n>") on a D-Bus
// connection of its own, so each window is a player of its own and closing it takes its
// name off the bus at once.
class MprisControls final : public MediaControls
{
    Q_OBJECT

public:
    static inline const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");

    // Null when there is no session bus or the name cannot be had: no media keys then.
    static std::unique_ptr<MprisControls> create();
    ~MprisControls() override;

    const State &state() const { return m_state; }
    const QString &serviceName() const { return m_serviceName; }

    void publish(const State &state) override;
    void announceSeeked(double position) override;

    static QString statusName(Status status);
    static qlonglong microseconds(double seconds);
    static QVariantMap metadata(const State &state);

private:
    MprisControls(const QDBusConnection &bus, const QString &serviceName);
    void announceChanges(const State &before);

    QDBusConnection m_bus;
    const QString m_serviceName;
    MprisPlayerAdaptor *m_player;
    State m_state;
};

#include "platform/MprisControls.h"

#include "platform/MprisPlayerAdaptor.h"
#include "platform/MprisRootAdaptor.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>

#include <cmath>

namespace {
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
} // namespace

std::unique_ptr<MprisControls> MprisControls::create()
{
    static int count = 0;
    const QString suffix = QStringLiteral("instance%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("mpris-") + suffix);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(bus.name());
        return nullptr;
    }
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.lumivane.") + suffix;
    std::unique_ptr<MprisControls> controls(new MprisControls(bus, name));
    if (!bus.registerObject(objectPath, controls.get(), QDBusConnection::ExportAdaptors) ||
        !bus.registerService(name))
        return nullptr;
    return controls;
}

MprisControls::MprisControls(const QDBusConnection &bus, const QString &serviceName)
    : m_bus(bus)
    , m_serviceName(serviceName)
{
    new MprisRootAdaptor(this);
    m_player = new MprisPlayerAdaptor(this);
}

MprisControls::~MprisControls()
{
    m_bus.unregisterService(m_serviceName);
    m_bus.unregisterObject(objectPath);
    QDBusConnection::disconnectFromBus(m_bus.name());
}

void MprisControls::publish(const State &state)
{
    const State before = m_state;
    m_state = state;
    announceChanges(before);
}

void MprisControls::announceSeeked(double position)
{
    Q_EMIT m_player->Seeked(microseconds(position));
}

// Position is left out on purpose: clients read it when they need it.
void MprisControls::announceChanges(const State &before)
{
    QVariantMap changed;
    if (before.status != m_state.status)
        changed.insert(QStringLiteral("PlaybackStatus"), statusName(m_state.status));
    if (metadata(before) != metadata(m_state))
        changed.insert(QStringLiteral("Metadata"), metadata(m_state));
    if (before.rate != m_state.rate)
        changed.insert(QStringLiteral("Rate"), m_state.rate);
    if (before.volume != m_state.volume)
        changed.insert(QStringLiteral("Volume"), m_state.volume);
    if (before.canPlay != m_state.canPlay) {
        changed.insert(QStringLiteral("CanPlay"), m_state.canPlay);
        changed.insert(QStringLiteral("CanPause"), m_state.canPlay);
    }
    if (before.canSeek != m_state.canSeek)
        changed.insert(QStringLiteral("CanSeek"), m_state.canSeek);
    if (before.canGoNext != m_state.canGoNext)
        changed.insert(QStringLiteral("CanGoNext"), m_state.canGoNext);
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << playerInterface << changed << QStringList();
    m_bus.send(signal);
}

QString MprisControls::statusName(Status status)
{
    switch (status) {
    case Status::playing: return QStringLiteral("Playing");
    case Status::paused: return QStringLiteral("Paused");
    case Status::stopped: return QStringLiteral("Stopped");
    }
    return {};
}

qlonglong MprisControls::microseconds(double seconds)
{
    return std::isfinite(seconds) ? std::llround(seconds * 1e6) : 0;
}

QVariantMap MprisControls::metadata(const State &state)
{
    QVariantMap map;
    if (state.trackId.isEmpty())
        return map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(state.trackId)));
    map.insert(QStringLiteral("xesam:title"), state.title);
    map.insert(QStringLiteral("xesam:url"), state.url.toString(QUrl::FullyEncoded));
    if (state.length)
        map.insert(QStringLiteral("mpris:length"), microseconds(*state.length));
    if (!state.artUrl.isEmpty())
        map.insert(QStringLiteral("mpris:artUrl"), state.artUrl.toString(QUrl::FullyEncoded));
    return map;
}

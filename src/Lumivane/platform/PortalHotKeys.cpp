#include "platform/PortalHotKeys.h"

#include "platform/KeySymbols.h"
#include "platform/PortalShortcut.h"
#include "platform/Workspace.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QStringList>

#include <algorithm>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
const QString registryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
constexpr uint responseSuccess = 0;

QString modifierName(KeyCombo::Modifier modifier)
{
    switch (modifier) {
    case KeyCombo::Modifier::control: return QStringLiteral("CTRL");
    case KeyCombo::Modifier::option: return QStringLiteral("ALT");
    case KeyCombo::Modifier::shift: return QStringLiteral("SHIFT");
    case KeyCombo::Modifier::command: return QStringLiteral("LOGO");
    }
    return {};
}

} // namespace

PortalHotKeys::PortalHotKeys(const QDBusConnection &bus, QObject *parent)
    : HotKeyService(parent)
    , m_bus(bus)
{
    PortalShortcut::registerType();
    // Unsandboxed programs name themselves before their first portal call; older portals
    // do not know the call, which changes nothing.
    QDBusMessage registration = QDBusMessage::createMethodCall(portalService, portalPath,
                                                               registryInterface, QStringLiteral("Register"));
    registration << Workspace::appId() << QVariantMap();
    m_bus.send(registration);
}

PortalHotKeys::~PortalHotKeys()
{
    unregisterAll();
}

QString PortalHotKeys::preferredTrigger(const KeyCombo &combo)
{
    const std::optional<KeySymbols::Symbol> symbol = KeySymbols::forKeyCode(combo.keyCode());
    if (!symbol)
        return {};
    QStringList parts;
    for (const KeyCombo::Modifier modifier : combo.modifiers())
        parts << modifierName(modifier);
    parts << symbol->name;
    return parts.join(u'+');
}

void PortalHotKeys::registerHotKeys(const QList<HotKey> &hotKeys)
{
    unregisterAll();
    m_wanted = hotKeys;
    if (!m_listening) {
        m_listening = m_bus.connect(portalService, portalPath, shortcutsInterface,
                                    QStringLiteral("Activated"), this,
                                    SLOT(shortcutActivated(QDBusObjectPath,QString,qulonglong,QVariantMap)));
    }
    const QString sessionToken = nextToken();
    // Known before the portal answers, so that a withdrawn request still gets closed.
    m_session = handlePath(QStringLiteral("session"), sessionToken);
    request(QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), sessionToken}},
            SLOT(sessionCreated(uint,QVariantMap)));
}

void PortalHotKeys::unregisterAll()
{
    stopWaiting();
    if (!m_session.isEmpty()) {
        m_bus.send(QDBusMessage::createMethodCall(portalService, m_session, sessionInterface,
                                                  QStringLiteral("Close")));
        m_session.clear();
    }
    m_wanted.clear();
}

void PortalHotKeys::sessionCreated(uint response, const QVariantMap &)
{
    stopWaiting();
    if (response != responseSuccess) {
        m_session.clear();
        Q_EMIT answered({});
        return;
    }
    bindShortcuts();
}

void PortalHotKeys::bindShortcuts()
{
    QList<PortalShortcut> shortcuts;
    for (const HotKey &hotKey : std::as_const(m_wanted)) {
        QVariantMap properties{{QStringLiteral("description"), hotKey.description}};
        const QString trigger = preferredTrigger(hotKey.combo);
        if (!trigger.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), trigger);
        shortcuts.append({hotKey.name, properties});
    }
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts), QString()},
            {}, SLOT(shortcutsBound(uint,QVariantMap)));
}

void PortalHotKeys::shortcutsBound(uint response, const QVariantMap &results)
{
    stopWaiting();
    QList<PortalShortcut> bound;
    if (response == responseSuccess)
        results.value(QStringLiteral("shortcuts")).value<QDBusArgument>() >> bound;
    QList<quint32> registered;
    for (const HotKey &hotKey : std::as_const(m_wanted)) {
        const auto named = [&hotKey](const PortalShortcut &shortcut) { return shortcut.id == hotKey.name; };
        if (std::ranges::any_of(bound, named))
            registered.append(hotKey.id);
    }
    Q_EMIT answered(registered);
}

void PortalHotKeys::shortcutActivated(const QDBusObjectPath &session, const QString &shortcutId,
                                      qulonglong, const QVariantMap &)
{
    if (m_session.isEmpty() || session.path() != m_session)
        return;
    for (const HotKey &hotKey : std::as_const(m_wanted)) {
        if (hotKey.name == shortcutId)
            Q_EMIT activated(hotKey.id);
    }
}

void PortalHotKeys::request(const QString &method, QVariantList arguments, QVariantMap options,
                            const char *slot)
{
    const QString token = nextToken();
    const QString path = handlePath(QStringLiteral("request"), token);
    // Listen before calling: the answer may come before the call returns.
    m_bus.connect(portalService, path, requestInterface, QStringLiteral("Response"), this, slot);
    m_waitingOn = path;
    m_waitingSlot = slot;
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    const bool opensSession = method == u"CreateSession";
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, path, opensSession] {
        watcher->deleteLater();
        if (!watcher->isError() || m_waitingOn != path)
            return;
        stopWaiting();
        if (!opensSession) {
            Q_EMIT answered({});
            return;
        }
        // No portal, or one without global shortcuts: the very first call fails.
        m_session.clear();
        Q_EMIT unavailable();
    });
}

void PortalHotKeys::stopWaiting()
{
    if (m_waitingOn.isEmpty())
        return;
    m_bus.disconnect(portalService, m_waitingOn, requestInterface, QStringLiteral("Response"), this,
                     m_waitingSlot);
    m_waitingOn.clear();
    m_waitingSlot = nullptr;
}

QString PortalHotKeys::nextToken()
{
    return QStringLiteral("lumivane%1").arg(++m_tokens);
}

QString PortalHotKeys::handlePath(const QString &kind, const QString &token) const
{
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return portalPath + u'/' + kind + u'/' + sender + u'/' + token;
}

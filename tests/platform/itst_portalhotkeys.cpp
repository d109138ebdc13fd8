#include "platform/PortalHotKeys.h"
#include "platform/PortalShortcut.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString portalService = u"org.freedesktop.portal.Desktop"_qs;
const QString portalPath = u"/org/freedesktop/portal/desktop"_qs;

// The GlobalShortcuts portal of a desktop, on its own bus connection: sessions open at once
// and every shortcut is bound except Ctrl+Alt+P, which the desktop keeps.
class FakePortal final : public QDBusVirtualObject
{
public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
    {
        if (message.member() == u"Close") {
            closed.append(message.path());
            return true;
        }
        // The options come last.
        const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().value(message.arguments().size() - 1));
        const QString handle = message.service().mid(1).replace(u'.', u'_') + u'/';
        QVariantMap results;
        if (message.member() == u"CreateSession") {
            session = portalPath + u"/session/"_qs + handle + options.value(u"session_handle_token"_qs).toString();
            results.insert(u"session_handle"_qs, session);
        } else if (message.member() == u"BindShortcuts") {
            QList<PortalShortcut> bound;
            for (const PortalShortcut &shortcut : qdbus_cast<QList<PortalShortcut>>(message.arguments().at(1))) {
                triggers.append(shortcut.properties.value(u"preferred_trigger"_qs).toString());
                if (triggers.constLast() != u"CTRL+ALT+p")
                    bound.append(shortcut);
            }
            results.insert(u"shortcuts"_qs, QVariant::fromValue(bound));
        } else {
            return false;
        }
        const QString request = portalPath + u"/request/"_qs + handle + options.value(u"handle_token"_qs).toString();
        bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        bus.send(QDBusMessage::createSignal(request, u"org.freedesktop.portal.Request"_qs, u"Response"_qs)
                 << 0u << results);
        return true;
    }

    QStringList triggers;
    QString session;
    QStringList closed;
};

const QList<HotKeyService::HotKey> hotKeys{
    {1, KeyCombo(3, {KeyCombo::Modifier::control, KeyCombo::Modifier::option}), u"toggleAllWindows"_qs, {}},
    {2, KeyCombo(35, {KeyCombo::Modifier::control, KeyCombo::Modifier::option}), u"playPause"_qs, {}},
    {18, KeyCombo(122, {KeyCombo::Modifier::command, KeyCombo::Modifier::shift}), u"togglePin"_qs, {}},
};
} // namespace

// The D-Bus conversation with the desktop portal, which no desktop here implements for real.
class TestPortalHotKeys final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        // A desktop with the portal would answer in place of the fake.
        if (QDBusConnection::sessionBus().interface()->activatableServiceNames().value().contains(portalService))
            QSKIP("a real desktop portal is installed here");
    }

    void desktopWithoutThePortal()
    {
        PortalHotKeys service(QDBusConnection::sessionBus());
        QSignalSpy unavailable(&service, &HotKeyService::unavailable);
        service.registerHotKeys(hotKeys);
        QTRY_COMPARE(unavailable.count(), 1);
    }

    void bindsTheTriggersAndDeliversPresses()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_qs);
        FakePortal portal;
        QVERIFY(bus.registerVirtualObject(portalPath, &portal, QDBusConnection::SubPath));
        QVERIFY(bus.registerService(portalService));
        PortalHotKeys service(QDBusConnection::sessionBus());
        QSignalSpy answered(&service, &HotKeyService::answered);
        QSignalSpy activated(&service, &HotKeyService::activated);

        service.registerHotKeys(hotKeys);
        QTRY_COMPARE(answered.count(), 1);
        QCOMPARE(answered.first().first().value<QList<quint32>>(), (QList<quint32>{1, 18}));
        QCOMPARE(portal.triggers, (QStringList{u"CTRL+ALT+f"_qs, u"CTRL+ALT+p"_qs, u"SHIFT+LOGO+F1"_qs}));
        bus.send(QDBusMessage::createSignal(portalPath, u"org.freedesktop.portal.GlobalShortcuts"_qs, u"Activated"_qs)
                 << QVariant::fromValue(QDBusObjectPath(portal.session)) << u"togglePin"_qs << 0ull << QVariantMap());
        QTRY_COMPARE(activated.count(), 1);
        QCOMPARE(activated.first().first().value<quint32>(), 18u);

        service.unregisterAll();
        QTRY_COMPARE(portal.closed, QStringList{portal.session});
        bus.unregisterService(portalService);
    }
};

QTEST_GUILESS_MAIN(TestPortalHotKeys)
#include "itst_portalhotkeys.moc"

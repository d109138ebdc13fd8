#include "ModelHarness.h"
#include "TemporaryHome.h"
#include "X11Input.h"
#include "app/GlobalShortcuts.h"
#include "app/ShortcutDispatcher.h"
#include "platform/X11HotKeys.h"

#include "KiteCore/L10n.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

// Real key grabs on the X server, pressed through XTEST, driving the model.
class TestX11GlobalShortcuts final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hotKeysOnTheXServer();
};

void TestX11GlobalShortcuts::hotKeysOnTheXServer()
{
    QVERIFY2(QGuiApplication::platformName() == u"xcb", "runs under xvfb-run");
    L10n::setLanguage(AppLanguage::en);
    TemporaryHome home;
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    harness.openClip(2);
    X11HotKeys service(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection());
    GlobalShortcuts shortcuts(&service, harness.preferences());
    ShortcutDispatcher dispatcher(model);
    connect(&shortcuts.manager(), &ShortcutManager::actionTriggered, &dispatcher, &ShortcutDispatcher::perform);
    QCOMPARE(harness.preferences().shortcutStatus(),
             u"Ctrl+Alt+F toggle · Ctrl+Alt+P play/pause · Ctrl+Alt+V paste & open"_qs);
    const auto allHidden = [&model](bool hidden) {
        return std::ranges::all_of(model.sessions(), [&](const PlaybackSession *session) {
            return session->isHidden() == hidden && model.controller(*session)->window()->isVisible() != hidden;
        });
    };
    QTRY_VERIFY_WITH_TIMEOUT(allHidden(false), 5000);

    // Ctrl+Alt+F hides every window and brings them back, also with Num Lock lit.
    bool numLockLit = false;
    const auto unlock = qScopeGuard([&numLockLit] {
        if (numLockLit)
            X11Input::key(u"Num_Lock"_qs);
    });
    for (const auto &[numLock, hidden] : {std::pair{false, true}, {false, false}, {true, true}, {true, false}}) {
        if (numLock != numLockLit)
            QVERIFY(X11Input::key(u"Num_Lock"_qs));
        numLockLit = numLock;
        QVERIFY(X11Input::key(u"ctrl+alt+f"_qs));
        QTRY_VERIFY_WITH_TIMEOUT(allHidden(hidden), 5000);
    }

    // Another client holds Ctrl+Alt+X: that binding is refused, the others stay.
    const KeyCombo ctrlAltX(7, {KeyCombo::Modifier::control, KeyCombo::Modifier::option});
    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    const auto disconnect = qScopeGuard([other] { xcb_disconnect(other); });
    X11HotKeys otherClient(other);
    otherClient.registerHotKeys({{1, ctrlAltX, {}, {}}});
    ShortcutBindingMap bindings = ShortcutBindings::defaults();
    bindings[ShortcutAction::screenshot] = ctrlAltX;
    harness.preferences().setShortcutBindings(bindings);
    QCOMPARE(harness.preferences().shortcutStatus(),
             u"Taken by the system or another app: Ctrl+Alt+X capture. Change them here or in the "
             "desktop's keyboard settings."_qs);
    QCOMPARE(shortcuts.manager().registrations(),
             (QList<ShortcutAction>{ShortcutAction::toggleAllWindows, ShortcutAction::playPause,
                                    ShortcutAction::pasteAndOpen}));
}

QTEST_MAIN(TestX11GlobalShortcuts)
#include "itst_globalshortcuts.moc"

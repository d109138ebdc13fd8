#include "ModelHarness.h"
#include "TemporaryHome.h"
#include "X11Input.h"
#include "app/GlobalShortcuts.h"
#include "app/AppCommands.h"
#include "app/ShortcutDispatcher.h"
#include "platform/X11HotKeys.h"

#include "KiteCore/L10n.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

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
    AppCommands commands(model);
    ShortcutDispatcher dispatcher(model, commands);
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

    // Another client holds Ctrl+Alt+X, without the lock keys as most programs grab it: that
    // binding is refused, the others stay.
    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    const auto disconnect = qScopeGuard([other] { xcb_disconnect(other); });
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(other);
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, 'x');
    const xcb_keycode_t x = codes ? *codes : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_generic_error_t *error = xcb_request_check(other, xcb_grab_key_checked(
        other, 0, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, x, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const bool held = x != 0 && !error;
    std::free(error);
    QVERIFY(held);
    const KeyCombo ctrlAltX(7, {KeyCombo::Modifier::control, KeyCombo::Modifier::option});
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

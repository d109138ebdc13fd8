#include "KiteCore/L10n.h"
#include "KiteCore/ShortcutAction.h"

#include <QTest>

class TestShortcutAction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // The raw value is the stored identity; the position in allCases is the hot-key id.
    void actions()
    {
        using A = ShortcutAction;
        struct Row { A action; const char *raw; quint32 hotKeyID; ShortcutGroup group; const char *title; };
        const Row rows[] = {{A::toggleAllWindows, "toggleAllWindows", 1, ShortcutGroup::general, "Toggle all windows"},
                            {A::moveCenter, "moveCenter", 15, ShortcutGroup::position, "Center window"},
                            {A::toggleCinema, "toggleCinema", 19, ShortcutGroup::window, "Toggle fullscreen"},
                            {A::windowScaleDown, "windowScaleDown", 21, ShortcutGroup::size, "Scale down \u221210%"}};
        L10n::setLanguage(AppLanguage::en);
        for (const Row &row : rows) {
            QVERIFY2(toRaw(row.action) == row.raw && ShortcutActions::hotKeyID(row.action) == row.hotKeyID, row.raw);
            QVERIFY2(ShortcutActions::group(row.action) == row.group && ShortcutActions::title(row.action) == row.title, row.raw);
        }
        QCOMPARE(ShortcutGroups::title(ShortcutGroup::position), "Window position");
        for (A action : ShortcutActions::allCases)
            QVERIFY(ShortcutActions::action(ShortcutActions::hotKeyID(action)) == action && shortcutActionFromRaw(toRaw(action)) == action);
        for (ShortcutGroup group : ShortcutGroups::allCases)
            QCOMPARE(shortcutGroupFromRaw(toRaw(group)), group);
        QVERIFY(!ShortcutActions::action(0) && !ShortcutActions::action(22) && !shortcutGroupFromRaw("Size"));
        QVERIFY(!shortcutActionFromRaw("PlayPause") && !shortcutActionFromRaw("playPause ") && !shortcutActionFromRaw("general"));
    }
};

QTEST_GUILESS_MAIN(TestShortcutAction)
#include "tst_shortcutaction.moc"

#include "FakeHotKeyService.h"
#include "settings/Preferences.h"
#include "windows/ShortcutManager.h"

#include "KiteCore/L10n.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using Modifier = KeyCombo::Modifier;

namespace {
enum class Service { answers, unavailable, none };

const KeyCombo bareKey(1, {});
const KeyCombo ctrlShiftS(1, {Modifier::control, Modifier::shift});

ShortcutBindingMap withDefaults(const ShortcutBindingMap &more)
{
    ShortcutBindingMap bindings = ShortcutBindings::defaults();
    bindings.insert(more.begin(), more.end());
    return bindings;
}
} // namespace

class TestShortcutManager final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reloadRegistersAndReports();
    void pressesReachTheOwner();

private:
    QTemporaryDir m_folder;
    QSettings m_settings{m_folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    Preferences m_preferences{m_settings};
};

void TestShortcutManager::reloadRegistersAndReports()
{
    struct Row {
        const char *name;
        AppLanguage language;
        ShortcutBindingMap bindings;
        bool enabled;
        bool suspended;
        Service service;
        QSet<quint32> taken;
        QList<ShortcutAction> registered;
        QString status;
    };
    const QList<Row> rows{
        {"off", AppLanguage::en, ShortcutBindings::defaults(), false, false, Service::answers, {}, {},
         u"Global shortcuts are off. Lumivane's menus still bring windows back."_qs},
        {"recording", AppLanguage::es, ShortcutBindings::defaults(), true, true, Service::answers, {}, {},
         u"Grabando un atajo — atajos globales en pausa."_qs},
        {"nothing bound", AppLanguage::zh, {}, true, false, Service::answers, {}, {},
         u"还没有绑定快捷键。点右侧按钮录制一个组合。"_qs},
        {"a bare key is neither registered nor refused", AppLanguage::en,
         {{ShortcutAction::screenshot, bareKey}}, true, false, Service::answers, {}, {},
         u"No shortcuts bound yet. Click a button on the right to record one."_qs},
        {"active: only what was registered is listed", AppLanguage::en,
         withDefaults({{ShortcutAction::screenshot, bareKey}, {ShortcutAction::windowScaleDown, ctrlShiftS}}),
         true, false, Service::answers, {},
         {ShortcutAction::toggleAllWindows, ShortcutAction::playPause, ShortcutAction::pasteAndOpen,
          ShortcutAction::windowScaleDown},
         u"Ctrl+Alt+F toggle · Ctrl+Alt+P play/pause · Ctrl+Alt+V paste & open · Ctrl+Shift+S smaller"_qs},
        {"two refused", AppLanguage::en, ShortcutBindings::defaults(), true, false, Service::answers,
         {1, 3}, {ShortcutAction::playPause},
         u"Taken by the system or another app: Ctrl+Alt+F toggle, Ctrl+Alt+V paste & open. "
         "Change them here or in the desktop's keyboard settings."_qs},
        {"refused, in Chinese", AppLanguage::zh, ShortcutBindings::defaults(), true, false,
         Service::answers, {1, 2}, {ShortcutAction::pasteAndOpen},
         u"以下快捷键被系统或其他 app 占用：Ctrl+Alt+F 收起/恢复、Ctrl+Alt+P 播放/暂停。"
         "可在桌面的键盘设置里调整，或改成本页其他组合。"_qs},
        {"desktop without global hot keys", AppLanguage::en, ShortcutBindings::defaults(), true, false,
         Service::unavailable, {}, {},
         u"This desktop lets no app register global shortcuts. Bind keys in the desktop's keyboard "
         "settings to commands such as “lumivane --action toggleAllWindows”."_qs},
        {"no service at all", AppLanguage::es, ShortcutBindings::defaults(), true, false, Service::none,
         {}, {},
         u"Este escritorio no deja registrar atajos globales. Asigna teclas en los ajustes de teclado "
         "del escritorio a órdenes como «lumivane --action toggleAllWindows»."_qs},
    };
    for (const Row &row : rows) {
        L10n::setLanguage(row.language);
        FakeHotKeyService service;
        service.setTaken(row.taken);
        service.setUnavailable(row.service == Service::unavailable);
        ShortcutManager manager(row.service == Service::none ? nullptr : &service, m_preferences);
        manager.setBindings(row.bindings);
        manager.setEnabled(row.enabled);
        manager.setSuspended(row.suspended);
        // What an earlier pass registered is always released first.
        service.registerHotKeys({{99, ctrlShiftS, {}, {}}});

        manager.reload();

        QVERIFY2(m_preferences.shortcutStatus() == row.status, row.name);
        QCOMPARE(manager.registrations(), row.registered);
        QList<quint32> held;
        for (const HotKeyService::HotKey &hotKey : service.registered())
            held.append(hotKey.id);
        QList<quint32> expected;
        for (const ShortcutAction action : row.registered)
            expected.append(ShortcutActions::hotKeyID(action));
        if (row.service != Service::none)
            QCOMPARE(held, expected);
    }
}

void TestShortcutManager::pressesReachTheOwner()
{
    struct Row {
        const char *name;
        quint32 id;
        std::optional<ShortcutAction> delivered;
    };
    const QList<Row> rows{
        {"registered", 2, ShortcutAction::playPause},
        {"a valid id that is not registered", 4, std::nullopt},
        {"refused", 3, std::nullopt},
        {"no action", 0, std::nullopt},
        {"past the last action", 22, std::nullopt},
    };
    FakeHotKeyService service;
    service.setTaken({3});
    ShortcutManager manager(&service, m_preferences);
    manager.setBindings(ShortcutBindings::defaults());
    manager.reload();
    QList<ShortcutAction> delivered;
    connect(&manager, &ShortcutManager::actionTriggered, this,
            [&delivered](ShortcutAction action) { delivered.append(action); });
    for (const Row &row : rows) {
        delivered.clear();
        service.press(row.id);
        const QList<ShortcutAction> expected =
            row.delivered ? QList<ShortcutAction>{*row.delivered} : QList<ShortcutAction>{};
        QVERIFY2(delivered == expected, row.name);
    }
}

QTEST_GUILESS_MAIN(TestShortcutManager)
#include "tst_shortcutmanager.moc"

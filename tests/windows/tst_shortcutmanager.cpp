#include "FakeHotKeyService.h"
#include "settings/Preferences.h"
#include "windows/ShortcutManager.h"

#include "KiteCore/L10n.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using A = ShortcutAction;

namespace {
enum class Service { answers, unavailable, none };
const KeyCombo bareKey(1, {});
const KeyCombo ctrlShiftS(1, {KeyCombo::Modifier::control, KeyCombo::Modifier::shift});
const ShortcutBindingMap defaults = ShortcutBindings::defaults();
} // namespace

class TestShortcutManager final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reloadRegistersAndReports();
    void pressesReachTheOwner();

private:
    QTemporaryDir m_folder;
    QSettings m_settings{m_folder.filePath(u"settings.ini"_qs), QSettings::IniFormat};
    Preferences m_preferences{m_settings};
};

void TestShortcutManager::reloadRegistersAndReports()
{
    ShortcutBindingMap extended = defaults;
    extended.insert({{A::screenshot, bareKey}, {A::windowScaleDown, ctrlShiftS}});
    struct Row {
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
        {AppLanguage::en, defaults, false, false, Service::answers, {}, {},
         u"Global shortcuts are off. Lumivane's menus still bring windows back."_qs},
        {AppLanguage::es, defaults, true, true, Service::answers, {}, {},
         u"Grabando un atajo — atajos globales en pausa."_qs},
        {AppLanguage::zh, {}, true, false, Service::answers, {}, {}, u"还没有绑定快捷键。点右侧按钮录制一个组合。"_qs},
        // A bare key is neither registered nor refused.
        {AppLanguage::en, {{A::screenshot, bareKey}}, true, false, Service::answers, {}, {},
         u"No shortcuts bound yet. Click a button on the right to record one."_qs},
        // Only what was registered is listed.
        {AppLanguage::en, extended, true, false, Service::answers, {},
         {A::toggleAllWindows, A::playPause, A::pasteAndOpen, A::windowScaleDown},
         u"Ctrl+Alt+F toggle · Ctrl+Alt+P play/pause · Ctrl+Alt+V paste & open · Ctrl+Shift+S smaller"_qs},
        {AppLanguage::en, defaults, true, false, Service::answers, {1, 3}, {A::playPause},
         u"Taken by the system or another app: Ctrl+Alt+F toggle, Ctrl+Alt+V paste & open. "
         "Change them here or in the desktop's keyboard settings."_qs},
        {AppLanguage::zh, defaults, true, false, Service::answers, {1, 2}, {A::pasteAndOpen},
         u"以下快捷键被系统或其他 app 占用：Ctrl+Alt+F 收起/恢复、Ctrl+Alt+P 播放/暂停。"
         "可在桌面的键盘设置里调整，或改成本页其他组合。"_qs},
        {AppLanguage::en, defaults, true, false, Service::unavailable, {}, {},
         u"This desktop lets no app register global shortcuts. Bind keys in the desktop's keyboard "
         "settings to commands such as “lumivane --action toggleAllWindows”."_qs},
        {AppLanguage::es, defaults, true, false, Service::none, {}, {},
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

        manager.reload();

        QCOMPARE(m_preferences.shortcutStatus(), row.status);
        QCOMPARE(manager.registrations(), row.registered);
        QList<quint32> expected;
        for (const ShortcutAction action : row.registered)
            expected.append(ShortcutActions::hotKeyID(action));
        QCOMPARE(service.registered(), expected);
    }
}

void TestShortcutManager::pressesReachTheOwner()
{
    FakeHotKeyService service;
    service.setTaken({3});
    ShortcutManager manager(&service, m_preferences);
    manager.setBindings(defaults);
    manager.reload();
    QList<ShortcutAction> delivered;
    connect(&manager, &ShortcutManager::actionTriggered, this, [&](A action) { delivered.append(action); });
    // Registered, valid but unbound, refused, no action, past the last action.
    for (const quint32 id : {2u, 4u, 3u, 0u, 22u})
        service.press(id);
    QCOMPARE(delivered, QList<ShortcutAction>{A::playPause});
}

QTEST_GUILESS_MAIN(TestShortcutManager)
#include "tst_shortcutmanager.moc"

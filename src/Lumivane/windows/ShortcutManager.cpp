#include "windows/ShortcutManager.h"

#include "platform/DebugLog.h"
#include "platform/HotKeyService.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <array>
#include <cstddef>

namespace {

struct ShortTitle
{
    const char *zh;
    const char *en;
    const char *es;
};

// One row per action, in action order.
constexpr std::array<ShortTitle, ShortcutActions::allCases.size()> shortTitles{{
    {"收起/恢复", "toggle", "alternar"},
    {"播放/暂停", "play/pause", "reproducir"},
    {"粘贴并打开", "paste & open", "pegar y abrir"},
    {"截图", "capture", "capturar"},
    {"小窗", "small", "pequeña"},
    {"标准", "standard", "estándar"},
    {"大窗", "large", "grande"},
    {"竖屏", "portrait", "vertical"},
    {"方形", "square", "cuadrada"},
    {"适应视频", "fit", "ajustar"},
    {"左上", "top-left", "arriba izq."},
    {"右上", "top-right", "arriba der."},
    {"左下", "bottom-left", "abajo izq."},
    {"右下", "bottom-right", "abajo der."},
    {"居中", "center", "centrar"},
    {"更不透明", "more opaque", "más opaco"},
    {"更透明", "more transparent", "más transparente"},
    {"置顶", "pin", "fijar"},
    {"影院", "cinema", "cine"},
    {"放大", "bigger", "ampliar"},
    {"缩小", "smaller", "reducir"},
}};

QString offText()
{
    return L("全局快捷键已关闭。仍可从 Lumivane 的菜单找回窗口。",
             "Global shortcuts are off. Lumivane's menus still bring windows back.",
             "Atajos globales desactivados. Los menús de Lumivane siguen recuperando las ventanas.");
}

QString recordingText()
{
    return L("正在录制快捷键，全局快捷键暂时停用。", "Recording a shortcut — global shortcuts paused.",
             "Grabando un atajo — atajos globales en pausa.");
}

QString noneBoundText()
{
    return L("还没有绑定快捷键。点右侧按钮录制一个组合。",
             "No shortcuts bound yet. Click a button on the right to record one.",
             "Aún sin atajos. Pulsa un botón a la derecha para grabar uno.");
}

QString unavailableText()
{
    return L("这个桌面不允许应用注册全局快捷键。可在桌面的键盘设置里把按键绑定到命令，"
             "例如 “lumivane --action toggleAllWindows”。",
             "This desktop lets no app register global shortcuts. Bind keys in the desktop's "
             "keyboard settings to commands such as “lumivane --action toggleAllWindows”.",
             "Este escritorio no deja registrar atajos globales. Asigna teclas en los ajustes de "
             "teclado del escritorio a órdenes como «lumivane --action toggleAllWindows».");
}

QString failuresText(const QStringList &failures)
{
    return L("以下快捷键被系统或其他 app 占用：", "Taken by the system or another app: ",
             "Ocupados por el sistema u otra app: ")
           + failures.join(L("、", ", ", ", "))
           + L("。可在桌面的键盘设置里调整，或改成本页其他组合。",
               ". Change them here or in the desktop's keyboard settings.",
               ". Cámbialos aquí o en los ajustes de teclado del escritorio.");
}

} // namespace

ShortcutManager::ShortcutManager(HotKeyService *service, Preferences &preferences, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_preferences(preferences)
{
    if (!service)
        return;
    connect(service, &HotKeyService::answered, this, &ShortcutManager::registrationAnswered);
    connect(service, &HotKeyService::unavailable, this, &ShortcutManager::serviceUnavailable);
    connect(service, &HotKeyService::activated, this, &ShortcutManager::hotKeyPressed);
}

ShortcutManager::~ShortcutManager() = default;

QString ShortcutManager::shortTitle(ShortcutAction action)
{
    const ShortTitle &title = shortTitles[static_cast<std::size_t>(action)];
    return L(title.zh, title.en, title.es);
}

void ShortcutManager::reload()
{
    unregisterAll();
    if (!m_enabled) {
        publish(offText());
        return;
    }
    if (m_suspended) {
        publish(recordingText());
        return;
    }
    ShortcutBindingMap requested;
    QList<HotKeyService::HotKey> hotKeys;
    // The map iterates in action order.
    for (const auto &[action, combo] : m_bindings) {
        // A bare key is never taken from every other program.
        if (!combo.isValid())
            continue;
        requested.emplace(action, combo);
        hotKeys.append({ShortcutActions::hotKeyID(action), combo, toRaw(action),
                        ShortcutActions::title(action)});
    }
    if (requested.empty()) {
        publish(noneBoundText());
        return;
    }
    if (!m_service) {
        publish(unavailableText());
        return;
    }
    m_requested = requested;
    m_service->registerHotKeys(hotKeys);
}

void ShortcutManager::unregisterAll()
{
    m_requested.reset();
    m_registrations.clear();
    if (m_service)
        m_service->unregisterAll();
}

void ShortcutManager::registrationAnswered(const QList<quint32> &registered)
{
    if (!m_requested)
        return;
    QStringList active;
    QStringList failures;
    for (const auto &[action, combo] : *m_requested) {
        if (registered.contains(ShortcutActions::hotKeyID(action))) {
            m_registrations.append(action);
            active.append(entry(action, combo));
        } else {
            failures.append(entry(action, combo));
        }
    }
    m_requested.reset();
    // Only what was registered is listed as active.
    publish(failures.isEmpty() ? active.join(QStringLiteral(" · ")) : failuresText(failures));
}

void ShortcutManager::serviceUnavailable()
{
    if (!m_requested)
        return;
    m_requested.reset();
    publish(unavailableText());
}

void ShortcutManager::hotKeyPressed(quint32 id)
{
    const std::optional<ShortcutAction> action = ShortcutActions::action(id);
    if (action && m_registrations.contains(*action))
        Q_EMIT actionTriggered(*action);
}

void ShortcutManager::publish(const QString &status)
{
    DebugLog::grab(QStringLiteral("shortcuts: ") + status);
    m_preferences.setShortcutStatus(status);
}

QString ShortcutManager::entry(ShortcutAction action, const KeyCombo &combo)
{
    return combo.displayString() + u' ' + shortTitle(action);
}

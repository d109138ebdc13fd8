#include "KiteCore/ShortcutAction.h"

#include "KiteCore/L10n.h"
#include "KiteCore/RawValue.h"

#include <QHashFunctions>

namespace {

struct ActionInfo
{
    const char *raw;
    ShortcutGroup group;
    const char *zh;
    const char *en;
    const char *es;
};

// One row per action, in allCases order.
constexpr std::array<ActionInfo, ShortcutActions::allCases.size()> actionTable{{
    {"toggleAllWindows", ShortcutGroup::general, "收起 / 恢复全部窗口", "Toggle all windows",
     "Alternar ventanas"},
    {"playPause", ShortcutGroup::general, "播放 / 暂停当前窗口", "Play / pause active window",
     "Reproducir / pausar"},
    {"pasteAndOpen", ShortcutGroup::general, "粘贴并打开", "Paste and open", "Pegar y abrir"},
    {"screenshot", ShortcutGroup::general, "截取当前画面", "Capture frame", "Capturar fotograma"},
    {"windowSmall", ShortcutGroup::size, "小窗 · 480", "Small · 480", "Pequeña · 480"},
    {"windowStandard", ShortcutGroup::size, "标准 · 640", "Standard · 640", "Estándar · 640"},
    {"windowLarge", ShortcutGroup::size, "大窗 · 960", "Large · 960", "Grande · 960"},
    {"windowPortrait", ShortcutGroup::size, "竖屏 · 9:16", "Portrait · 9:16", "Vertical · 9:16"},
    {"windowSquare", ShortcutGroup::size, "方形 · 1:1", "Square · 1:1", "Cuadrada · 1:1"},
    {"fitToVideo", ShortcutGroup::size, "适应视频比例", "Fit video aspect", "Ajustar al vídeo"},
    {"moveTopLeft", ShortcutGroup::position, "移到左上角", "Move to top-left", "Arriba izquierda"},
    {"moveTopRight", ShortcutGroup::position, "移到右上角", "Move to top-right", "Arriba derecha"},
    {"moveBottomLeft", ShortcutGroup::position, "移到左下角", "Move to bottom-left",
     "Abajo izquierda"},
    {"moveBottomRight", ShortcutGroup::position, "移到右下角", "Move to bottom-right",
     "Abajo derecha"},
    {"moveCenter", ShortcutGroup::position, "窗口居中", "Center window", "Centrar ventana"},
    {"opacityUp", ShortcutGroup::window, "调高不透明度", "Increase opacity", "Más opaco"},
    {"opacityDown", ShortcutGroup::window, "调低不透明度", "Decrease opacity", "Más transparente"},
    {"togglePin", ShortcutGroup::window, "置顶开关", "Toggle always on top",
     "Alternar siempre encima"},
    {"toggleCinema", ShortcutGroup::window, "影院全屏开关", "Toggle fullscreen",
     "Alternar pantalla completa"},
    {"windowScaleUp", ShortcutGroup::size, "按比例放大 +10%", "Scale up +10%", "Ampliar +10%"},
    {"windowScaleDown", ShortcutGroup::size, "按比例缩小 −10%", "Scale down −10%", "Reducir −10%"},
}};

const ActionInfo &info(ShortcutAction action)
{
    return actionTable[static_cast<std::size_t>(action)];
}

} // namespace

namespace ShortcutActions {

ShortcutGroup group(ShortcutAction action)
{
    return info(action).group;
}

QString title(ShortcutAction action)
{
    const ActionInfo &row = info(action);
    return L(row.zh, row.en, row.es);
}

quint32 hotKeyID(ShortcutAction action)
{
    return static_cast<quint32>(action) + 1;
}

std::optional<ShortcutAction> action(quint32 hotKeyID)
{
    if (hotKeyID == 0 || hotKeyID > allCases.size())
        return std::nullopt;
    return allCases[hotKeyID - 1];
}

} // namespace ShortcutActions

QString toRaw(ShortcutAction action)
{
    return QLatin1StringView(info(action).raw);
}

std::optional<ShortcutAction> shortcutActionFromRaw(const QString &raw)
{
    return caseFromRaw(ShortcutActions::allCases, raw);
}

size_t qHash(ShortcutAction action, size_t seed) noexcept
{
    return qHash(static_cast<int>(action), seed);
}

#include "KiteCore/ShortcutGroup.h"

#include "KiteCore/L10n.h"
#include "KiteCore/RawValue.h"

namespace ShortcutGroups {

QString title(ShortcutGroup group)
{
    switch (group) {
    case ShortcutGroup::general: return L("通用", "General", "General");
    case ShortcutGroup::size: return L("窗口尺寸", "Window size", "Tamaño de ventana");
    case ShortcutGroup::position: return L("窗口位置", "Window position", "Posición de ventana");
    case ShortcutGroup::window: return L("窗口控制", "Window controls", "Controles de ventana");
    }
    return {};
}

} // namespace ShortcutGroups

QString toRaw(ShortcutGroup group)
{
    switch (group) {
    case ShortcutGroup::general: return QStringLiteral("general");
    case ShortcutGroup::size: return QStringLiteral("size");
    case ShortcutGroup::position: return QStringLiteral("position");
    case ShortcutGroup::window: return QStringLiteral("window");
    }
    return QStringLiteral("general");
}

std::optional<ShortcutGroup> shortcutGroupFromRaw(const QString &raw)
{
    return caseFromRaw(ShortcutGroups::allCases, raw);
}

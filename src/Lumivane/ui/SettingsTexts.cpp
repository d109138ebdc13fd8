#include "ui/SettingsTexts.h"

#include "KiteCore/L10n.h"
#include "KiteCore/SiteCapabilities.h"

#include <QStringList>

namespace SettingsTexts {

QString historySummary(int count, int favorites)
{
    if (count == 0) {
        return L("目前没有保存任何内容。", "There is nothing saved right now.",
                 "Ahora mismo no hay nada guardado.");
    }
    const QString n = QString::number(count);
    const QString f = QString::number(favorites);
    return L(n + QStringLiteral(" 条记录，含 ") + f + QStringLiteral(" 个收藏。"),
             n + QStringLiteral(" items, ") + f
                 + (favorites == 1 ? QStringLiteral(" favorite.") : QStringLiteral(" favorites.")),
             n + QStringLiteral(" elementos, ") + f
                 + (favorites == 1 ? QStringLiteral(" favorito.") : QStringLiteral(" favoritos.")));
}

QString clearHistoryMessage(int count)
{
    const QString n = QString::number(count);
    return L(n + QStringLiteral(" 条记录会被删除（包括其中的收藏），无法恢复。"),
             n + QStringLiteral(" items will be removed, favorites included. This can't be undone."),
             QStringLiteral("Se eliminarán ") + n + QStringLiteral(" elementos, incluidos los favoritos."));
}

QString shortcutStatusLine(const QString &status)
{
    if (!status.isEmpty())
        return status;
    return L("尚未注册。", "Not registered yet.", "Aún no registrados.");
}

QString siteTierLine(SiteCapability capability)
{
    QStringList names;
    for (const SiteStatus &status : SiteCapabilities::statuses(capability))
        names.append(status.displayName);
    return names.join(QStringLiteral(" · ")) + QStringLiteral(" (%1)").arg(names.size());
}

QString wayBack(bool hasTray)
{
    if (hasTray)
        return L("托盘图标", "the tray icon", "el icono de la bandeja");
    return L("开始面板的「窗口」一栏", "the Windows section of the start panel",
             "la sección Ventanas del panel de inicio");
}

QString globalShortcutsDetail(bool hasTray)
{
    const QString place = wayBack(hasTray);
    return L(QStringLiteral("仍可通过") + place + QStringLiteral("找回窗口。"),
             QStringLiteral("You can still reach windows from ") + place + u'.',
             QStringLiteral("Aún puedes llegar a las ventanas desde ") + place + u'.');
}

QString restoreAllDetail(bool hasTray)
{
    if (hasTray) {
        return L("托盘图标 → 恢复全部窗口：撤销点击穿透并找回所有窗口。",
                 "Tray icon → Restore All Windows undoes click-through and brings windows back.",
                 "Icono de la bandeja → Restaurar todas las ventanas deshace el clic a través y "
                 "recupera las ventanas.");
    }
    return L("开始面板 → 窗口 → 恢复全部：撤销点击穿透并找回所有窗口。",
             "Start panel → Windows → Restore all undoes click-through and brings windows back.",
             "Panel de inicio → Ventanas → Restaurar todo deshace el clic a través y recupera "
             "las ventanas.");
}

} // namespace SettingsTexts

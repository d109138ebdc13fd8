#include "ui/HomeTexts.h"

#include "KiteCore/L10n.h"

#include <QLocale>

#include <cmath>

namespace HomeTexts {

QString sectionName(HomeSection section)
{
    switch (section) {
    case HomeSection::open: return L("打开", "Open", "Abrir");
    case HomeSection::recent: return L("最近", "Recent", "Recientes");
    case HomeSection::favorites: return L("收藏", "Favorites", "Favoritos");
    case HomeSection::windows: return L("浮窗", "Windows", "Ventanas");
    case HomeSection::playlist: return L("播放列表", "Playlist", "Lista");
    }
    return {};
}

QString sectionTitle(HomeSection section)
{
    switch (section) {
    case HomeSection::open: return L("打开点什么", "Open something", "Abre algo");
    case HomeSection::recent: return L("最近", "Recent", "Recientes");
    case HomeSection::favorites: return L("收藏", "Favorites", "Favoritos");
    case HomeSection::windows: return L("浮窗", "Floating windows", "Ventanas flotantes");
    case HomeSection::playlist: return L("播放列表", "Playlist", "Lista de reproducción");
    }
    return {};
}

QString sectionSubtitle(HomeSection section)
{
    switch (section) {
    case HomeSection::open:
        return L("粘贴链接或拖入文件——让一个小窗留在桌面上。",
                 "Paste a link or drop a file — keep a window on your desktop.",
                 "Pega un enlace o suelta un archivo: deja una ventana en tu escritorio.");
    case HomeSection::recent:
        return L("打开过的一切都在这里，随时从上次停下的地方继续。",
                 "Everything you've opened, ready to pick up where you left off.",
                 "Todo lo que has abierto, listo para seguir donde lo dejaste.");
    case HomeSection::favorites:
        return L("值得留下的——一键就能找回。", "The keepers — bring them back with one click.",
                 "Los que valen la pena: recupéralos con un clic.");
    case HomeSection::windows:
        return L("桌面上的每个浮窗，在这里统一管理。",
                 "Every floating window on your desktop, managed in one place.",
                 "Todas las ventanas flotantes de tu escritorio, en un solo lugar.");
    case HomeSection::playlist:
        return L("把视频或音频排好队，一个接一个播放。",
                 "Queue up videos or audio and they play one after another.",
                 "Pon vídeos o audio en cola y se reproducen uno tras otro.");
    }
    return {};
}

QString relativeTime(const QDateTime &then, const QDateTime &now)
{
    const qint64 seconds = then.secsTo(now);
    if (seconds < 60)
        return L("刚刚", "just now", "justo ahora");
    if (seconds < 3600)
        return QString::number(seconds / 60) + L(" 分钟前", " min ago", " min atrás");
    if (seconds < 86400)
        return QString::number(seconds / 3600) + L(" 小时前", " h ago", " h atrás");
    if (seconds < 604800)
        return QString::number(seconds / 86400) + L(" 天前", " d ago", " d atrás");
    return QLocale::system().toString(then.toLocalTime().date(), QLocale::ShortFormat);
}

QString kindLabel(MediaKind kind)
{
    if (kind == MediaKind::localFile)
        return L("本地", "Local", "Local");
    return L("链接", "Link", "Enlace");
}

QString watched(double progress)
{
    return QString::number(std::lround(progress * 100.0)) + L("% 已看", "% watched", "% visto");
}

QString siteSupport(int adapted, int experimental, int unsupported)
{
    return L("站点支持：", "Site support: ", "Compatibilidad: ")
           + L("%1 个已适配 · %2 个实验性 · %3 个不支持（设置 → 站点支持）",
               "%1 adapted · %2 experimental · %3 unsupported (Settings → Site support)",
               "%1 adaptados · %2 experimentales · %3 no compatibles (Ajustes → Compatibilidad)")
                 .arg(adapted)
                 .arg(experimental)
                 .arg(unsupported);
}

QString clearHistoryMessage(int count)
{
    return QString::number(count)
           + L(" 条记录将被移除，收藏也包括在内。此操作无法撤销。",
               " items will be removed, favorites included. This can't be undone.",
               " elementos se eliminarán, favoritos incluidos. No se puede deshacer.");
}

QString itemCount(int count)
{
    return QString::number(count) + L(" 项", " items", " elementos");
}

QString playingCount(int count)
{
    return QString::number(count) + L(" 个播放中", " playing", " reproduciendo");
}

QString hiddenCount(int count)
{
    return QString::number(count) + L(" 个已隐藏", " hidden", " ocultas");
}

QString lostWindowTip(bool hasTray)
{
    if (hasTray)
        return L("窗口找不到了？用托盘图标或 Ctrl+Alt+F。",
                 "Lost a window? Use the tray icon or Ctrl+Alt+F.",
                 "¿Perdiste una ventana? Usa el icono de la bandeja o Ctrl+Alt+F.");
    return L("窗口找不到了？按 Ctrl+Alt+F，或打开“浮窗”分区。",
             "Lost a window? Press Ctrl+Alt+F, or open the Windows section.",
             "¿Perdiste una ventana? Pulsa Ctrl+Alt+F o abre la sección Ventanas.");
}

QString hideHelp(bool hasTray)
{
    return hasTray ? L("隐藏它——可从托盘图标找回", "Hide it — recover from the tray icon",
                       "Ocultarla: recupérala desde el icono de la bandeja")
                   : L("隐藏它——可在这里找回", "Hide it — bring it back from here",
                       "Ocultarla: recupérala desde aquí");
}

} // namespace HomeTexts

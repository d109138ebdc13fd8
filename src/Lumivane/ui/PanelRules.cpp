#include "ui/PanelRules.h"

#include "ui/OverlayRules.h"

#include "KiteCore/L10n.h"

#include <algorithm>

namespace PanelRules {

namespace {
constexpr int cursorGap = 10;
} // namespace

QString statusSummary(int windows, int playing, int hidden)
{
    if (windows == 0)
        return L("没有浮窗", "No floating windows", "No hay ventanas flotantes");
    const QString base = windows == 1 ? L("1 个窗口", "1 window", "1 ventana")
                                      : L("%1 个窗口", "%1 windows", "%1 ventanas").arg(windows);
    const QString separator = QStringLiteral(" · ");
    if (playing >= 1)
        return base + separator
               + L("%1 个正在播放", "%1 playing", "%1 en reproducción").arg(playing);
    if (hidden != windows)
        return base + separator + L("已暂停", "paused", "en pausa");
    if (windows == 1)
        return L("窗口已收起", "Window hidden", "Ventana oculta");
    return L("全部 %1 个已收起", "All %1 hidden", "Las %1 ocultas").arg(windows);
}

Tone summaryTone(int windows, int playing, int hidden)
{
    if (playing >= 1)
        return Tone::playing;
    if (windows == 0 || hidden == windows)
        return Tone::hidden;
    return Tone::idle;
}

Tone rowTone(const RowState &state)
{
    if (state.failed)
        return Tone::failed;
    if (state.loading)
        return Tone::loading;
    if (state.hidden)
        return Tone::hidden;
    return state.playing ? Tone::playing : Tone::idle;
}

QString rowSubtitle(const QString &statusText, MediaKind kind, double elapsed, double duration)
{
    if (kind == MediaKind::web || !(duration > 0))
        return statusText;
    return statusText + QStringLiteral(" · ") + OverlayRules::timeLabel(elapsed)
           + QStringLiteral(" / ") + OverlayRules::timeLabel(duration);
}

QRect placement(const QPoint &cursor, const QSize &size, const QRect &available)
{
    const int left = std::clamp(cursor.x() - size.width() / 2, available.left(),
                                std::max(available.left(), available.right() + 1 - size.width()));
    const bool below = cursor.y() < available.center().y();
    const int wanted = below ? cursor.y() + cursorGap : cursor.y() - cursorGap - size.height();
    const int top = std::clamp(wanted, available.top(),
                               std::max(available.top(), available.bottom() + 1 - size.height()));
    return {QPoint(left, top), size};
}

} // namespace PanelRules

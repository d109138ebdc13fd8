#include "ui/OverlayRules.h"

#include "KiteCore/L10n.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace OverlayRules {

QString timeLabel(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        return QStringLiteral("0:00");
    // Far beyond any media length; keeps the rounding inside the integer range.
    const auto total = static_cast<qint64>(std::round(std::min(seconds, 1e12)));
    const qint64 hours = total / 3600;
    const qint64 minutes = (total % 3600) / 60;
    const qint64 secs = total % 60;
    if (total < 3600)
        return QStringLiteral("%1:%2").arg(minutes).arg(secs, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secs, 2, 10, QLatin1Char('0'));
}

QString speedLabel(double speed)
{
    const QString times = QStringLiteral("×");
    if (std::isfinite(speed) && speed == std::trunc(speed) && std::abs(speed) < 1e15)
        return QString::number(static_cast<qint64>(speed)) + times;
    return QString::number(speed, 'g', QLocale::FloatingPointShortest) + times;
}

bool isCurrentSpeed(double current, double value)
{
    return std::abs(current - value) < 0.01;
}

QString percentLabel(double fraction)
{
    const double clamped = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    return QString::number(std::lround(clamped * 100)) + QLatin1Char('%');
}

bool controlsVisible(const VisibilityInputs &inputs)
{
    return !inputs.autoHide || inputs.controlsPinned || !inputs.ready || inputs.hovering
           || inputs.linger;
}

EscapeAction escapeAction(bool isCinema, bool clickThrough)
{
    if (isCinema)
        return EscapeAction::exitCinema;
    if (clickThrough)
        return EscapeAction::endClickThrough;
    return EscapeAction::closeWindow;
}

double skipTarget(double elapsed, double delta, MediaKind kind)
{
    const double target = elapsed + delta;
    return kind == MediaKind::web ? std::max(0.0, target) : target;
}

double scrubSeconds(double fraction, double duration)
{
    if (!std::isfinite(duration) || duration <= 0 || !std::isfinite(fraction))
        return 0;
    return std::clamp(fraction, 0.0, 1.0) * duration;
}

QString failureIconName(AppError::Kind kind)
{
    switch (kind) {
    case AppError::Kind::input: return QStringLiteral("kind-input");
    case AppError::Kind::network: return QStringLiteral("kind-network");
    case AppError::Kind::decode: return QStringLiteral("kind-decode");
    case AppError::Kind::web: return QStringLiteral("kind-web");
    case AppError::Kind::external: return QStringLiteral("kind-external");
    case AppError::Kind::storage: return QStringLiteral("kind-storage");
    }
    return QStringLiteral("kind-decode");
}

QString clickThroughMessage(const QString &keyDisplay, bool hasTray)
{
    const QString way = hasTray
                            ? L("托盘图标 →「恢复全部窗口」", "the tray icon → Restore All Windows",
                                "el icono de la bandeja → Restaurar todas las ventanas")
                            : L("Lumivane 窗口的菜单「播放 → 恢复全部窗口」",
                                "Playback → Restore All Windows in the Lumivane window",
                                "Reproducción → Restaurar todas las ventanas en la ventana de "
                                "Lumivane");
    if (keyDisplay.isEmpty()) {
        return L("点击会穿透到窗口后面的内容。可通过%1恢复。",
                 "Clicks go to whatever is behind the window. Use %1 to get back.",
                 "Los clics pasan a lo que haya detrás de la ventana. Usa %1 para volver.")
            .arg(way);
    }
    return L("点击会穿透到窗口后面的内容。可通过%1，或按 %2 恢复。",
             "Clicks go to whatever is behind the window. Use %1, or press %2, to get back.",
             "Los clics pasan a lo que haya detrás de la ventana. Usa %1, o pulsa %2, para volver.")
        .arg(way, keyDisplay);
}

QString hideToolTip(bool hasTray)
{
    if (hasTray) {
        return L("收起（可从托盘图标恢复）", "Hide (recover from the tray icon)",
                 "Ocultar (recupérala desde el icono de la bandeja)");
    }
    return L("收起（可用「恢复全部窗口」恢复）", "Hide (recover with Restore All Windows)",
             "Ocultar (recupérala con Restaurar todas las ventanas)");
}

} // namespace OverlayRules

#pragma once

#include "KiteCore/AppError.h"

#include "KiteCore/MediaKind.h"

#include <QString>

#include <array>

// The decisions of the player overlay that do not need a widget: labels, visibility,
// the Escape order and seek targets.
namespace OverlayRules {
inline constexpr std::array<double, 6> speeds{0.5, 0.75, 1.0, 1.25, 1.5, 2.0};
inline constexpr std::array<double, 7> opacityPresets{1.0, 0.9, 0.8, 0.7, 0.6, 0.5, 0.25};
inline constexpr double skipSeconds = 10.0;

// "m:ss" below an hour, "h:mm:ss" from an hour on; not finite or negative reads "0:00".
QString timeLabel(double seconds);
// "1×", "2×", "1.5×", "0.75×".
QString speedLabel(double speed);
bool isCurrentSpeed(double current, double value);
// "100%"; used for volume and opacity.
QString percentLabel(double fraction);

struct VisibilityInputs {
    bool autoHide = true;
    bool controlsPinned = false;
    bool ready = false;
    bool hovering = false;
    bool linger = false;
};
bool controlsVisible(const VisibilityInputs &inputs);

enum class EscapeAction { exitCinema, endClickThrough, closeWindow };
EscapeAction escapeAction(bool isCinema, bool clickThrough);

// Where "Back 10s" / "Forward 10s" go. Native seeks are clamped by the session; a web page
// gets no negative time.
double skipTarget(double elapsed, double delta, MediaKind kind);
// The scrubber's time for a pointer at fraction of the track; nothing to seek without a length.
double scrubSeconds(double fraction, double duration);

// Resource name (without folder and suffix) of the failure panel's icon.
QString failureIconName(AppError::Kind kind);

// The click-through confirmation's message; keyDisplay is the bound restore shortcut as
// shown on this desktop, empty when none is bound. Without a tray the way back is the
// home window's menu.
QString clickThroughMessage(const QString &keyDisplay, bool hasTray);
// The hide button's tool tip: where a hidden window is got back from.
QString hideToolTip(bool hasTray);
} // namespace OverlayRules

#pragma once

#include "KiteCore/MediaKind.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The decisions of the tray panel that need no widget: the status summary, the rows'
// subtitles and tones, and where the panel goes.
namespace PanelRules {

// How a status dot or row marker is coloured.
enum class Tone { idle, playing, loading, failed, hidden };

// "No floating windows", "3 windows · 1 playing", "2 windows · paused", "Window hidden",
// "All 2 hidden".
QString statusSummary(int windows, int playing, int hidden);
Tone summaryTone(int windows, int playing, int hidden);

struct RowState {
    bool loading = false;
    bool failed = false;
    bool hidden = false;
    bool playing = false;
};
Tone rowTone(const RowState &state);

// The status text, followed by " · elapsed / duration" for a non-web source of known length.
QString rowSubtitle(const QString &statusText, MediaKind kind, double elapsed, double duration);

// Near the cursor, on the side of it with room (a tray reports no geometry), and wholly on
// the available area.
QRect placement(const QPoint &cursor, const QSize &size, const QRect &available);

} // namespace PanelRules

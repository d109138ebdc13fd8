#pragma once

#include "KiteCore/GeoRect.h"

#include <QList>
#include <QRect>

#include <optional>

class QScreen;

// Converts between Qt's rectangles (origin top-left, y down) and the window layer's
// convention (origin at the bottom-left corner of the primary screen, y up), the form in
// which frames are computed and stored.
namespace ScreenGeometry {

// Both directions take the primary screen as reference; without one they pass the numbers
// through with y unchanged.
GeoRect fromQt(const QRect &rect);
// Rounded to whole pixels: edges are rounded, so sizes like 228.5 become 229.
QRect toQt(const GeoRect &rect);

// The usable area of the screen (without panels), in the window layer's convention.
GeoRect visibleFrame(const QScreen &screen);
// The whole screen.
GeoRect screenFrame(const QScreen &screen);

// The first screen whose visible frame overlaps the rectangle, if any.
QScreen *screenShowing(const GeoRect &rect);
QScreen *mainScreen();

} // namespace ScreenGeometry

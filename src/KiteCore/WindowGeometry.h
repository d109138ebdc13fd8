#pragma once

#include "KiteCore/GeoRect.h"
#include "KiteCore/GeoSize.h"
#include "KiteCore/WindowPosition.h"

#include <Qt>

// Rectangle arithmetic for the floating windows, origin bottom-left and y up. A size, factor
// or aspect that is not a finite number falls back to the documented default; NaN in a
// position is ignored wherever the result is clamped.
namespace WindowGeometry {

GeoRect clamp(const GeoRect &frame, const GeoRect &visible, const GeoSize &minSize);
GeoRect snap(const GeoRect &frame, const GeoRect &visible, double threshold);
GeoRect fit(double aspect, double width, const GeoRect &visible);
GeoSize fittedSize(double aspect, double width, double titleBarHeight, const GeoSize &minSize,
                   const GeoRect &visible);
GeoRect scaled(const GeoRect &frame, double factor, double titleBarHeight,
               const GeoRect &visible, const GeoSize &minSize, double anchorThreshold);
GeoRect anchoredResize(const GeoRect &frame, const GeoSize &size, const GeoRect &visible,
                       double anchorThreshold);
GeoRect anchored(const GeoRect &frame, WindowPosition position, const GeoRect &visible,
                 double margin);

// A user resize from oldSize to frame brought back to a locked content aspect (content
// width / (height - title bar)), never below minSize, in whole points. The side the user
// pulled leads and the other follows: a grip on a side edge names it, otherwise the larger
// change does. The edges opposite the pulled ones stay; without pulled edges the left and the
// top stay. An aspect that is not a positive number keeps the frame.
GeoRect keptAspect(const GeoRect &frame, const GeoSize &oldSize, Qt::Edges pulled, double aspect,
                   double titleBarHeight, const GeoSize &minSize);

} // namespace WindowGeometry

#include "KiteCore/WindowGeometry.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

// std::fmax/std::fmin return the other operand when one is NaN, so a NaN input loses
// against every bound instead of spreading into the frame.

namespace WindowGeometry {

namespace {

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

double positiveOr(double value, double fallback)
{
    return std::isfinite(value) && value > 0 ? value : fallback;
}

// A title bar height that is negative or not finite adds nothing.
double chromeHeight(double titleBarHeight)
{
    return std::isfinite(titleBarHeight) && titleBarHeight >= 0 ? titleBarHeight : 0;
}

// A minimum that is not finite means no minimum.
GeoSize sane(const GeoSize &minSize)
{
    return {finiteOr(minSize.width, 0), finiteOr(minSize.height, 0)};
}

double clampedOrigin(double origin, double low, double high)
{
    // The left or bottom edge wins when the window cannot fit.
    if (low > high)
        return low;
    return std::fmin(std::fmax(origin, low), high);
}

std::optional<double> nearestCandidate(double value, std::initializer_list<double> candidates,
                                       double threshold)
{
    if (!(threshold >= 0))
        return std::nullopt;
    std::optional<double> best;
    double bestDistance = std::numeric_limits<double>::max();
    for (double candidate : candidates) {
        const double distance = std::fabs(candidate - value);
        if (distance <= threshold && distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

double anchoredCoordinate(double low, double mid, double high, double visibleLow,
                          double visibleHigh, double length, double threshold)
{
    // The far edge (right, top) is tested first.
    if (std::fabs(high - visibleHigh) <= threshold)
        return high - length;
    if (std::fabs(low - visibleLow) <= threshold)
        return low;
    return mid - length * 0.5;
}

constexpr double defaultAspect = 16.0 / 9.0;

// The content size of a window `width` wide, grown to the minimum height below the title bar.
GeoSize minimumContent(double ratio, double width, const GeoSize &least, double chrome)
{
    double w = width;
    double h = w / ratio;
    const double minContent = std::fmax(least.height - chrome, 0);
    if (h < minContent) {
        h = minContent;
        w = h * ratio;
    }
    return {w, h};
}

GeoSize scaledDownInto(const GeoSize &content, const GeoRect &visible, double chrome)
{
    const double maxW = std::fmax(visible.width, 0);
    const double maxH = std::fmax(visible.height - chrome, 0);
    if (content.width <= maxW && content.height <= maxH)
        return content;
    const double scale = std::fmin(maxW / std::fmax(content.width, 1),
                                   maxH / std::fmax(content.height, 1));
    // A zero scale (an area shorter than the title bar) would collapse the window.
    if (!std::isfinite(scale) || scale <= 0)
        return content;
    return {content.width * scale, content.height * scale};
}

GeoRect placeAnchored(const GeoRect &frame, double w, double h, const GeoRect &visible,
                      double threshold)
{
    const double x = anchoredCoordinate(frame.minX(), frame.midX(), frame.maxX(), visible.minX(),
                                        visible.maxX(), w, threshold);
    const double y = anchoredCoordinate(frame.minY(), frame.midY(), frame.maxY(), visible.minY(),
                                        visible.maxY(), h, threshold);
    return {x, y, w, h};
}

// Whether a resize pulled the width rather than the height: a grip on a side edge says so
// itself, otherwise the larger change decides.
bool widthLeads(Qt::Edges pulled, const GeoSize &oldSize, const GeoSize &now)
{
    const bool horizontal = pulled & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = pulled & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal != vertical)
        return horizontal;
    return std::fabs(now.width - oldSize.width) >= std::fabs(now.height - oldSize.height);
}

} // namespace

GeoRect clamp(const GeoRect &frame, const GeoRect &visible, const GeoSize &minSize)
{
    const GeoSize least = sane(minSize);
    const double width = std::fmin(std::fmax(frame.width, least.width),
                                   std::fmax(visible.width, least.width));
    const double height = std::fmin(std::fmax(frame.height, least.height),
                                    std::fmax(visible.height, least.height));
    const double x = clampedOrigin(frame.minX(), visible.minX(), visible.maxX() - width);
    const double y = clampedOrigin(frame.minY(), visible.minY(), visible.maxY() - height);
    return {x, y, width, height};
}

GeoRect snap(const GeoRect &frame, const GeoRect &visible, double threshold)
{
    const double x = nearestCandidate(frame.minX(),
                                      {visible.minX(), visible.midX() - frame.width * 0.5,
                                       visible.maxX() - frame.width},
                                      threshold)
                         .value_or(frame.minX());
    const double y = nearestCandidate(frame.minY(),
                                      {visible.minY(), visible.midY() - frame.height * 0.5,
                                       visible.maxY() - frame.height},
                                      threshold)
                         .value_or(frame.minY());
    return {x, y, frame.width, frame.height};
}

GeoRect fit(double aspect, double width, const GeoRect &visible)
{
    double w = positiveOr(width, 0);
    if (visible.width < w)
        w = std::fmax(visible.width, 0);
    const double a = positiveOr(aspect, 1.0);
    double h = w / a;
    if (visible.height < h) {
        h = std::fmax(visible.height, 0);
        w = a * h;
    }
    return {visible.midX() - w * 0.5, visible.midY() - h * 0.5, w, h};
}

GeoSize fittedSize(double aspect, double width, double titleBarHeight, const GeoSize &minSize,
                   const GeoRect &visible)
{
    const double chrome = chromeHeight(titleBarHeight);
    const GeoSize least = sane(minSize);
    const double w = std::fmax(std::fmax(finiteOr(width, 1), 1), least.width);
    GeoSize content = minimumContent(positiveOr(aspect, defaultAspect), w, least, chrome);
    // An aspect so extreme that the size overflows is as invalid as a zero one.
    if (!std::isfinite(content.width) || !std::isfinite(content.height))
        content = minimumContent(defaultAspect, w, least, chrome);
    const GeoSize fitted = scaledDownInto(content, visible, chrome);
    return {fitted.width, fitted.height + chrome};
}

GeoRect scaled(const GeoRect &frame, double factor, double titleBarHeight,
               const GeoRect &visible, const GeoSize &minSize, double anchorThreshold)
{
    const double chrome = chromeHeight(titleBarHeight);
    const double f = positiveOr(factor, 1.0);
    const GeoSize least = sane(minSize);
    const double contentW = std::fmax(finiteOr(frame.width, 1), 1);
    const double contentH = std::fmax(finiteOr(frame.height, 1) - chrome, 1);
    const double ratio = contentW / contentH;
    double w = f * contentW;
    const double maxW = std::fmax(visible.width, least.width);
    const double maxH = std::fmax(visible.height - chrome, least.height - chrome);
    if (ratio > 0 && maxH < w / ratio)
        w = ratio * maxH;
    w = std::fmin(std::fmax(w, least.width), maxW);
    const double h = std::fmax(chrome + w / ratio, 1);
    w = std::fmax(w, 1);
    return clamp(placeAnchored(frame, w, h, visible, anchorThreshold), visible, least);
}

GeoRect anchoredResize(const GeoRect &frame, const GeoSize &size, const GeoRect &visible,
                       double anchorThreshold)
{
    const double w = std::fmax(size.width, 1);
    const double h = std::fmax(size.height, 1);
    return placeAnchored(frame, w, h, visible, anchorThreshold);
}

GeoRect anchored(const GeoRect &frame, WindowPosition position, const GeoRect &visible,
                 double margin)
{
    const double w = std::fmin(frame.width, visible.width);
    const double h = std::fmin(frame.height, visible.height);
    const double left = visible.minX() + margin;
    const double right = visible.maxX() - w - margin;
    const double top = visible.maxY() - h - margin;
    const double bottom = visible.minY() + margin;
    GeoRect moved{visible.midX() - w * 0.5, visible.midY() - h * 0.5, w, h};
    switch (position) {
    case WindowPosition::topLeft: moved = {left, top, w, h}; break;
    case WindowPosition::topRight: moved = {right, top, w, h}; break;
    case WindowPosition::bottomLeft: moved = {left, bottom, w, h}; break;
    case WindowPosition::bottomRight: moved = {right, bottom, w, h}; break;
    case WindowPosition::center: break;
    }
    return clamp(moved, visible, {std::fmin(visible.width, w), std::fmin(visible.height, h)});
}

GeoRect keptAspect(const GeoRect &frame, const GeoSize &oldSize, Qt::Edges pulled, double aspect,
                   double titleBarHeight, const GeoSize &minSize)
{
    if (!(std::isfinite(aspect) && aspect > 0))
        return frame;
    const double chrome = chromeHeight(titleBarHeight);
    const GeoSize least = sane(minSize);
    double width = frame.width;
    double height = frame.height;
    if (widthLeads(pulled, oldSize, frame.size()))
        height = width / aspect + chrome;
    else
        width = (height - chrome) * aspect;
    if (height < least.height) {
        height = least.height;
        width = (height - chrome) * aspect;
    }
    if (width < least.width) {
        width = least.width;
        height = width / aspect + chrome;
    }
    // Window sizes are whole points.
    width = std::round(width);
    height = std::round(height);
    // The y axis points up: the top stays unless the top edge was pulled.
    const double x = pulled.testFlag(Qt::LeftEdge) ? frame.maxX() - width : frame.minX();
    const double y = pulled.testFlag(Qt::TopEdge) ? frame.minY() : frame.maxY() - height;
    return {x, y, width, height};
}

} // namespace WindowGeometry

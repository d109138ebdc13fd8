#include "platform/ScreenGeometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace ScreenGeometry {

namespace {

// Qt's x and y of the primary screen's bottom-left corner: the origin of the other form.
QPoint reference()
{
    const QScreen *primary = mainScreen();
    if (primary == nullptr)
        return {0, 0};
    const QRect geometry = primary->geometry();
    return {geometry.x(), geometry.y() + geometry.height()};
}

int rounded(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::lround(value));
}

bool overlaps(const GeoRect &a, const GeoRect &b)
{
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

} // namespace

GeoRect fromQt(const QRect &rect)
{
    const QPoint origin = reference();
    const double bottom = rect.y() + rect.height();
    return {double(rect.x() - origin.x()), double(origin.y()) - bottom, double(rect.width()),
            double(rect.height())};
}

QRect toQt(const GeoRect &rect)
{
    const QPoint origin = reference();
    const int left = rounded(rect.minX()) + origin.x();
    const int right = rounded(rect.maxX()) + origin.x();
    const int top = origin.y() - rounded(rect.maxY());
    const int bottom = origin.y() - rounded(rect.minY());
    return {left, top, right - left, bottom - top};
}

GeoRect visibleFrame(const QScreen &screen)
{
    return fromQt(screen.availableGeometry());
}

GeoRect screenFrame(const QScreen &screen)
{
    return fromQt(screen.geometry());
}

QScreen *screenShowing(const GeoRect &rect)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (overlaps(visibleFrame(*screen), rect))
            return screen;
    }
    return nullptr;
}

QScreen *mainScreen()
{
    return QGuiApplication::primaryScreen();
}

} // namespace ScreenGeometry

#include "KiteCore/WindowGeometry.h"

#include <QTest>
#include <QtNumeric>

#include <cmath>
#include <functional>

using namespace WindowGeometry;

namespace {

constexpr double wide = 16.0 / 9.0;
const GeoRect screen{0, 0, 1000, 800};
const GeoRect offset{100, 50, 1000, 800};
const GeoRect square{0, 0, 300, 300};
const GeoRect hd{0, 0, 1920, 1080};
const GeoSize least{200, 120};
const GeoSize player{320, 180};
const GeoSize none{0, 0};

GeoRect sized(const GeoSize &size) { return {0, 0, size.width, size.height}; }

bool near(const GeoRect &a, const GeoRect &b)
{
    const auto close = [](double x, double y) { return std::fabs(x - y) <= 1e-9 * std::fmax(1.0, std::fabs(y)); };
    return close(a.x, b.x) && close(a.y, b.y) && close(a.width, b.width) && close(a.height, b.height);
}

bool isFinite(const GeoRect &r)
{
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height);
}

GeoRect kept(const GeoRect &frame, const GeoSize &old, Qt::Edges pulled, double aspect = wide)
{
    return keptAspect(frame, old, pulled, aspect, 26, {320, 220});
}

} // namespace

class TestWindowGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void positionRawValues()
    {
        for (WindowPosition position : WindowPositions::allCases)
            QCOMPARE(windowPositionFromRaw(toRaw(position)), position);
        QVERIFY(toRaw(WindowPosition::bottomRight) == "bottomRight" && !windowPositionFromRaw("TopLeft"));
    }

    void frames()
    {
        struct Row { const char *name; std::function<GeoRect()> actual; GeoRect expected; };
        const GeoSize old{640, 386};
        const Row rows[] = {
            {"clamp: to minimum", [] { return clamp({300, 300, 100, 100}, offset, least); }, {300, 300, 200, 120}},
            {"clamp: off the right", [] { return clamp({1000, 100, 300, 200}, offset, least); }, {800, 100, 300, 200}},
            {"clamp: off bottom-left", [] { return clamp({-50, -20, 300, 200}, offset, least); }, {100, 50, 300, 200}},
            {"clamp: too large", [] { return clamp({-500, -500, 3000, 2000}, offset, least); }, offset},
            {"clamp: minimum too large", [] { return clamp({400, 400, 300, 200}, offset, {1200, 900}); }, {100, 50, 1200, 900}},
            {"clamp: NaN", [] { return clamp({qQNaN(), qQNaN(), 300, 200}, offset, {qQNaN(), qInf()}); }, {100, 50, 300, 200}},
            {"snap: edge and centre", [] { return snap({10, 360, 200, 100}, screen, 12); }, {0, 350, 200, 100}},
            {"snap: out of reach", [] { return snap({13, 300, 200, 100}, screen, 12); }, {13, 300, 200, 100}},
            {"snap: at threshold", [] { return snap({788, 12, 200, 100}, screen, 12); }, {800, 0, 200, 100}},
            {"snap: NaN threshold", [] { return snap({1, 1, 200, 100}, screen, qQNaN()); }, {1, 1, 200, 100}},
            {"snap: tie", [] { return snap({50, 150, 100, 100}, square, 60); }, {0, 100, 100, 100}},
            {"snap: nearest", [] { return snap({90, 190, 100, 100}, square, 100); }, {100, 200, 100, 100}},
            {"fit: fits", [] { return fit(2, 600, offset); }, {300, 300, 600, 300}},
            {"fit: too wide", [] { return fit(2, 1600, screen); }, {0, 150, 1000, 500}},
            {"fit: too tall", [] { return fit(0.5, 600, screen); }, {300, 0, 400, 800}},
            {"fit: NaN aspect", [] { return fit(qQNaN(), 400, screen); }, {300, 200, 400, 400}},
            {"fit: bad width", [] { return fit(2, -5, screen); }, {500, 400, 0, 0}},
            {"size: bad aspect", [] { return sized(fittedSize(0, 1, 0, none, hd)); }, {0, 0, 1, 0.5625}},
            {"size: min width", [] { return sized(fittedSize(2, 100, 28, player, hd)); }, {0, 0, 320, 188}},
            {"size: min height", [] { return sized(fittedSize(4, 320, 28, player, hd)); }, {0, 0, 608, 180}},
            {"size: too tall", [] { return sized(fittedSize(0.5, 800, 28, player, hd)); }, {0, 0, 526, 1080}},
            {"size: no room", [] { return sized(fittedSize(2, 800, 28, none, {0, 0, 1920, 20})); }, {0, 0, 800, 428}},
            {"size: NaN width", [] { return sized(fittedSize(2, qQNaN(), -10, none, hd)); }, {0, 0, 1, 0.5}},
            {"size: overflow", [] { return sized(fittedSize(1e308, 800, 28, player, hd)); }, {0, 0, 800, 478}},
            {"scale: centre", [] { return scaled({300, 300, 200, 120}, 1.5, 20, screen, least, 8); }, {250, 275, 300, 170}},
            {"scale: right, top", [] { return scaled({800, 680, 200, 120}, 2, 20, screen, least, 8); }, {600, 580, 400, 220}},
            {"scale: left, bottom", [] { return scaled({105, 55, 200, 120}, 2, 20, offset, least, 8); }, {105, 55, 400, 220}},
            {"scale: both sides", [] { return scaled({0, 300, 1000, 520}, 0.5, 20, screen, least, 8); }, {500, 425, 500, 270}},
            {"scale: by height", [] { return scaled({300, 300, 200, 120}, 10, 20, screen, least, 8); }, {0, 100, 1000, 520}},
            {"scale: minimum", [] { return scaled({300, 300, 400, 220}, 0.25, 20, screen, least, 8); }, {400, 350, 200, 120}},
            {"scale: NaN", [] { return scaled({900, 300, 200, 120}, qQNaN(), 20, screen, least, 8); }, {800, 300, 200, 120}},
            {"resize: one point", [] { return anchoredResize({300, 300, 200, 120}, {qQNaN(), -5}, screen, 8); }, {399.5, 359.5, 1, 1}},
            {"move: top left", [] { return anchored({3, 3, 200, 120}, WindowPosition::topLeft, offset, 10); }, {110, 720, 200, 120}},
            {"move: top right", [] { return anchored({3, 3, 200, 120}, WindowPosition::topRight, offset, 10); }, {890, 720, 200, 120}},
            {"move: bottom left", [] { return anchored({3, 3, 200, 120}, WindowPosition::bottomLeft, offset, 10); }, {110, 60, 200, 120}},
            {"move: centre", [] { return anchored({3, 3, 200, 120}, WindowPosition::center, offset, 10); }, {500, 390, 200, 120}},
            {"move: too wide", [] { return anchored({0, 0, 1500, 120}, WindowPosition::bottomRight, offset, 10); }, {100, 60, 1000, 120}},
            {"move: negative margin", [] { return anchored({3, 3, 200, 120}, WindowPosition::bottomRight, offset, -50); },
             {900, 50, 200, 120}},
            {"aspect: wider", [&] { return kept({100, 100, 800, 386}, old, {}); }, {100, 10, 800, 476}},
            {"aspect: taller", [&] { return kept({100, 100, 640, 476}, old, {}); }, {100, 100, 800, 476}},
            {"aspect: min height", [&] { return kept({100, 100, 330, 386}, old, {}); }, {100, 266, 345, 220}},
            {"aspect: min width", [] { return kept({100, 100, 600, 400}, {600, 700}, {}, 0.5625); }, {100, -95, 320, 595}},
            {"aspect: left edge", [&] { return kept({40, 100, 700, 386}, old, Qt::LeftEdge); }, {40, 66, 700, 420}},
            {"aspect: top edge", [&] { return kept({100, 100, 640, 446}, old, Qt::TopEdge); }, {100, 100, 747, 446}},
            {"aspect: side grip", [&] { return kept({100, 100, 650, 500}, old, Qt::RightEdge); }, {100, 208, 650, 392}},
            {"aspect: corner", [&] { return kept({0, 100, 700, 500}, old, Qt::TopEdge | Qt::LeftEdge); }, {-143, 100, 843, 500}},
            {"aspect: NaN", [&] { return kept({100, 100, 800, 386}, old, {}, qQNaN()); }, {100, 100, 800, 386}},
        };
        for (const Row &row : rows) {
            const GeoRect actual = row.actual();
            QVERIFY2(near(actual, row.expected), qPrintable(row.name + (": " + actual.toText())));
        }
    }

    // Each scalar input in turn replaced by garbage; the screen itself is sane.
    void garbageNeverGivesNonFiniteFrames()
    {
        for (double garbage : {qQNaN(), qInf(), -qInf(), 1e308, -1e308, 1e-308, -1.0, 0.0}) {
            for (int slot = 0; slot < 9; ++slot) {
                const auto pick = [&](int index, double fallback) { return index == slot ? garbage : fallback; };
                const GeoRect f{pick(0, 300), pick(1, 300), pick(2, 200), pick(3, 120)};
                const GeoSize m{pick(4, 200), pick(5, 120)};
                const double number = pick(6, 1.5);
                const QByteArray where = QByteArray::number(garbage) + " in slot " + QByteArray::number(slot);
                const GeoSize size = fittedSize(number, f.width, pick(7, 20), m, screen);
                QVERIFY2(isFinite(clamp(f, screen, m)) && isFinite(fit(number, f.width, screen)), where.constData());
                QVERIFY2(isFinite(sized(size)) && isFinite(scaled(f, number, pick(7, 20), screen, m, pick(8, 8))), where.constData());
                for (WindowPosition position : WindowPositions::allCases)
                    QVERIFY2(isFinite(anchored(f, position, screen, number)), where.constData());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"

#include "KiteCore/WindowGeometry.h"

#include <QTest>
#include <QtNumeric>

#include <cmath>
#include <functional>

using namespace WindowGeometry;

namespace {

const GeoRect screen{0, 0, 1000, 800}, offset{100, 50, 1000, 800}, square{0, 0, 300, 300}, hd{0, 0, 1920, 1080};
const GeoSize least{200, 120}, player{320, 180}, none{0, 0};

GeoRect sized(const GeoSize &size) { return {0, 0, size.width, size.height}; }

bool isFinite(const GeoRect &r) { return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height); }

// The player windows' minimum and title bar.
GeoRect kept(GeoRect frame, GeoSize old, Qt::Edges pulled, double aspect = 16.0 / 9) { return keptAspect(frame, old, pulled, aspect, 26, {320, 220}); }

} // namespace

class TestWindowGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frames()
    {
        struct Row { const char *name; std::function<GeoRect()> actual; GeoRect expected; };
        const GeoSize old{640, 386};
        const Row rows[] = {
            {"clamp: to minimum", [] { return clamp({300, 300, 100, 100}, offset, least); }, {300, 300, 200, 120}},
            {"clamp: minimum too large", [] { return clamp({400, 400, 300, 200}, offset, {1200, 900}); }, {100, 50, 1200, 900}},
            {"clamp: NaN", [] { return clamp({qQNaN(), qQNaN(), 300, 200}, offset, {qQNaN(), qInf()}); }, {100, 50, 300, 200}},
            {"snap: edge and centre", [] { return snap({10, 360, 200, 100}, screen, 12); }, {0, 350, 200, 100}},
            {"snap: out of reach", [] { return snap({13, 300, 200, 100}, screen, 12); }, {13, 300, 200, 100}},
            {"snap: at threshold", [] { return snap({788, 12, 200, 100}, screen, 12); }, {800, 0, 200, 100}},
            {"fit: fits", [] { return fit(2, 600, offset); }, {300, 300, 600, 300}},
            {"fit: too wide", [] { return fit(2, 1600, screen); }, {0, 150, 1000, 500}},
            {"size: bad aspect", [] { return sized(fittedSize(0, 1, 0, none, hd)); }, {0, 0, 1, 0.5625}},
            {"size: min width", [] { return sized(fittedSize(2, 100, 28, player, hd)); }, {0, 0, 320, 188}},
            {"size: too tall", [] { return sized(fittedSize(0.5, 800, 28, player, hd)); }, {0, 0, 526, 1080}},
            {"size: no room", [] { return sized(fittedSize(2, 800, 28, none, {0, 0, 1920, 20})); }, {0, 0, 800, 428}},
            {"size: NaN width", [] { return sized(fittedSize(2, qQNaN(), -10, none, hd)); }, {0, 0, 1, 0.5}},
            {"size: overflow", [] { return sized(fittedSize(1e308, 800, 28, player, hd)); }, {0, 0, 800, 478}},
            {"scale: centre", [] { return scaled({300, 300, 200, 120}, 1.5, 20, screen, least, 8); }, {250, 275, 300, 170}},
            {"scale: right, top", [] { return scaled({792, 672, 200, 120}, 2, 20, screen, least, 8); }, {592, 572, 400, 220}},
            {"scale: left, bottom", [] { return scaled({105, 55, 200, 120}, 2, 20, offset, least, 8); }, {105, 55, 400, 220}},
            {"scale: by height", [] { return scaled({300, 300, 200, 120}, 10, 20, screen, least, 8); }, {0, 100, 1000, 520}},
            {"scale: minimum", [] { return scaled({300, 300, 400, 220}, 0.25, 20, screen, least, 8); }, {400, 350, 200, 120}},
            {"resize: one point", [] { return anchoredResize({300, 300, 200, 120}, {qQNaN(), -5}, screen, 8); }, {399.5, 359.5, 1, 1}},
            {"move: too wide", [] { return anchored({0, 0, 1500, 120}, WindowPosition::bottomRight, offset, 10); }, {100, 60, 1000, 120}},
            {"move: negative margin", [] { return anchored({3, 3, 200, 120}, WindowPosition::bottomRight, offset, -50); },
             {900, 50, 200, 120}},
            {"aspect: wider", [&] { return kept({100, 100, 800, 386}, old, {}); }, {100, 10, 800, 476}},
            {"aspect: min width", [] { return kept({100, 100, 600, 400}, {600, 700}, {}, 0.5625); }, {100, -95, 320, 595}},
            {"aspect: left edge", [&] { return kept({40, 100, 700, 386}, old, Qt::LeftEdge); }, {40, 66, 700, 420}},
            {"aspect: top edge", [&] { return kept({100, 100, 640, 446}, old, Qt::TopEdge); }, {100, 100, 747, 446}},
            {"aspect: corner", [&] { return kept({0, 100, 700, 500}, old, Qt::TopEdge | Qt::LeftEdge); }, {-143, 100, 843, 500}},
            {"aspect: NaN", [&] { return kept({100, 100, 800, 386}, old, {}, qQNaN()); }, {100, 100, 800, 386}},
        };
        for (const Row &row : rows) {
            const GeoRect actual = row.actual();
            QVERIFY2(actual == row.expected, qPrintable(row.name + (": " + actual.toText())));
        }
        // Each place keeps the margin inside the visible area.
        const GeoRect placed[] = {{110, 720, 200, 120}, {890, 720, 200, 120}, {110, 60, 200, 120}, {890, 60, 200, 120}, {500, 390, 200, 120}};
        for (WindowPosition position : WindowPositions::allCases)
            QVERIFY2(anchored({3, 3, 200, 120}, position, offset, 10) == placed[int(position)] && windowPositionFromRaw(toRaw(position)) == position,
                     qPrintable(toRaw(position)));
        QVERIFY(toRaw(WindowPosition::bottomRight) == "bottomRight" && !windowPositionFromRaw("TopLeft"));
    }

    // Each scalar input in turn replaced by garbage; the screen itself is sane.
    void garbageNeverGivesNonFiniteFrames()
    {
        for (double garbage : {qQNaN(), qInf(), -qInf(), 1e308, -1e308, 1e-308, -1.0, 0.0}) {
            for (int slot = 0; slot < 9; ++slot) {
                const auto pick = [&](int index, double fallback) { return index == slot ? garbage : fallback; };
                const GeoRect f{pick(0, 300), pick(1, 300), pick(2, 200), pick(3, 120)};
                const GeoSize m{pick(4, 200), pick(5, 120)};
                const double number = pick(6, 1.5), titleBar = pick(7, 20);
                const QByteArray where = QByteArray::number(garbage) + " in slot " + QByteArray::number(slot);
                QVERIFY2(isFinite(clamp(f, screen, m)) && isFinite(fit(number, f.width, screen)), where.constData());
                QVERIFY2(isFinite(sized(fittedSize(number, f.width, titleBar, m, screen))) && isFinite(scaled(f, number, titleBar, screen, m, pick(8, 8))),
                         where.constData());
                for (WindowPosition position : WindowPositions::allCases)
                    QVERIFY2(isFinite(anchored(f, position, screen, number)), where.constData());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"

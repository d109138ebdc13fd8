#include "KiteCore/WindowGeometry.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

const GeoRect screen{0, 0, 1000, 800};
const GeoRect offsetScreen{100, 50, 1000, 800};

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::fmax(1.0, std::fabs(b));
}

bool near(const GeoRect &a, const GeoRect &b)
{
    return near(a.x, b.x) && near(a.y, b.y) && near(a.width, b.width) && near(a.height, b.height);
}

bool isFinite(const GeoRect &r)
{
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width)
           && std::isfinite(r.height);
}

QByteArray describe(const GeoRect &actual, const GeoRect &expected)
{
    return (actual.toText() + QStringLiteral(" != expected ") + expected.toText()).toUtf8();
}

} // namespace

#define COMPARE_RECT(actual, expected) \
    QVERIFY2(near((actual), (expected)), describe((actual), (expected)).constData())

class TestWindowGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void positionRawValues()
    {
        const QStringList raws{"topLeft", "topRight", "bottomLeft", "bottomRight", "center"};
        QCOMPARE(WindowPositions::allCases.size(), std::size_t(5));
        for (std::size_t i = 0; i < WindowPositions::allCases.size(); ++i) {
            const WindowPosition position = WindowPositions::allCases[i];
            QCOMPARE(toRaw(position), raws.at(static_cast<qsizetype>(i)));
            QCOMPARE(windowPositionFromRaw(raws.at(static_cast<qsizetype>(i))), position);
        }
        QCOMPARE(windowPositionFromRaw(QStringLiteral("TopLeft")), std::nullopt);
        QCOMPARE(windowPositionFromRaw(QString()), std::nullopt);
    }

    void clamp_data()
    {
        QTest::addColumn<GeoRect>("frame");
        QTest::addColumn<GeoRect>("visible");
        QTest::addColumn<GeoSize>("minSize");
        QTest::addColumn<GeoRect>("expected");
        const GeoSize least{200, 150};
        QTest::newRow("inside stays") << GeoRect{150, 100, 300, 200} << offsetScreen << least << GeoRect{150, 100, 300, 200};
        QTest::newRow("grows to minimum") << GeoRect{300, 300, 100, 100} << offsetScreen << least << GeoRect{300, 300, 200, 150};
        QTest::newRow("off the right") << GeoRect{1000, 100, 300, 200} << offsetScreen << least << GeoRect{800, 100, 300, 200};
        QTest::newRow("off bottom-left") << GeoRect{-50, -20, 300, 200} << offsetScreen << least << GeoRect{100, 50, 300, 200};
        QTest::newRow("off the top") << GeoRect{200, 800, 300, 200} << offsetScreen << least << GeoRect{200, 650, 300, 200};
        QTest::newRow("larger than visible") << GeoRect{-500, -500, 3000, 2000} << offsetScreen << least << GeoRect{100, 50, 1000, 800};
        QTest::newRow("minimum larger than visible") << GeoRect{400, 400, 300, 200} << offsetScreen << GeoSize{1200, 900} << GeoRect{100, 50, 1200, 900};
        QTest::newRow("NaN origin") << GeoRect{notANumber, notANumber, 300, 200} << offsetScreen << least << GeoRect{100, 50, 300, 200};
        QTest::newRow("NaN size") << GeoRect{200, 200, notANumber, notANumber} << offsetScreen << least << GeoRect{200, 200, 200, 150};
        QTest::newRow("infinite everything") << GeoRect{infinity, -infinity, infinity, infinity} << offsetScreen << least << GeoRect{100, 50, 1000, 800};
        QTest::newRow("garbage minimum means none") << GeoRect{200, 200, 30, 20} << offsetScreen << GeoSize{notANumber, infinity} << GeoRect{200, 200, 30, 20};
        QTest::newRow("huge origin") << GeoRect{1e308, 1e308, 300, 200} << offsetScreen << least << GeoRect{800, 650, 300, 200};
    }

    void clamp()
    {
        QFETCH(GeoRect, frame);
        QFETCH(GeoRect, visible);
        QFETCH(GeoSize, minSize);
        QFETCH(GeoRect, expected);
        COMPARE_RECT(WindowGeometry::clamp(frame, visible, minSize), expected);
    }

    void snap_data()
    {
        QTest::addColumn<GeoRect>("frame");
        QTest::addColumn<GeoRect>("visible");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<GeoRect>("expected");
        // A 200x100 frame on 1000x800: x snaps to 0, 400, 800; y to 0, 350, 700.
        QTest::newRow("left edge and centre") << GeoRect{10, 360, 200, 100} << screen << 12.0 << GeoRect{0, 350, 200, 100};
        QTest::newRow("out of reach") << GeoRect{13, 300, 200, 100} << screen << 12.0 << GeoRect{13, 300, 200, 100};
        QTest::newRow("right and top") << GeoRect{795, 695, 200, 100} << screen << 12.0 << GeoRect{800, 700, 200, 100};
        QTest::newRow("exactly at threshold") << GeoRect{788, 12, 200, 100} << screen << 12.0 << GeoRect{800, 0, 200, 100};
        QTest::newRow("threshold 0 on a candidate") << GeoRect{400, 350, 200, 100} << screen << 0.0 << GeoRect{400, 350, 200, 100};
        QTest::newRow("threshold 0 off a candidate") << GeoRect{400.5, 1, 200, 100} << screen << 0.0 << GeoRect{400.5, 1, 200, 100};
        QTest::newRow("negative threshold") << GeoRect{1, 1, 200, 100} << screen << -1.0 << GeoRect{1, 1, 200, 100};
        QTest::newRow("NaN threshold") << GeoRect{1, 1, 200, 100} << screen << notANumber << GeoRect{1, 1, 200, 100};
        // 100x100 on 300x300: candidates 0, 100, 200 on both axes.
        QTest::newRow("tie goes to the earlier") << GeoRect{50, 150, 100, 100} << GeoRect{0, 0, 300, 300} << 60.0 << GeoRect{0, 100, 100, 100};
        QTest::newRow("nearest, not first") << GeoRect{90, 190, 100, 100} << GeoRect{0, 0, 300, 300} << 100.0 << GeoRect{100, 200, 100, 100};
        QTest::newRow("offset screen") << GeoRect{105, 55, 200, 100} << offsetScreen << 10.0 << GeoRect{100, 50, 200, 100};
    }

    void snap()
    {
        QFETCH(GeoRect, frame);
        QFETCH(GeoRect, visible);
        QFETCH(double, threshold);
        QFETCH(GeoRect, expected);
        COMPARE_RECT(WindowGeometry::snap(frame, visible, threshold), expected);
    }

    void fit_data()
    {
        QTest::addColumn<double>("aspect");
        QTest::addColumn<double>("width");
        QTest::addColumn<GeoRect>("visible");
        QTest::addColumn<GeoRect>("expected");
        QTest::newRow("fits") << 2.0 << 600.0 << screen << GeoRect{200, 250, 600, 300};
        QTest::newRow("too wide") << 2.0 << 1600.0 << screen << GeoRect{0, 150, 1000, 500};
        QTest::newRow("too tall") << 0.5 << 600.0 << screen << GeoRect{300, 0, 400, 800};
        QTest::newRow("aspect 0 is square") << 0.0 << 400.0 << screen << GeoRect{300, 200, 400, 400};
        QTest::newRow("NaN aspect is square") << notANumber << 400.0 << screen << GeoRect{300, 200, 400, 400};
        QTest::newRow("negative aspect is square") << -2.0 << 400.0 << screen << GeoRect{300, 200, 400, 400};
        QTest::newRow("infinite aspect is square") << infinity << 400.0 << screen << GeoRect{300, 200, 400, 400};
        QTest::newRow("NaN width is empty") << 2.0 << notANumber << screen << GeoRect{500, 400, 0, 0};
        QTest::newRow("negative width is empty") << 2.0 << -5.0 << screen << GeoRect{500, 400, 0, 0};
        QTest::newRow("infinite width is empty") << 2.0 << infinity << screen << GeoRect{500, 400, 0, 0};
        QTest::newRow("offset screen") << 4.0 << 400.0 << offsetScreen << GeoRect{400, 400, 400, 100};
    }

    void fit()
    {
        QFETCH(double, aspect);
        QFETCH(double, width);
        QFETCH(GeoRect, visible);
        QFETCH(GeoRect, expected);
        COMPARE_RECT(WindowGeometry::fit(aspect, width, visible), expected);
    }

    void fittedSize_data()
    {
        QTest::addColumn<double>("aspect");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("titleBar");
        QTest::addColumn<GeoSize>("minSize");
        QTest::addColumn<GeoRect>("visible");
        QTest::addColumn<GeoSize>("expected");
        const GeoRect hd{0, 0, 1920, 1080};
        const GeoSize least{320, 180};
        const GeoSize none{0, 0};
        QTest::newRow("plain") << 2.0 << 800.0 << 28.0 << least << hd << GeoSize{800, 428};
        QTest::newRow("invalid aspect is 16:9") << 0.0 << 1.0 << 0.0 << none << hd << GeoSize{1, 0.5625};
        QTest::newRow("NaN aspect is 16:9") << notANumber << 1.0 << 0.0 << none << hd << GeoSize{1, 0.5625};
        QTest::newRow("minimum width") << 2.0 << 100.0 << 28.0 << least << hd << GeoSize{320, 188};
        QTest::newRow("minimum height") << 4.0 << 320.0 << 28.0 << least << hd << GeoSize{608, 180};
        QTest::newRow("too wide scales down") << 2.0 << 3000.0 << 28.0 << least << hd << GeoSize{1920, 988};
        QTest::newRow("too tall scales down") << 0.5 << 800.0 << 28.0 << least << hd << GeoSize{526, 1080};
        QTest::newRow("area shorter than title bar") << 2.0 << 800.0 << 28.0 << none << GeoRect{0, 0, 1920, 20} << GeoSize{800, 428};
        QTest::newRow("downscale below minimum") << 2.0 << 800.0 << 28.0 << least << GeoRect{0, 0, 200, 500} << GeoSize{200, 128};
        QTest::newRow("NaN width is 1") << 2.0 << notANumber << 0.0 << none << hd << GeoSize{1, 0.5};
        QTest::newRow("infinite width is 1") << 2.0 << infinity << 0.0 << none << hd << GeoSize{1, 0.5};
        QTest::newRow("negative title bar") << 2.0 << 800.0 << -10.0 << none << hd << GeoSize{800, 400};
        QTest::newRow("infinite title bar") << 2.0 << 800.0 << infinity << none << hd << GeoSize{800, 400};
        QTest::newRow("overflowing flat aspect is 16:9") << 1e308 << 800.0 << 28.0 << least << hd << GeoSize{800, 478};
        QTest::newRow("overflowing tall aspect is 16:9") << 1e-308 << 800.0 << 28.0 << least << hd << GeoSize{800, 478};
        QTest::newRow("huge width") << 2.0 << 1e300 << 28.0 << least << hd << GeoSize{1920, 988};
    }

    void fittedSize()
    {
        QFETCH(double, aspect);
        QFETCH(double, width);
        QFETCH(double, titleBar);
        QFETCH(GeoSize, minSize);
        QFETCH(GeoRect, visible);
        QFETCH(GeoSize, expected);
        const GeoSize size = WindowGeometry::fittedSize(aspect, width, titleBar, minSize, visible);
        COMPARE_RECT((GeoRect{0, 0, size.width, size.height}),
                     (GeoRect{0, 0, expected.width, expected.height}));
    }

    void scaled_data()
    {
        QTest::addColumn<GeoRect>("frame");
        QTest::addColumn<double>("factor");
        QTest::addColumn<GeoRect>("visible");
        QTest::addColumn<GeoRect>("expected");
        // Title bar 20, minimum 200x120, anchor threshold 8; content 200x100 has ratio 2.
        QTest::newRow("centre stays") << GeoRect{300, 300, 200, 120} << 1.5 << screen << GeoRect{250, 275, 300, 170};
        QTest::newRow("right and top stay") << GeoRect{800, 680, 200, 120} << 2.0 << screen << GeoRect{600, 580, 400, 220};
        QTest::newRow("left and bottom stay") << GeoRect{0, 0, 200, 120} << 2.0 << screen << GeoRect{0, 0, 400, 220};
        QTest::newRow("near edges within threshold") << GeoRect{105, 55, 200, 120} << 2.0 << offsetScreen << GeoRect{105, 55, 400, 220};
        QTest::newRow("both side edges keep the right") << GeoRect{0, 300, 1000, 520} << 0.5 << screen << GeoRect{500, 425, 500, 270};
        QTest::newRow("limited by height") << GeoRect{300, 300, 200, 120} << 10.0 << screen << GeoRect{0, 100, 1000, 520};
        QTest::newRow("not below minimum") << GeoRect{300, 300, 400, 220} << 0.25 << screen << GeoRect{400, 350, 200, 120};
        QTest::newRow("factor 0 still clamps") << GeoRect{900, 300, 200, 120} << 0.0 << screen << GeoRect{800, 300, 200, 120};
        QTest::newRow("negative factor") << GeoRect{900, 300, 200, 120} << -2.0 << screen << GeoRect{800, 300, 200, 120};
        QTest::newRow("NaN factor") << GeoRect{900, 300, 200, 120} << notANumber << screen << GeoRect{800, 300, 200, 120};
        QTest::newRow("NaN frame") << GeoRect{notANumber, notANumber, notANumber, notANumber} << 2.0 << screen << GeoRect{0, 0, 200, 220};
    }

    void scaled()
    {
        QFETCH(GeoRect, frame);
        QFETCH(double, factor);
        QFETCH(GeoRect, visible);
        QFETCH(GeoRect, expected);
        COMPARE_RECT(WindowGeometry::scaled(frame, factor, 20, visible, {200, 120}, 8), expected);
    }

    void anchoredResize_data()
    {
        QTest::addColumn<GeoRect>("frame");
        QTest::addColumn<GeoSize>("size");
        QTest::addColumn<GeoRect>("expected");
        QTest::newRow("right and top stay") << GeoRect{800, 680, 200, 120} << GeoSize{300, 200} << GeoRect{700, 600, 300, 200};
        QTest::newRow("centre stays") << GeoRect{300, 300, 200, 120} << GeoSize{100, 60} << GeoRect{350, 330, 100, 60};
        QTest::newRow("left and bottom within threshold") << GeoRect{5, 3, 200, 120} << GeoSize{300, 200} << GeoRect{5, 3, 300, 200};
        QTest::newRow("whole screen keeps right and top") << GeoRect{0, 0, 1000, 800} << GeoSize{500, 400} << GeoRect{500, 400, 500, 400};
        QTest::newRow("at least one point") << GeoRect{300, 300, 200, 120} << GeoSize{0, -5} << GeoRect{399.5, 359.5, 1, 1};
        QTest::newRow("NaN size is one point") << GeoRect{300, 300, 200, 120} << GeoSize{notANumber, notANumber} << GeoRect{399.5, 359.5, 1, 1};
        QTest::newRow("not clamped") << GeoRect{900, 300, 200, 120} << GeoSize{400, 120} << GeoRect{800, 300, 400, 120};
    }

    void anchoredResize()
    {
        QFETCH(GeoRect, frame);
        QFETCH(GeoSize, size);
        QFETCH(GeoRect, expected);
        COMPARE_RECT(WindowGeometry::anchoredResize(frame, size, screen, 8), expected);
    }

    void anchored_data()
    {
        QTest::addColumn<GeoRect>("frame");
        QTest::addColumn<WindowPosition>("position");
        QTest::addColumn<double>("margin");
        QTest::addColumn<GeoRect>("expected");
        const GeoRect small{300, 300, 200, 120};
        QTest::newRow("topLeft") << small << WindowPosition::topLeft << 10.0 << GeoRect{110, 720, 200, 120};
        QTest::newRow("topRight") << small << WindowPosition::topRight << 10.0 << GeoRect{890, 720, 200, 120};
        QTest::newRow("bottomLeft") << small << WindowPosition::bottomLeft << 10.0 << GeoRect{110, 60, 200, 120};
        QTest::newRow("bottomRight") << small << WindowPosition::bottomRight << 10.0 << GeoRect{890, 60, 200, 120};
        QTest::newRow("center") << small << WindowPosition::center << 10.0 << GeoRect{500, 390, 200, 120};
        QTest::newRow("wider than visible") << GeoRect{0, 0, 1500, 120} << WindowPosition::bottomRight << 10.0 << GeoRect{100, 60, 1000, 120};
        QTest::newRow("negative margin clamped") << small << WindowPosition::bottomRight << -50.0 << GeoRect{900, 50, 200, 120};
        QTest::newRow("NaN margin") << small << WindowPosition::topLeft << notANumber << GeoRect{100, 50, 200, 120};
        QTest::newRow("NaN size takes the screen") << GeoRect{0, 0, notANumber, notANumber} << WindowPosition::center << 10.0 << offsetScreen;
    }

    void anchored()
    {
        QFETCH(GeoRect, frame);
        QFETCH(WindowPosition, position);
        QFETCH(double, margin);
        QFETCH(GeoRect, expected);
        COMPARE_RECT(WindowGeometry::anchored(frame, position, offsetScreen, margin), expected);
    }

    // Minimum 320 x 220 under a 26-point title bar, as the player windows use it.
    void keptAspect_data()
    {
        QTest::addColumn<GeoRect>("frame");
        QTest::addColumn<GeoSize>("oldSize");
        QTest::addColumn<int>("pulled");
        QTest::addColumn<double>("aspect");
        QTest::addColumn<GeoRect>("expected");
        const GeoSize old{640, 386};
        const int none = 0;
        const double wide = 16.0 / 9.0;
        QTest::newRow("wider: height follows, top stays") << GeoRect{100, 100, 800, 386} << old << none << wide << GeoRect{100, 10, 800, 476};
        QTest::newRow("taller: width follows") << GeoRect{100, 100, 640, 476} << old << none << wide << GeoRect{100, 100, 800, 476};
        QTest::newRow("not lower than the minimum") << GeoRect{100, 100, 330, 386} << old << none << wide << GeoRect{100, 266, 345, 220};
        QTest::newRow("not narrower than the minimum") << GeoRect{100, 100, 600, 400} << GeoSize{600, 700} << none << 0.5625 << GeoRect{100, -95, 320, 595};
        QTest::newRow("left edge: the right edge stays") << GeoRect{40, 100, 700, 386} << old << int(Qt::LeftEdge) << wide << GeoRect{40, 66, 700, 420};
        QTest::newRow("top edge: the bottom stays") << GeoRect{100, 100, 640, 446} << old << int(Qt::TopEdge) << wide << GeoRect{100, 100, 747, 446};
        QTest::newRow("side grip leads a larger change") << GeoRect{100, 100, 650, 500} << old << int(Qt::RightEdge) << wide << GeoRect{100, 208, 650, 392};
        QTest::newRow("corner: the larger change leads") << GeoRect{0, 100, 700, 500} << old << int(Qt::TopEdge | Qt::LeftEdge) << wide << GeoRect{-143, 100, 843, 500};
        QTest::newRow("already at the aspect") << GeoRect{100, 100, 640, 386} << GeoSize{600, 360} << none << wide << GeoRect{100, 100, 640, 386};
        QTest::newRow("NaN aspect keeps the frame") << GeoRect{100, 100, 800, 386} << old << none << notANumber << GeoRect{100, 100, 800, 386};
    }

    void keptAspect()
    {
        QFETCH(GeoRect, frame);
        QFETCH(GeoSize, oldSize);
        QFETCH(int, pulled);
        QFETCH(double, aspect);
        QFETCH(GeoRect, expected);
        COMPARE_RECT(WindowGeometry::keptAspect(frame, oldSize, Qt::Edges(pulled), aspect, 26, {320, 220}), expected);
    }

    void garbageNeverGivesNonFiniteFrames_data()
    {
        QTest::addColumn<double>("garbage");
        QTest::newRow("NaN") << notANumber;
        QTest::newRow("+inf") << infinity;
        QTest::newRow("-inf") << -infinity;
        QTest::newRow("huge") << 1e308;
        QTest::newRow("huge negative") << -1e308;
        QTest::newRow("tiny") << 1e-308;
        QTest::newRow("negative") << -1.0;
        QTest::newRow("zero") << 0.0;
    }

    // Each scalar input in turn replaced by garbage; the screen itself is sane.
    void garbageNeverGivesNonFiniteFrames()
    {
        QFETCH(double, garbage);
        const GeoRect frame{300, 300, 200, 120};
        const GeoSize least{200, 120};
        for (int slot = 0; slot < 9; ++slot) {
            const auto pick = [&](int index, double fallback) {
                return index == slot ? garbage : fallback;
            };
            const GeoRect f{pick(0, frame.x), pick(1, frame.y), pick(2, frame.width),
                            pick(3, frame.height)};
            const GeoSize m{pick(4, least.width), pick(5, least.height)};
            const double number = pick(6, 1.5);
            const double titleBar = pick(7, 20);
            const double threshold = pick(8, 8);
            const QByteArray where = QByteArray("slot ") + QByteArray::number(slot);
            QVERIFY2(isFinite(WindowGeometry::clamp(f, screen, m)), where.constData());
            QVERIFY2(isFinite(WindowGeometry::fit(number, f.width, screen)), where.constData());
            const GeoSize size = WindowGeometry::fittedSize(number, f.width, titleBar, m, screen);
            QVERIFY2(std::isfinite(size.width) && std::isfinite(size.height), where.constData());
            QVERIFY2(isFinite(WindowGeometry::scaled(f, number, titleBar, screen, m, threshold)),
                     where.constData());
            for (WindowPosition position : WindowPositions::allCases) {
                QVERIFY2(isFinite(WindowGeometry::anchored(f, position, screen, number)),
                         where.constData());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"

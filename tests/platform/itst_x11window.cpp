#include "platform/ScreenGeometry.h"
#include "platform/X11Window.h"

#include "WindowManagerProcess.h"
#include "X11Probe.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

// A top-level window that counts the presses it receives.
class PressTarget final : public QWidget
{
public:
    explicit PressTarget(Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint)
        : QWidget(nullptr, flags)
    {
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        QWidget::mousePressEvent(event);
    }
};

bool clickAt(const QPoint &point)
{
    return QProcess::execute(QStringLiteral("xdotool"),
                             {QStringLiteral("mousemove"), QStringLiteral("--sync"),
                              QString::number(point.x()), QString::number(point.y()),
                              QStringLiteral("click"), QStringLiteral("1")})
        == 0;
}

std::unique_ptr<PressTarget> shownWindow(const QRect &geometry)
{
    auto window = std::make_unique<PressTarget>();
    window->setGeometry(geometry);
    window->show();
    return window;
}

} // namespace

Q_DECLARE_METATYPE(GeoRect)

class TestX11Window : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1280, 720));
    }

    void conversion_data()
    {
        QTest::addColumn<QRect>("qt");
        QTest::addColumn<GeoRect>("geo");
        QTest::newRow("top-left corner") << QRect(0, 0, 100, 50) << GeoRect{0, 670, 100, 50};
        QTest::newRow("bottom-left corner") << QRect(0, 670, 100, 50) << GeoRect{0, 0, 100, 50};
        QTest::newRow("whole screen") << QRect(0, 0, 1280, 720) << GeoRect{0, 0, 1280, 720};
        QTest::newRow("inside") << QRect(200, 100, 640, 386) << GeoRect{200, 234, 640, 386};
        QTest::newRow("above the screen") << QRect(-50, -300, 320, 220)
                                          << GeoRect{-50, 800, 320, 220};
        QTest::newRow("below the screen") << QRect(10, 900, 320, 220)
                                          << GeoRect{10, -400, 320, 220};
    }

    void conversion()
    {
        QFETCH(QRect, qt);
        QFETCH(GeoRect, geo);
        QCOMPARE(ScreenGeometry::fromQt(qt), geo);
        QCOMPARE(ScreenGeometry::toQt(geo), qt);
    }

    void roundingKeepsEdges_data()
    {
        QTest::addColumn<GeoRect>("geo");
        QTest::addColumn<QRect>("qt");
        // 360 x 228.5 at the bottom: the top edge at 228.5 rounds up.
        QTest::newRow("half height") << GeoRect{0, 0, 360, 228.5} << QRect(0, 491, 360, 229);
        QTest::newRow("fractional origin") << GeoRect{10.4, 20.6, 100, 100}
                                           << QRect(10, 599, 100, 100);
        QTest::newRow("not a number") << GeoRect{qQNaN(), 0, 100, 100} << QRect(0, 620, 0, 100);
    }

    void roundingKeepsEdges()
    {
        QFETCH(GeoRect, geo);
        QFETCH(QRect, qt);
        QCOMPARE(ScreenGeometry::toQt(geo), qt);
    }

    void screens_data()
    {
        QTest::addColumn<GeoRect>("rect");
        QTest::addColumn<bool>("shown");
        QTest::newRow("inside") << GeoRect{100, 100, 320, 220} << true;
        QTest::newRow("overlapping the left edge") << GeoRect{-300, 100, 320, 220} << true;
        QTest::newRow("left of the screen") << GeoRect{-400, 100, 320, 220} << false;
        QTest::newRow("touching the right edge only") << GeoRect{1280, 0, 320, 220} << false;
        QTest::newRow("far away") << GeoRect{5000, 5000, 320, 220} << false;
    }

    void screens()
    {
        QFETCH(GeoRect, rect);
        QFETCH(bool, shown);
        QScreen *screen = ScreenGeometry::screenShowing(rect);
        QCOMPARE(screen != nullptr, shown);
        QCOMPARE(ScreenGeometry::visibleFrame(*QGuiApplication::primaryScreen()),
                 (GeoRect{0, 0, 1280, 720}));
    }

    // Click-through is changed on the mapped window: it keeps its id, and clicks reach the
    // window below while it is on, and the window itself again once it is off.
    void clickThroughWhileMapped()
    {
        const auto below = shownWindow({100, 100, 400, 300});
        QVERIFY(QTest::qWaitForWindowExposed(below.get()));
        const auto above = shownWindow({150, 150, 200, 150});
        QVERIFY(QTest::qWaitForWindowExposed(above.get()));
        const WId id = above->winId();
        // A new point each time: xdotool waits for the pointer to arrive.
        QVERIFY(clickAt({250, 220}));
        QTRY_COMPARE_WITH_TIMEOUT(above->presses, 1, 3000);
        QCOMPARE(below->presses, 0);

        X11Window::setClickThrough(*above, true);
        QCOMPARE(above->winId(), id);
        QVERIFY(above->isVisible());
        QVERIFY(above->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(clickAt({251, 221}));
        QTRY_COMPARE_WITH_TIMEOUT(below->presses, 1, 3000);
        QCOMPARE(above->presses, 1);

        X11Window::setClickThrough(*above, false);
        QCOMPARE(above->winId(), id);
        QVERIFY(!above->windowFlags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(clickAt({252, 222}));
        QTRY_COMPARE_WITH_TIMEOUT(above->presses, 2, 3000);
        QCOMPARE(below->presses, 1);
    }

    // Without a window manager the desktop can only be set as a property before mapping.
    void allDesktopsBeforeMapping()
    {
        PressTarget window;
        X11Window::setOnAllDesktops(window);
        QCOMPARE(X11Window::desktop(window.winId()), std::optional<quint32>(0xFFFFFFFFu));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(X11Window::desktop(window.winId()), std::optional<quint32>(0xFFFFFFFFu));
    }

    void readersOnUnknownWindow()
    {
        PressTarget window;
        QCOMPARE(X11Window::desktop(window.winId()), std::nullopt);
        QVERIFY(!X11Window::hasStateAbove(window.winId()));
    }

    // With a window manager: the stay-on-top state is shown as ABOVE on the mapped window
    // and goes away again, without a new native window; a window on all desktops stays so.
    void managedStates()
    {
        WindowManagerProcess manager;
        QVERIFY(manager.start());
        const auto window = shownWindow({200, 200, 320, 220});
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const WId id = window->winId();
        QVERIFY(!X11Window::hasStateAbove(id));

        X11Window::setStaysOnTop(*window, true);
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(id), 3000);
        QCOMPARE(window->winId(), id);

        X11Window::setStaysOnTop(*window, false);
        QTRY_VERIFY_WITH_TIMEOUT(!X11Window::hasStateAbove(id), 3000);
        QCOMPARE(window->winId(), id);
        QVERIFY(X11Probe::isViewable(id));

        X11Window::setOnAllDesktops(*window);
        QTRY_COMPARE_WITH_TIMEOUT(X11Window::desktop(id), std::optional<quint32>(0xFFFFFFFFu),
                                  3000);

        // Set before the first show: the manager takes it over and manages the window.
        PressTarget early;
        early.setGeometry(300, 300, 320, 220);
        X11Window::setStaysOnTop(early, true);
        const WId earlyId = early.winId();
        early.show();
        QTRY_VERIFY_WITH_TIMEOUT(X11Probe::clientStacking().contains(earlyId), 3000);
        QCOMPARE(early.winId(), earlyId);
        QVERIFY(X11Window::hasStateAbove(earlyId));
    }

    // Without a manager the state is kept in the property, mapped or not.
    void onTopWithoutManager()
    {
        PressTarget window;
        X11Window::setStaysOnTop(window, true);
        QVERIFY(X11Window::hasStateAbove(window.winId()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(X11Window::hasStateAbove(window.winId()));
        X11Window::setStaysOnTop(window, false);
        QVERIFY(!X11Window::hasStateAbove(window.winId()));
    }
};

QTEST_MAIN(TestX11Window)
#include "itst_x11window.moc"

#include "platform/ScreenGeometry.h"
#include "platform/X11Window.h"

#include "PressCounter.h"
#include "WindowManagerProcess.h"
#include "X11Input.h"
#include "X11Probe.h"

#include <QScreen>
#include <QWidget>
#include <QtTest>

constexpr std::optional<quint32> allDesktops = 0xFFFFFFFFu;

class TestX11Window : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Qt's top-left rectangles against the bottom-left form of the 1280 x 720 screen: edges
    // are rounded, not sizes. A rectangle is shown where it overlaps a visible frame.
    void geometry()
    {
        const QList<std::tuple<GeoRect, QRect, bool>> rows{
            {{0, 670, 100, 50}, {0, 0, 100, 50}, true}, {{-50, 800, 320, 220}, {-50, -300, 320, 220}, true},
            {{0, 0, 360, 228.5}, {0, 491, 360, 229}, false}, {{10.4, 20.6, 100, 100}, {10, 599, 100, 100}, false},
            {{qQNaN(), 0, 100, 100}, {0, 620, 0, 100}, false}};
        for (const auto &[geo, qt, exact] : rows)
            QVERIFY(ScreenGeometry::toQt(geo) == qt && (!exact || ScreenGeometry::fromQt(qt) == geo));
        QCOMPARE(ScreenGeometry::visibleFrame(*QGuiApplication::primaryScreen()), (GeoRect{0, 0, 1280, 720}));
        QVERIFY(ScreenGeometry::screenShowing({-300, 100, 320, 220}) && !ScreenGeometry::screenShowing({-320, 100, 320, 220}));
        QVERIFY(!ScreenGeometry::screenShowing({1280, 0, 320, 220}) && !ScreenGeometry::screenShowing({100, 720, 320, 220}));
    }

    // Click-through changes the mapped window in place: it keeps its id, and clicks reach
    // the window below while it is on, and the window itself again once it is off.
    void clickThroughWhileMapped()
    {
        QWidget windows[2];
        PressCounter presses[2];
        for (int i : {0, 1}) {
            windows[i].setWindowFlag(Qt::FramelessWindowHint);
            windows[i].setGeometry(100 + 50 * i, 100 + 50 * i, 400 - 200 * i, 300 - 150 * i);
            windows[i].installEventFilter(&presses[i]);
            windows[i].show();
            QVERIFY(QTest::qWaitForWindowExposed(&windows[i]));
        }
        const WId id = windows[1].winId();
        for (const auto &[through, counts] : QList<std::pair<bool, std::pair<int, int>>>{{false, {1, 0}}, {true, {1, 1}}, {false, {2, 1}}}) {
            X11Window::setClickThrough(windows[1], through);
            QVERIFY(windows[1].winId() == id && windows[1].windowFlags().testFlag(Qt::WindowTransparentForInput) == through);
            // Points far enough apart that no two clicks make a double click.
            QVERIFY(X11Input::pointerTo({200 + 20 * (counts.first + counts.second), 220}) && X11Input::button("click"));
            QTRY_COMPARE_WITH_TIMEOUT(std::pair(presses[1].presses, presses[0].presses), counts, 3000);
        }
    }

    // Without a window manager the states live in properties, set before or after mapping;
    // a manager shows stay-on-top as ABOVE on the mapped window and takes it away again,
    // without a new native window.
    void windowManagerStates()
    {
        QWidget window(nullptr, Qt::FramelessWindowHint);
        QVERIFY(!X11Window::desktop(window.winId()) && !X11Window::hasStateAbove(window.winId()));
        X11Window::setOnAllDesktops(window);
        X11Window::setStaysOnTop(window, true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(X11Window::desktop(window.winId()) == allDesktops && X11Window::hasStateAbove(window.winId()));
        X11Window::setStaysOnTop(window, false);
        QVERIFY(!X11Window::hasStateAbove(window.winId()));
        WindowManagerProcess manager;
        QVERIFY(manager.start());
        QWidget managed;
        managed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&managed));
        const WId id = managed.winId();
        for (const bool onTop : {true, false}) {
            X11Window::setStaysOnTop(managed, onTop);
            QTRY_COMPARE_WITH_TIMEOUT(X11Window::hasStateAbove(id), onTop, 3000);
        }
        X11Window::setOnAllDesktops(managed);
        QTRY_COMPARE_WITH_TIMEOUT(X11Window::desktop(id), allDesktops, 3000);
        QVERIFY(managed.winId() == id && X11Probe::isViewable(id));
    }
};

QTEST_MAIN(TestX11Window)
#include "itst_x11window.moc"

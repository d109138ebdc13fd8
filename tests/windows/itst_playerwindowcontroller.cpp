#include "PointerDrag.h"
#include "PressCounter.h"
#include "WindowHarness.h"
#include "X11Input.h"

#include "platform/ScreenGeometry.h"
#include "windows/FloatingPanel.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QWebEngineView>

namespace {
const QRect start(100, 134, 640, 386);

std::unique_ptr<WindowHarness> shown(WindowHarness::Options options = {})
{
    options.prepare = [](Preferences &preferences) { preferences.setSnapToEdges(false); };
    auto window = std::make_unique<WindowHarness>(options);
    return window->present() ? std::move(window) : nullptr;
}
} // namespace

// Real input on the player window with no window manager running: what the X server does
// with click-through, and the moves and resizes the panel makes by itself.
class TestPlayerWindowController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A failed case must not leave the button held for the next one.
    void cleanup() { X11Input::button(u"mouseup"_qs); }

    // Switched on the mapped window: the same native window lets clicks through to the
    // window below while it is on.
    void clickThrough()
    {
        QWidget below(nullptr, Qt::Window | Qt::FramelessWindowHint);
        PressCounter belowPresses, playerPresses;
        below.installEventFilter(&belowPresses);
        below.setGeometry(0, 0, 1280, 720);
        below.show();
        auto player = shown();
        QVERIFY(player && QTest::qWaitForWindowExposed(&below));
        player->window().focusProxy()->installEventFilter(&playerPresses);
        const WId id = player->window().winId();
        player->session().setClickThrough(true);
        QVERIFY(X11Input::pointerTo(start.center()) && X11Input::button(u"click"_qs));
        QTRY_COMPARE_WITH_TIMEOUT(belowPresses.presses, 1, 3000);
        player->session().setClickThrough(false);
        // Far enough from the first click not to make a double click of the two.
        QVERIFY(X11Input::pointerTo(start.center() + QPoint(40, 40)) && X11Input::button(u"click"_qs));
        QTRY_COMPARE_WITH_TIMEOUT(playerPresses.presses, 1, 3000);
        QVERIFY(belowPresses.presses == 1 && player->window().winId() == id);
    }

    // Drag mode moves the window from anywhere; without it a drag leaves the window.
    void dragMode()
    {
        auto player = shown();
        QVERIFY(player);
        const QPoint by(50, 30);
        player->session().setGrabMode(true);
        QVERIFY(PointerDrag::leftDrag(start.center(), start.center() + by, [&] { return player->window().pos() == start.topLeft() + by; }));
        player->session().setGrabMode(false);
        // Not from where the pointer is: a move there would wait for motion that never comes.
        QVERIFY(PointerDrag::leftDrag(start.center() + by * 2, start.center() + by * 3, [] { return true; }));
        QVERIFY(QTest::qWaitFor([] { return !(QGuiApplication::mouseButtons() & Qt::LeftButton); }, 2000));
        QCOMPARE(player->window().pos(), start.topLeft() + by);
    }

    // The panel follows the pointer on its grips itself; the minimum and the aspect lock hold,
    // and the end is snapped and written down.
    void grips()
    {
        struct Row { bool locked; bool snap; Qt::Edges edges; QPoint pull; QRect expected; };
        for (const Row &row : QList<Row>{{false, false, Qt::TopEdge | Qt::LeftEdge, {-50, -40}, {50, 94, 690, 426}},
                                         {false, false, Qt::RightEdge, {-500, 0}, {100, 134, 320, 386}},
                                         // Locked to the 16:9 content: width / (height - 26) stays 640 / 360.
                                         {true, false, Qt::LeftEdge, {-60, 0}, {40, 134, 700, 420}},
                                         // 446 high, the top is 3 points from centring the window.
                                         {false, true, Qt::BottomEdge, {0, 60}, {100, 137, 640, 446}}}) {
            WindowHarness::Options options;
            options.lockAspect = row.locked;
            auto player = shown(options);
            QVERIFY(player);
            player->preferences().setSnapToEdges(row.snap);
            QVERIFY(PointerDrag::pullGrip(player->window(), row.edges, row.pull, options.timings.liveResizeSettle));
            QTRY_COMPARE_WITH_TIMEOUT(player->window().geometry(), row.expected, 5000);
            QTRY_COMPARE_WITH_TIMEOUT(player->lastFrame(), ScreenGeometry::fromQt(row.expected), 5000);
            QCOMPARE(player->storedFrame(), ScreenGeometry::fromQt(row.expected));
        }
    }

    // Content drawn through a texture (the web engine's view) gets the panel a new native
    // window on its first show; keys and drag mode must keep working on that one.
    void newNativeWindowIsWatched()
    {
        FloatingPanel panel;
        int keys = 0;
        panel.setKeyHandler([&keys](const QKeyEvent &event) { return event.key() == Qt::Key_K && ++keys; });
        auto *content = new QWidget;
        new QWebEngineView(content);
        content->setFocusProxy(new QLineEdit(content));
        panel.setContent(content);
        panel.setDragAnywhere(true);
        panel.setGeometry(start);
        const QPointer<QWindow> before(panel.windowHandle());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel) && before.isNull());
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QTest::keyClick(panel.windowHandle(), Qt::Key_K);
        QTest::keyClick(panel.windowHandle(), Qt::Key_J);
        QVERIFY(keys == 1 && qobject_cast<QLineEdit *>(content->focusProxy())->text() == u"j"_qs);
        QVERIFY(PointerDrag::leftDrag(start.center(), start.center() + QPoint(40, 30), [&] { return panel.pos() == start.topLeft() + QPoint(40, 30); }));
    }
};

QTEST_MAIN(TestPlayerWindowController)
#include "itst_playerwindowcontroller.moc"

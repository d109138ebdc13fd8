#include "PointerDrag.h"
#include "PressCounter.h"
#include "WindowHarness.h"
#include "WindowManagerProcess.h"
#include "X11Input.h"
#include "X11Probe.h"

#include "platform/ScreenGeometry.h"
#include "platform/X11Window.h"

#include <QTest>

namespace {
const QRect start(100, 134, 640, 386);

// Position of a window in the manager's stacking order, bottom first; -1 when unmanaged.
qsizetype stackingIndex(const QWidget &window) { return X11Probe::clientStacking().indexOf(window.winId()); }
} // namespace

// The player window on a real X server: real input without a window manager first, then
// what only a running manager shows (stacking, iconifying, its moves and resizes).
class TestPlayerWindow : public QObject
{
    Q_OBJECT
    WindowManagerProcess m_manager;

    // Shown, and with a manager taken over by it: placed and focused.
    std::unique_ptr<WindowHarness> shown(WindowHarness::Options options = {})
    {
        auto window = std::make_unique<WindowHarness>(options);
        window->preferences().setSnapToEdges(false);
        window->controller().present();
        const bool ready = QTest::qWaitFor([&] {
            return window->window().isActiveWindow() && window->window().geometry() == start
                && (!m_manager.isRunning() || stackingIndex(window->window()) >= 0);
        }, 5000);
        return ready ? std::move(window) : nullptr;
    }

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

    // The grips resize the window, by the panel following the pointer or through the
    // manager, which ends the resize unannounced; the minimum and the aspect lock hold, and
    // the end is snapped and written down.
    void grips()
    {
        struct Row { bool manager; bool locked; bool snap; Qt::Edges edges; QPoint pull; QRect expected; };
        for (const Row &row : QList<Row>{{false, false, false, Qt::TopEdge | Qt::LeftEdge, {-50, -40}, {50, 94, 690, 426}},
                                         {false, false, false, Qt::RightEdge, {-500, 0}, {100, 134, 320, 386}},
                                         {true, false, false, Qt::RightEdge, {100, 0}, {100, 134, 740, 386}},
                                         // Locked to the 16:9 content: width / (height - 26) stays 640 / 360.
                                         {true, true, false, Qt::LeftEdge, {-60, 0}, {40, 134, 700, 420}},
                                         // 446 high, the top is 3 points from centring the window.
                                         {true, false, true, Qt::BottomEdge, {0, 60}, {100, 137, 640, 446}}}) {
            QVERIFY(!row.manager || m_manager.start());
            auto player = shown({.lockAspect = row.locked});
            QVERIFY(player);
            player->preferences().setSnapToEdges(row.snap);
            QVERIFY(PointerDrag::pullGrip(player->window(), row.edges, row.pull, WindowHarness::quickTimings().liveResizeSettle));
            QTRY_COMPARE_WITH_TIMEOUT(player->window().geometry(), row.expected, 5000);
            QTRY_COMPARE_WITH_TIMEOUT(player->lastFrame(), ScreenGeometry::fromQt(row.expected), 5000);
            QCOMPARE(player->storedFrame(), ScreenGeometry::fromQt(row.expected));
        }
    }

    // Pinned: ABOVE on every desktop, over a window raised after it; unpinned (the same
    // native window), that window covers it. Cinema too is above everything.
    void stacking()
    {
        QVERIFY(m_manager.start());
        auto player = shown({.pinned = true});
        QVERIFY(player);
        const WId id = player->window().winId();
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(id), 5000);
        QCOMPARE(X11Window::desktop(id), std::optional<quint32>(0xFFFFFFFFu));
        QWidget other;
        other.setGeometry(start.adjusted(-20, -20, 20, 20));
        other.show();
        other.activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(other.isActiveWindow(), 5000);
        QVERIFY(stackingIndex(player->window()) > stackingIndex(other));
        player->session().setPinned(false);
        QTRY_VERIFY_WITH_TIMEOUT(!X11Window::hasStateAbove(id), 5000);
        other.raise();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(player->window()) < stackingIndex(other), 5000);
        player->controller().enterCinema();
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(id) && player->window().geometry() == QRect(0, 0, 1280, 720), 5000);
        QCOMPARE(player->window().winId(), id);
    }

    void minimiseAndPresent()
    {
        QVERIFY(m_manager.start());
        auto player = shown();
        QVERIFY(player);
        QWindow *handle = player->window().windowHandle();
        player->controller().minimise();
        QVERIFY(player->session().isHidden());
        // The manager reports the iconic state before it unmaps the window: once Qt has seen
        // the unmap, no report of the minimise can come after present() and hide it again.
        QTRY_VERIFY_WITH_TIMEOUT(!handle->isExposed(), 5000);
        player->controller().present();
        QVERIFY(!player->session().isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(handle->isExposed() && X11Probe::isViewable(handle->winId()), 5000);
        QVERIFY(!player->session().isHidden());
    }
};

QTEST_MAIN(TestPlayerWindow)
#include "itst_playerwindow.moc"

#include "PointerDrag.h"
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

// A player window the manager has taken over: placed, stacked and focused.
std::unique_ptr<WindowHarness> managed(WindowHarness::Options options = {})
{
    auto window = std::make_unique<WindowHarness>(options);
    window->controller().present();
    const bool ready = QTest::qWaitFor([&window] {
        return stackingIndex(window->window()) >= 0 && window->window().isActiveWindow() && window->window().geometry() == start;
    }, 5000);
    return ready ? std::move(window) : nullptr;
}
} // namespace

// What only a running window manager shows: stacking, desktops, iconifying and the moves
// and resizes the manager makes.
class TestPlayerWindowStacking : public QObject
{
    Q_OBJECT
    WindowManagerProcess m_manager;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_manager.start()); }
    void cleanup() { X11Input::button(u"mouseup"_qs); }

    // Pinned: ABOVE on every desktop, over a window raised after it; unpinned (the same
    // native window), that window covers it.
    void pinnedStaysAbove()
    {
        auto player = managed({.pinned = true});
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
        QCOMPARE(player->window().winId(), id);
    }

    void cinema()
    {
        auto player = managed();
        QVERIFY(player);
        player->controller().enterCinema();
        QTRY_COMPARE_WITH_TIMEOUT(player->window().geometry(), QRect(0, 0, 1280, 720), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(player->window().winId()), 5000);
        player->controller().exitCinema();
        QTRY_COMPARE_WITH_TIMEOUT(player->window().geometry(), start, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!X11Window::hasStateAbove(player->window().winId()), 5000);
    }

    void minimiseAndPresent()
    {
        auto player = managed();
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

    // A size the manager sets keeps the locked aspect; a move it makes is written down and
    // snapped like a drag.
    void managerMovesAndResizes()
    {
        auto player = managed({.lockAspect = true});
        QVERIFY(player);
        const QString id = QString::number(player->window().winId());
        QVERIFY(X11Input::xdotool({u"windowsize"_qs, id, u"800"_qs, u"386"_qs}));
        QTRY_COMPARE_WITH_TIMEOUT(player->window().size(), QSize(800, 476), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(player->lastFrame(), player->controller().frame(), 5000);
        QVERIFY(X11Input::xdotool({u"windowmove"_qs, id, u"9"_qs, u"40"_qs}));
        // Qt's y 40 is y 204 for this height: no edge within 16, so only x snaps.
        QTRY_COMPARE_WITH_TIMEOUT(player->controller().frame(), (GeoRect{0, 204, 800, 476}), 5000);
        QCOMPARE(player->lastFrame(), (GeoRect{9, 204, 800, 476}));
    }

    // Grips hand the resize to the manager, which ends it unannounced.
    void grips()
    {
        struct Row { bool locked; bool snap; Qt::Edges edges; QPoint pull; QRect expected; };
        for (const Row &row : QList<Row>{{false, false, Qt::RightEdge, {100, 0}, {100, 134, 740, 386}},
                                         {true, false, Qt::LeftEdge, {-60, 0}, {40, 134, 700, 420}},
                                         {false, true, Qt::BottomEdge, {0, 60}, {100, 137, 640, 446}}}) {
            auto player = managed({.lockAspect = row.locked});
            QVERIFY(player);
            player->preferences().setSnapToEdges(row.snap);
            QVERIFY(PointerDrag::pullGrip(player->window(), row.edges, row.pull, WindowHarness::quickTimings().liveResizeSettle));
            QTRY_COMPARE_WITH_TIMEOUT(player->window().geometry(), row.expected, 5000);
            QTRY_COMPARE_WITH_TIMEOUT(player->storedFrame(), ScreenGeometry::fromQt(row.expected), 5000);
        }
    }
};

QTEST_MAIN(TestPlayerWindowStacking)
#include "itst_playerwindowstacking.moc"

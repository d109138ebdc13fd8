#include "WindowHarness.h"
#include "WindowManagerProcess.h"
#include "X11Probe.h"

#include "platform/X11Window.h"

#include <QProcess>
#include <QTest>

namespace {

const QRect startGeometry(100, 134, 640, 386);

// Position of a window in the manager's stacking order, bottom first; -1 when unmanaged.
qsizetype stackingIndex(const QWidget &window)
{
    return X11Probe::clientStacking().indexOf(window.winId());
}

bool xdotool(const QString &command, const QWidget &window, int a, int b)
{
    return QProcess::execute(u"xdotool"_qs, {command, QString::number(window.winId()), QString::number(a),
                                              QString::number(b)}) == 0;
}

// A player window the manager has taken over: placed, stacked and focused.
std::unique_ptr<WindowHarness> managed(WindowHarness::Options options = {})
{
    options.view = false;
    auto window = std::make_unique<WindowHarness>(options);
    window->controller().present();
    const bool ready = QTest::qWaitFor([&window] {
        return stackingIndex(window->window()) >= 0 && window->window().isActiveWindow()
            && window->window().geometry() == startGeometry;
    }, 5000);
    return ready ? std::move(window) : nullptr;
}

} // namespace

// What only a running window manager shows: stacking, desktops, iconifying and the moves
// and resizes the manager makes.
class TestPlayerWindowStacking : public QObject
{
    Q_OBJECT

private:
    WindowManagerProcess m_manager;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_manager.start()); }

    // Pinned: ABOVE, and over a window raised after it; unpinned, on the same native window,
    // that window covers it.
    void pinnedStaysAbove()
    {
        WindowHarness::Options options;
        options.pinned = true;
        auto player = managed(options);
        QVERIFY(player);
        QWidget &window = player->window();
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(window.winId()), 5000);
        QCOMPARE(X11Window::desktop(window.winId()), std::optional<quint32>(0xFFFFFFFFu));

        QWidget other;
        other.setGeometry(startGeometry.adjusted(-20, -20, 20, 20));
        other.show();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(other) >= 0, 5000);
        other.activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(other.isActiveWindow(), 5000);
        QVERIFY(stackingIndex(window) > stackingIndex(other));

        const WId id = window.winId();
        player->session().setPinned(false);
        QTRY_VERIFY_WITH_TIMEOUT(!X11Window::hasStateAbove(id), 5000);
        QCOMPARE(window.winId(), id);
        other.raise();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(window) < stackingIndex(other), 5000);
    }

    void cinema()
    {
        auto player = managed();
        QVERIFY(player);
        player->controller().enterCinema();
        QTRY_COMPARE_WITH_TIMEOUT(player->window().geometry(), QRect(0, 0, 1280, 720), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(player->window().winId()), 5000);
        player->controller().exitCinema();
        QTRY_COMPARE_WITH_TIMEOUT(player->window().geometry(), startGeometry, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!X11Window::hasStateAbove(player->window().winId()), 5000);
    }

    void minimiseAndPresent()
    {
        auto player = managed();
        QVERIFY(player);
        QWindow *handle = player->window().windowHandle();
        player->controller().minimise();
        QVERIFY(player->session().isHidden());
        // The manager reports the iconified state before it unmaps the window; once Qt has
        // seen the unmap it has taken in that state too, so no late report can follow.
        QTRY_VERIFY_WITH_TIMEOUT(!handle->isExposed(), 5000);
        QVERIFY(!X11Probe::isViewable(player->window().winId()));
        player->controller().present();
        QVERIFY(!player->session().isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(handle->isExposed(), 5000);
        QVERIFY(X11Probe::isViewable(player->window().winId()));
        QVERIFY(!player->session().isHidden());
    }

    // A size the manager sets keeps the locked aspect; a move it makes is written down and
    // snapped like a drag.
    void managerMovesAndResizes()
    {
        WindowHarness::Options options;
        options.lockAspect = true;
        auto player = managed(options);
        QVERIFY(player);
        QVERIFY(xdotool(u"windowsize"_qs, player->window(), 800, 386));
        QTRY_COMPARE_WITH_TIMEOUT(player->window().size(), QSize(800, 476), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(player->lastFrame(), player->controller().frame(), 5000);
        QVERIFY(xdotool(u"windowmove"_qs, player->window(), 9, 40));
        // Qt's y 40 is y 204 for this height: no edge within 16, so only x snaps.
        QTRY_COMPARE_WITH_TIMEOUT(player->controller().frame(), (GeoRect{0, 204, 800, 476}), 5000);
        QCOMPARE(player->lastFrame(), (GeoRect{9, 204, 800, 476}));
    }
};

QTEST_MAIN(TestPlayerWindowStacking)
#include "itst_playerwindowstacking.moc"

#include "WindowHarness.h"

#include "platform/ScreenGeometry.h"
#include "windows/ResizeGrip.h"
#include "windows/WindowStateStore.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Operation = std::function<void(PlayerWindowController &)>;

namespace {
constexpr GeoRect start = WindowHarness::startFrame;
const PlayerWindowController::Timings timings = WindowHarness::quickTimings();

GeoRect screen() { return ScreenGeometry::visibleFrame(*ScreenGeometry::mainScreen()); }

// Whether every timer of `delay` or shorter started before has fired by now (coarse
// timers may fire a little late).
bool pastTimers(std::chrono::milliseconds delay)
{
    QTimer later;
    QSignalSpy fired(&later, &QTimer::timeout);
    later.start(delay * 2);
    return fired.wait(5000);
}

WindowHarness::Options with(const std::function<void(Preferences &)> &prepare)
{
    WindowHarness::Options options;
    options.prepare = prepare;
    return options;
}
} // namespace

char *toString(const GeoRect &rect) { return QTest::toString(rect.toText()); }

// The controller's wiring on offscreen windows; what the X server adds is in the itst_ files.
class TestPlayerWindowController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The source's own frame clamped onto the screen, else the cascade; at least 360 wide.
    void placement()
    {
        struct Row { std::optional<GeoRect> stored; double defaultWidth; GeoRect expected; };
        const GeoRect s = screen();
        for (const Row &row : QList<Row>{{start, 640, start},
                                         {GeoRect{5000, 5000, 640, 386}, 640, {s.maxX() - 640, s.maxY() - 386, 640, 386}},
                                         {GeoRect{100, 100, 319, 300}, 640, {s.midX() - 320, s.midY() - 180, 640, 360}},
                                         {std::nullopt, 300, {s.midX() - 180, s.midY() - 110, 360, 220}}}) {
            WindowHarness::Options options = with([&row](Preferences &p) { p.setDefaultWidth(row.defaultWidth); });
            options.frame = row.stored;
            QCOMPARE(WindowHarness(options).controller().frame(), row.expected);
        }
        // Only the first window without a frame of its own takes the global last frame; a
        // window with its own leaves it to the next. The ones after step through the cascade.
        WindowHarness first;
        first.settings().setValue(u"window.lastFrame"_qs, u"{{50, 60}, {700, 400}}"_qs);
        first.settings().remove(WindowStateStore::key(first.session().source().url()));
        const auto next = [&first] {
            return PlayerWindowController(first.session(), first.settings(), first.preferences(), first.placement(), {}).frame();
        };
        QCOMPARE(next(), (GeoRect{50, 60, 700, 400}));
        const GeoRect cascade = next();
        QCOMPARE(next(), (GeoRect{cascade.x + 28, cascade.y - 28, cascade.width, cascade.height}));
    }

    // The stored state reaches the session; the session's values reach the window at once
    // and the record after the debounce.
    void stateFollowsTheSession()
    {
        WindowHarness::Options options;
        options.pinned = options.lockAspect = true;
        WindowHarness window(options);
        PlaybackSession &session = window.session();
        QVERIFY(session.isPinned() && session.lockAspect() && session.volume() == 0.5);
        for (const auto &[opacity, alpha] : {std::pair{0.1, 0.25}, std::pair{qQNaN(), 1.0}}) {
            session.setOpacity(opacity);
            QVERIFY(qAbs(window.window().windowOpacity() - alpha) <= 1.0 / 255);
        }
        session.setTitle(u"Another"_qs);
        QCOMPARE(window.window().windowTitle(), u"Another"_qs);
        const auto stored = [&] { return WindowStateStore::load(window.settings(), session.source().url()); };
        for (const Operation &change : QList<Operation>{[](auto &c) { c.session().setOpacity(0.5); }, [](auto &c) { c.session().setPinned(false); },
                                                         [](auto &c) { c.session().setVolume(0.2); }, [](auto &c) { c.session().setLockAspect(false); }}) {
            const auto before = stored();
            change(window.controller());
            QVERIFY(stored() == before && pastTimers(timings.persistDebounce) && stored() != before);
        }
        QCOMPARE(stored(), std::optional(StoredWindowState(start.toText(), 0.5, false, 0.2, false)));
    }

    // Operations take their frame from the geometry and set it on the window, written down
    // globally and for the source; unusable input changes nothing.
    void operations()
    {
        struct Row { Operation operation; GeoRect expected; };
        const GeoRect s = screen();
        for (const Row &row : QList<Row>{{[](auto &c) { c.resize(480, 16.0 / 9); }, {100, 290, 480, 296}},
                                         {[](auto &c) { c.scale(0.9); }, {132, 218, 576, 350}},
                                         {[](auto &c) { c.fitToContent(2.0); }, {100, 220, 640, 346}},
                                         {[](auto &c) { c.move(WindowPosition::topRight); }, {s.maxX() - 640, s.maxY() - 386, 640, 386}},
                                         {[](auto &c) { c.resize(qQNaN(), 1.0), c.scale(qQNaN()), c.fitToContent(qQNaN()); }, start}}) {
            WindowHarness window;
            QVERIFY(window.present());
            row.operation(window.controller());
            QCOMPARE(ScreenGeometry::fromQt(window.window().geometry()), row.expected);
            QCOMPARE(window.lastFrame(), row.expected != start ? std::optional(row.expected) : std::nullopt);
            QCOMPARE(window.storedFrame(), row.expected);
        }
    }

    // A moved window is written down at once and snaps to an edge once the delay has passed.
    void snapAfterMove()
    {
        for (const bool snapOn : {true, false}) {
            WindowHarness window(with([snapOn](Preferences &p) { p.setSnapToEdges(snapOn); }));
            QVERIFY(window.present());
            window.window().move(12, 100);
            const GeoRect moved = window.controller().frame();
            QVERIFY(moved.x == 12 && window.lastFrame() == moved && window.storedFrame() == moved);
            QVERIFY(pastTimers(timings.snapDelay));
            QCOMPARE(window.controller().frame().x, snapOn ? 0 : 12);
        }
    }

    // Cinema covers the screen without grips; Escape brings the frame back, and the
    // source's record never takes the cinema frame.
    void cinemaRoundTrip()
    {
        WindowHarness window(with([](Preferences &p) { p.setSnapToEdges(false); }));
        QVERIFY(window.present());
        window.controller().enterCinema();
        window.controller().enterCinema();
        QCOMPARE(window.controller().frame(), ScreenGeometry::screenFrame(*ScreenGeometry::mainScreen()));
        for (const ResizeGrip *grip : window.window().findChildren<ResizeGrip *>())
            QVERIFY(!grip->isVisibleTo(&window.window()));
        window.window().move(5, 5);
        QVERIFY(window.lastFrame() == window.controller().frame() && window.storedFrame() == start);
        QTest::keyClick(window.window().windowHandle(), Qt::Key_Escape);
        QVERIFY(window.controller().frame() == start && window.lastFrame() == start);
    }

    void keys()
    {
        struct Row { bool web; bool inCinema; int key; Qt::KeyboardModifiers modifiers; bool handled; bool cinemaAfter; double seekTo; int plays; };
        const QList<Row> rows{
            {false, false, Qt::Key_F, Qt::ShiftModifier, true, true, -1, 0}, {false, true, Qt::Key_F, {}, true, false, -1, 0},
            {false, false, Qt::Key_F, Qt::ControlModifier, false, false, -1, 0}, {false, false, Qt::Key_F, Qt::MetaModifier, false, false, -1, 0},
            {false, false, Qt::Key_Space, {}, true, false, -1, 1}, {false, false, Qt::Key_Left, {}, true, false, 20, 0},
            {false, false, Qt::Key_Right, {}, true, false, 40, 0}, {false, true, Qt::Key_Escape, {}, true, false, -1, 0},
            {false, true, Qt::Key_Escape, Qt::AltModifier, false, true, -1, 0}, {false, false, Qt::Key_Escape, {}, false, false, -1, 0},
            {true, false, Qt::Key_F, {}, false, false, -1, 0}, {true, true, Qt::Key_Escape, {}, true, false, -1, 0},
        };
        for (const Row &row : rows) {
            WindowHarness::Options options;
            options.source = WindowHarness::clip(u"https://example.com/a"_qs, row.web ? MediaKind::web : MediaKind::mediaURL);
            WindowHarness window(options);
            FakeNativePlayer *player = window.player();
            if (player)
                player->emitDuration(player->currentItem(), 100), window.session().seek(30);
            if (row.inCinema)
                window.controller().enterCinema();
            const int plays = player ? player->playCount() : 0;
            const qsizetype seeks = player ? player->seeks().size() : 0;
            QCOMPARE(window.controller().handleKeyEvent(QKeyEvent(QEvent::KeyPress, row.key, row.modifiers)), row.handled);
            QCOMPARE(window.session().isCinema(), row.cinemaAfter);
            QVERIFY(!player || (player->playCount() - plays == row.plays && player->seeks().size() - seeks == (row.seekTo < 0 ? 0 : 1)));
            QVERIFY(row.seekTo < 0 || player->seeks().last().seconds == row.seekTo);
        }
    }

    // Closing reports the progress while the player still exists, stops it, then calls the
    // owner once, who may drop the controller right there.
    void closeOrder()
    {
        auto window = std::make_unique<WindowHarness>();
        PlaybackSession &session = window->session();
        QVERIFY(window->present());
        window->player()->emitDuration(window->player()->currentItem(), 120);
        session.seek(42);
        QStringList calls;
        connect(&session, &PlaybackSession::progressReported, this, [&](double elapsed, std::optional<double> length) {
            calls << u"progress %1 of %2, player %3"_qs.arg(elapsed).arg(length.value_or(0)).arg(session.player() != nullptr);
        });
        window->controller().setOnClose([&] { calls << u"close, player %1"_qs.arg(session.player() != nullptr), window.reset(); });
        window->window().close();
        QCOMPARE(calls, (QStringList{u"progress 42 of 120, player 1"_qs, u"close, player 0"_qs}));
    }

    // With the aspect locked a user resize keeps the content's ratio (16:9 from the stored
    // frame, or the one a preset chose); the settled end is written down.
    void aspectOnUserResize()
    {
        struct Row { bool locked; Operation preset; QSize resizeTo; QSize expected; };
        for (const Row &row : QList<Row>{{true, {}, {800, 386}, {800, 476}}, {false, {}, {800, 386}, {800, 386}},
                                         {true, [](auto &c) { c.resize(560, 1.0); }, {600, 586}, {600, 626}}}) {
            WindowHarness::Options options;
            options.lockAspect = row.locked;
            WindowHarness window(options);
            QVERIFY(window.present());
            if (row.preset)
                row.preset(window.controller());
            const QPoint topLeft = window.window().pos();
            window.window().resize(row.resizeTo);
            QVERIFY(window.window().size() == row.expected && window.window().pos() == topLeft);
            QVERIFY(pastTimers(timings.liveResizeSettle));
            QVERIFY(window.lastFrame() == window.controller().frame() && window.storedFrame() == window.controller().frame());
        }
    }
};

QTEST_MAIN(TestPlayerWindowController)
#include "tst_playerwindowcontroller.moc"

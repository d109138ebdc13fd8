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

GeoRect screen()
{
    return ScreenGeometry::visibleFrame(*ScreenGeometry::mainScreen());
}

// Returns once every timer of `delay` or shorter started before has fired (coarse timers
// may fire a little late).
bool pastTimers(std::chrono::milliseconds delay)
{
    QTimer later;
    QSignalSpy fired(&later, &QTimer::timeout);
    later.start(delay * 2);
    return fired.wait(5000);
}

// A window with an empty content, which is all the controller needs.
WindowHarness::Options bare(const std::function<void(Preferences &)> &prepare = {})
{
    WindowHarness::Options options;
    options.prepare = prepare;
    options.view = false;
    return options;
}
} // namespace

char *toString(const GeoRect &rect)
{
    return QTest::toString(rect.toText());
}

// The controller's wiring on offscreen windows; what the X server adds is in the itst_ files.
class TestPlayerWindowController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The source's own frame clamped onto the screen, else the cascade; at least 360 wide.
    void placement()
    {
        struct Row { const char *name; std::optional<GeoRect> stored; double defaultWidth; GeoRect expected; };
        const GeoRect s = screen();
        const QList<Row> rows{
            {"own frame", start, 640, start},
            {"own frame off the screen", GeoRect{5000, 5000, 640, 386}, 640, {s.maxX() - 640, s.maxY() - 386, 640, 386}},
            {"own frame too small: cascade", GeoRect{100, 100, 319, 300}, 640, {s.midX() - 320, s.midY() - 180, 640, 360}},
            {"narrow default", std::nullopt, 300, {s.midX() - 180, s.midY() - 110, 360, 220}},
        };
        for (const Row &row : rows) {
            WindowHarness::Options options = bare([&row](Preferences &p) { p.setDefaultWidth(row.defaultWidth); });
            options.frame = row.stored;
            QVERIFY2(WindowHarness(options).controller().frame() == row.expected, row.name);
        }
    }

    // Only the first window without a frame of its own takes the global last frame; the
    // windows after it step through the cascade.
    void globalFrameThenCascade()
    {
        const GeoRect global{50, 60, 700, 400};
        WindowHarness first(bare());
        first.settings().setValue(u"window.lastFrame"_qs, global.toText());
        first.settings().remove(WindowStateStore::key(first.session().source().url()));
        const auto next = [&first] {
            return PlayerWindowController(first.session(), first.settings(), first.preferences(), first.placement(), {})
                .frame();
        };
        QCOMPARE(next(), global);
        const GeoRect cascade = next();
        QCOMPARE(next(), (GeoRect{cascade.x + 28, cascade.y - 28, cascade.width, cascade.height}));
    }

    // The stored state reaches the session; the session's values reach the window at once
    // and the record after the debounce.
    void stateFollowsTheSession()
    {
        WindowHarness::Options options = bare();
        options.pinned = options.lockAspect = true;
        WindowHarness window(options);
        PlaybackSession &session = window.session();
        QVERIFY(session.isPinned() && session.lockAspect() && session.volume() == 0.5);
        for (const auto &[opacity, alpha] : {std::pair{0.1, 0.25}, std::pair{0.6, 0.6}, std::pair{qQNaN(), 1.0}}) {
            session.setOpacity(opacity);
            QVERIFY(qAbs(window.window().windowOpacity() - alpha) <= 1.0 / 255);
        }
        session.setTitle(u"Another"_qs);
        QCOMPARE(window.window().windowTitle(), u"Another"_qs);
        const auto stored = [&] { return WindowStateStore::load(window.settings(), session.source().url()); };
        for (const auto &change : QList<std::function<void()>>{[&] { session.setOpacity(0.5); }, [&] { session.setPinned(false); },
                                                               [&] { session.setVolume(0.2); }, [&] { session.setLockAspect(false); }}) {
            const auto before = stored();
            change();
            QCOMPARE(stored(), before);
            QVERIFY(pastTimers(WindowHarness::quickTimings().persistDebounce));
            QVERIFY(stored() != before);
        }
        QCOMPARE(stored(), std::optional(StoredWindowState(start.toText(), 0.5, false, 0.2, false)));
    }

    // Operations take their frame from the geometry and set it on the window, written down
    // globally and for the source; unusable input changes nothing.
    void operations()
    {
        struct Row { const char *name; Operation operation; GeoRect expected; };
        const GeoRect s = screen();
        const QList<Row> rows{
            {"preset size keeps the top edge", [](auto &c) { c.resize(480, 16.0 / 9); }, {100, 290, 480, 296}},
            {"scale", [](auto &c) { c.scale(0.9); }, {132, 218, 576, 350}},
            {"fit to content", [](auto &c) { c.fitToContent(2.0); }, {100, 220, 640, 346}},
            {"to a corner", [](auto &c) { c.move(WindowPosition::topRight); }, {s.maxX() - 640, s.maxY() - 386, 640, 386}},
            {"not a number", [](auto &c) { c.resize(qQNaN(), 1.0), c.scale(qQNaN()), c.fitToContent(qQNaN()); }, start},
        };
        for (const Row &row : rows) {
            WindowHarness window(bare());
            QVERIFY(window.present());
            row.operation(window.controller());
            QVERIFY2(ScreenGeometry::fromQt(window.window().geometry()) == row.expected, row.name);
            QCOMPARE(window.lastFrame(), row.expected != start ? std::optional(row.expected) : std::nullopt);
            QCOMPARE(window.storedFrame(), row.expected);
        }
    }

    // A moved window is written down at once and snaps to an edge within 16 points once
    // the snap delay has passed.
    void snapAfterMove()
    {
        struct Row { const char *name; int x; bool snapOn; int expectedX; };
        const QList<Row> rows{{"16 from the edge", 16, true, 0}, {"17 from it", 17, true, 17}, {"snapping off", 10, false, 10}};
        for (const Row &row : rows) {
            WindowHarness window(bare([&row](Preferences &p) { p.setSnapToEdges(row.snapOn); }));
            QVERIFY(window.present());
            window.window().move(row.x, 100);
            const GeoRect moved = window.controller().frame();
            QCOMPARE(moved.x, row.x);
            QCOMPARE(window.lastFrame(), moved);
            QCOMPARE(window.storedFrame(), moved);
            QVERIFY(pastTimers(WindowHarness::quickTimings().snapDelay));
            QVERIFY2(window.controller().frame().x == row.expectedX, row.name);
        }
    }

    // Cinema covers the screen without grips; Escape brings the frame back, and the
    // source's record never takes the cinema frame.
    void cinemaRoundTrip()
    {
        WindowHarness window(bare([](Preferences &p) { p.setSnapToEdges(false); }));
        QVERIFY(window.present());
        window.controller().enterCinema();
        window.controller().enterCinema();
        QCOMPARE(window.controller().frame(), ScreenGeometry::screenFrame(*ScreenGeometry::mainScreen()));
        for (const ResizeGrip *grip : window.window().findChildren<ResizeGrip *>())
            QVERIFY(!grip->isVisibleTo(&window.window()));
        window.window().move(5, 5);
        QCOMPARE(window.lastFrame(), window.controller().frame());
        QCOMPARE(window.storedFrame(), start);
        QTest::keyClick(window.window().windowHandle(), Qt::Key_Escape);
        QCOMPARE(window.controller().frame(), start);
        QCOMPARE(window.lastFrame(), start);
    }

    void keys()
    {
        struct Row { const char *name; MediaKind kind; bool inCinema; int key; Qt::KeyboardModifiers modifiers;
                     bool handled; bool cinemaAfter; double seekTo; int plays; };
        const auto native = MediaKind::localFile;
        const QList<Row> rows{
            {"F enters cinema", native, false, Qt::Key_F, {}, true, true, -1, 0},
            {"F leaves cinema", native, true, Qt::Key_F, {}, true, false, -1, 0},
            {"shift F", native, false, Qt::Key_F, Qt::ShiftModifier, true, true, -1, 0},
            {"ctrl F", native, false, Qt::Key_F, Qt::ControlModifier, false, false, -1, 0},
            {"super F", native, false, Qt::Key_F, Qt::MetaModifier, false, false, -1, 0},
            {"space", native, false, Qt::Key_Space, {}, true, false, -1, 1},
            {"left", native, false, Qt::Key_Left, {}, true, false, 20, 0},
            {"right", native, false, Qt::Key_Right, {}, true, false, 40, 0},
            {"escape in cinema", native, true, Qt::Key_Escape, {}, true, false, -1, 0},
            {"alt escape in cinema", native, true, Qt::Key_Escape, Qt::AltModifier, false, true, -1, 0},
            {"escape outside cinema", native, false, Qt::Key_Escape, {}, false, false, -1, 0},
            {"web: F", MediaKind::web, false, Qt::Key_F, {}, false, false, -1, 0},
            {"web: escape in cinema", MediaKind::web, true, Qt::Key_Escape, {}, true, false, -1, 0},
        };
        for (const Row &row : rows) {
            WindowHarness::Options options = bare();
            if (row.kind == MediaKind::web)
                options.source = WindowHarness::clip(u"https://example.com/a"_qs, row.kind);
            WindowHarness window(options);
            FakeNativePlayer *player = window.player();
            if (player) {
                player->emitDuration(player->currentItem(), 100);
                window.session().seek(30);
            }
            if (row.inCinema)
                window.controller().enterCinema();
            const int plays = player ? player->playCount() : 0;
            const qsizetype seeks = player ? player->seeks().size() : 0;
            const QKeyEvent key(QEvent::KeyPress, row.key, row.modifiers);
            QVERIFY2(window.controller().handleKeyEvent(key) == row.handled, row.name);
            QCOMPARE(window.session().isCinema(), row.cinemaAfter);
            if (!player)
                continue;
            QCOMPARE(player->playCount() - plays, row.plays);
            QCOMPARE(player->seeks().size() - seeks, row.seekTo < 0 ? 0 : 1);
            QVERIFY(row.seekTo < 0 || player->seeks().last().seconds == row.seekTo);
        }
    }

    // Closing reports the progress while the player still exists, stops it, then calls the
    // owner once, who may drop the controller right there.
    void closeOrder()
    {
        auto window = std::make_unique<WindowHarness>(bare());
        PlaybackSession &session = window->session();
        QVERIFY(window->present());
        window->player()->emitDuration(window->player()->currentItem(), 120);
        session.seek(42);
        QStringList calls;
        connect(&session, &PlaybackSession::progressReported, this, [&](double elapsed, std::optional<double> length) {
            calls << u"progress %1 of %2, player %3"_qs.arg(elapsed).arg(length.value_or(0)).arg(session.player() != nullptr);
        });
        window->controller().setOnClose([&] {
            calls << u"close, player %1"_qs.arg(session.player() != nullptr);
            window.reset();
        });
        window->window().close();
        QCOMPARE(calls, (QStringList{u"progress 42 of 120, player 1"_qs, u"close, player 0"_qs}));
    }

    // A lost window comes back: on the screen, clicks taken, at least 70 % opaque, shown.
    void recover()
    {
        for (const auto &[opacity, recovered] : {std::pair{0.1, 0.7}, std::pair{0.9, 0.9}}) {
            WindowHarness window(bare());
            QVERIFY(window.present());
            window.session().setOpacity(opacity);
            window.session().setClickThrough(true);
            window.window().move(4000, -3000);
            window.controller().minimise();
            window.controller().recover();
            QCOMPARE(window.session().opacity(), recovered);
            QVERIFY(!window.session().clickThrough() && !window.session().isHidden() && window.window().isVisible());
            QCOMPARE(window.controller().frame(), (GeoRect{screen().maxX() - 640, screen().maxY() - 386, 640, 386}));
        }
    }

    // With the aspect locked a user resize keeps the content's ratio (16:9 from the stored
    // frame, or the one a preset chose); the settled end is written down.
    void aspectOnUserResize()
    {
        struct Row { const char *name; bool locked; Operation preset; QSize resizeTo; QSize expected; };
        const QList<Row> rows{
            {"locked", true, {}, {800, 386}, {800, 476}},
            {"unlocked", false, {}, {800, 386}, {800, 386}},
            {"locked to a preset's ratio", true, [](auto &c) { c.resize(560, 1.0); }, {600, 586}, {600, 626}},
        };
        for (const Row &row : rows) {
            WindowHarness::Options options = bare();
            options.lockAspect = row.locked;
            WindowHarness window(options);
            QVERIFY(window.present());
            if (row.preset)
                row.preset(window.controller());
            const QPoint topLeft = window.window().pos();
            window.window().resize(row.resizeTo);
            QVERIFY2(window.window().size() == row.expected, row.name);
            QCOMPARE(window.window().pos(), topLeft);
            QVERIFY(pastTimers(WindowHarness::quickTimings().liveResizeSettle));
            QCOMPARE(window.lastFrame(), window.controller().frame());
            QCOMPARE(window.storedFrame(), window.controller().frame());
        }
    }
};

QTEST_MAIN(TestPlayerWindowController)
#include "tst_playerwindowcontroller.moc"

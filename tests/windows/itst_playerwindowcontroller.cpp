#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include "FakeNativePlayer.h"

#include "settings/Preferences.h"
#include "platform/ScreenGeometry.h"
#include "platform/X11Window.h"
#include "playback/PlaybackSession.h"
#include "platform/DebugLog.h"
#include "windows/WindowStateStore.h"

#include "KiteCore/MediaSource.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>
#include <vector>

namespace {

using namespace std::chrono_literals;

const QString lastFrameKey = QStringLiteral("window.lastFrame");
const GeoRect startFrame{100, 200, 640, 386};
// The cascade's first frame for the default width 640: 640 x 360 centred on 1280 x 720.
const GeoRect cascadeFrame{320, 180, 640, 360};
const GeoRect wholeScreen{0, 0, 1280, 720};

QUrl sourceUrl(int n)
{
    return QUrl(QStringLiteral("file:///tmp/clip-%1.mp4").arg(n));
}

// A window of its own that counts presses, to show where a click lands.
class PressTarget final : public QWidget
{
public:
    PressTarget() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {}
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        QWidget::mousePressEvent(event);
    }
};

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool clickAt(const QPoint &point)
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                    QString::number(point.x()), QString::number(point.y()),
                    QStringLiteral("click"), QStringLiteral("1")});
}

// Window opacity goes to the server in steps of 1/255.
bool sameAlpha(double actual, double expected)
{
    return qAbs(actual - expected) <= 1.0 / 255;
}

QString text(const GeoRect &frame)
{
    return frame.toText();
}

} // namespace

Q_DECLARE_METATYPE(GeoRect)
Q_DECLARE_METATYPE(WindowPosition)

char *toString(const GeoRect &rect)
{
    return QTest::toString(rect.toText());
}

class TestPlayerWindowController : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<WindowPlacement> m_placement;
    std::vector<std::unique_ptr<PlaybackSession>> m_sessions;
    std::vector<std::unique_ptr<PlayerWindowController>> m_controllers;
    FakeNativePlayer *m_player = nullptr;
    int m_contentBuilt = 0;

    PlayerWindowController::Timings fastTimings() const
    {
        PlayerWindowController::Timings timings;
        timings.persistDebounce = 20ms;
        timings.snapDelay = 20ms;
        timings.liveResizeSettle = 20ms;
        timings.moveToCornerDelay = 20ms;
        timings.grabToggleDelay = 40ms;
        return timings;
    }

    PlaybackSession &newSession(const QUrl &url, MediaKind kind = MediaKind::localFile)
    {
        PlaybackSession::Dependencies dependencies{*m_preferences, *m_settings, [this] {
                                                       auto player = std::make_unique<FakeNativePlayer>();
                                                       m_player = player.get();
                                                       return player;
                                                   },
                                                   {}, {}};
        m_sessions.push_back(std::make_unique<PlaybackSession>(
            MediaSource(url, kind, QStringLiteral("Clip"), QString()), std::nullopt,
            dependencies));
        return *m_sessions.back();
    }

    PlayerWindowController &newController(PlaybackSession &session,
                                          std::optional<PlayerWindowController::Timings> timings = {})
    {
        auto content = [this](PlayerWindowController &) {
            ++m_contentBuilt;
            return new QWidget();
        };
        m_controllers.push_back(std::make_unique<PlayerWindowController>(
            session, *m_settings, *m_preferences, *m_placement, content, timings.value_or(fastTimings())));
        return *m_controllers.back();
    }

    PlayerWindowController &controllerAt(const GeoRect &frame, int n = 1)
    {
        storeState(sourceUrl(n), frame.toText());
        return newController(newSession(sourceUrl(n)));
    }

    PlayerWindowController &shownAt(const GeoRect &frame)
    {
        PlayerWindowController &controller = controllerAt(frame);
        controller.present();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(controller.window())); }();
        return controller;
    }

    void storeState(const QUrl &url, const QString &frame, double opacity = 1.0,
                    bool pinned = false, double volume = 0.5, bool lockAspect = false)
    {
        WindowStateStore::save(*m_settings,
                               StoredWindowState(frame, opacity, pinned, volume, lockAspect), url);
    }

    std::optional<GeoRect> storedFrame(const QUrl &url)
    {
        const std::optional<StoredWindowState> state = WindowStateStore::load(*m_settings, url);
        return state ? GeoRect::fromText(state->frame()) : std::nullopt;
    }

    std::optional<GeoRect> lastFrame() const
    {
        return GeoRect::fromText(m_settings->value(lastFrameKey).toString());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QCOMPARE(ScreenGeometry::visibleFrame(*ScreenGeometry::mainScreen()), wholeScreen);
        DebugLog::setFileForTesting(m_folder.filePath(QStringLiteral("grab.log")));
    }

    void init()
    {
        QFile::remove(m_folder.filePath(QStringLiteral("settings.conf")));
        QFile::remove(m_folder.filePath(QStringLiteral("grab.log")));
        m_settings = std::make_unique<QSettings>(m_folder.filePath(QStringLiteral("settings.conf")),
                                                 QSettings::IniFormat);
        m_preferences = std::make_unique<Preferences>(*m_settings);
        m_preferences->setAlwaysOnTop(false);
        m_preferences->setLockAspect(false);
        m_placement = std::make_unique<WindowPlacement>();
        qunsetenv("LUMIVANE_DEBUG");
        m_contentBuilt = 0;
    }

    void cleanup()
    {
        m_controllers.clear();
        m_sessions.clear();
        m_preferences.reset();
        m_settings.reset();
        m_player = nullptr;
    }

    void cleanupTestCase() { DebugLog::setFileForTesting(QString()); }

    // Placement of a new window: the source's own frame, else (first window only) the global
    // last frame, else the cascade; anything unusable falls back, anything off-screen is
    // clamped onto the screen.
    void placement_data()
    {
        QTest::addColumn<QString>("storedFrame");
        QTest::addColumn<QString>("globalFrame");
        QTest::addColumn<double>("defaultWidth");
        QTest::addColumn<GeoRect>("expected");
        const QString none;
        QTest::newRow("nothing stored: cascade") << none << none << 640.0 << cascadeFrame;
        QTest::newRow("own frame") << text(startFrame) << none << 640.0 << startFrame;
        QTest::newRow("own frame before the global one")
            << text(startFrame) << "{{50, 60}, {700, 400}}" << 640.0 << startFrame;
        QTest::newRow("own frame off every screen")
            << "{{5000, 5000}, {640, 386}}" << none << 640.0 << GeoRect{640, 334, 640, 386};
        QTest::newRow("own frame below the screen")
            << "{{100, -2000}, {640, 386}}" << none << 640.0 << GeoRect{100, 0, 640, 386};
        QTest::newRow("own frame half off the left edge")
            << "{{-300, 100}, {640, 386}}" << none << 640.0 << GeoRect{0, 100, 640, 386};
        QTest::newRow("own frame larger than the screen")
            << "{{-10, -10}, {5000, 4000}}" << none << 640.0 << wholeScreen;
        QTest::newRow("own frame too narrow") << "{{100, 100}, {319, 300}}" << none << 640.0
                                              << cascadeFrame;
        QTest::newRow("own frame too low") << "{{100, 100}, {640, 219}}" << none << 640.0
                                           << cascadeFrame;
        QTest::newRow("own frame smallest size") << "{{100, 100}, {320, 220}}" << none << 640.0
                                                 << GeoRect{100, 100, 320, 220};
        QTest::newRow("own frame garbage") << "garbage" << none << 640.0 << cascadeFrame;
        QTest::newRow("own frame empty size") << "{{0, 0}, {0, 0}}" << none << 640.0
                                              << cascadeFrame;
        QTest::newRow("global frame") << none << "{{50, 60}, {700, 400}}" << 640.0
                                      << GeoRect{50, 60, 700, 400};
        QTest::newRow("global frame off screen") << none << "{{-3000, 9000}, {700, 400}}"
                                                 << 640.0 << GeoRect{0, 320, 700, 400};
        QTest::newRow("global frame too small") << none << "{{50, 60}, {300, 400}}" << 640.0
                                                << cascadeFrame;
        QTest::newRow("global frame garbage") << none << "{{50, 60}, {700}}" << 640.0
                                              << cascadeFrame;
        // 360 wide; the cascade's 360 x 202.5 is raised to the minimum height.
        QTest::newRow("default width below 360") << none << none << 300.0
                                                 << GeoRect{460, 250, 360, 220};
        QTest::newRow("default width 960") << none << none << 960.0
                                           << GeoRect{160, 90, 960, 540};
    }

    void placement()
    {
        QFETCH(QString, storedFrame);
        QFETCH(QString, globalFrame);
        QFETCH(double, defaultWidth);
        QFETCH(GeoRect, expected);
        m_preferences->setDefaultWidth(defaultWidth);
        if (!storedFrame.isNull())
            storeState(sourceUrl(1), storedFrame);
        if (!globalFrame.isNull())
            m_settings->setValue(lastFrameKey, globalFrame);

        PlayerWindowController &controller = newController(newSession(sourceUrl(1)));
        QCOMPARE(controller.frame(), expected);
        QVERIFY(!controller.window()->isVisible());
        QCOMPARE(m_contentBuilt, 1);
        controller.present();
        QVERIFY(QTest::qWaitForWindowExposed(controller.window()));
        QCOMPARE(controller.frame(), expected);
    }

    void unreadableRecordReadsAsNone()
    {
        m_settings->setValue(WindowStateStore::key(sourceUrl(1)), QByteArray("{\"frame\":"));
        m_settings->setValue(lastFrameKey, QStringLiteral("{{50, 60}, {700, 400}}"));
        PlayerWindowController &controller = newController(newSession(sourceUrl(1)));
        QCOMPARE(controller.frame(), (GeoRect{50, 60, 700, 400}));
    }

    void globalFrameOnlyForFirstWindow()
    {
        m_settings->setValue(lastFrameKey, QStringLiteral("{{50, 60}, {700, 400}}"));
        QCOMPARE(newController(newSession(sourceUrl(1))).frame(), (GeoRect{50, 60, 700, 400}));
        QCOMPARE(newController(newSession(sourceUrl(2))).frame(), cascadeFrame);
    }

    // A window with its own state does not use up the global frame.
    void globalFrameAfterWindowWithOwnState()
    {
        m_settings->setValue(lastFrameKey, QStringLiteral("{{50, 60}, {700, 400}}"));
        QCOMPARE(controllerAt(startFrame).frame(), startFrame);
        QCOMPARE(newController(newSession(sourceUrl(2))).frame(), (GeoRect{50, 60, 700, 400}));
    }

    void cascadeOffsets()
    {
        const QList<double> offsets{0, 28, 56, 84, 112, 140, 0, 28};
        for (int i = 0; i < offsets.size(); ++i) {
            const double offset = offsets.at(i);
            PlayerWindowController &controller = newController(newSession(sourceUrl(i)));
            QCOMPARE(controller.frame(), (GeoRect{cascadeFrame.x + offset,
                                                  cascadeFrame.y - offset, 640, 360}));
        }
    }

    void storedStateAppliedToSession()
    {
        storeState(sourceUrl(1), text(startFrame), 0.4, true, 0.3, true);
        PlaybackSession &session = newSession(sourceUrl(1));
        QCOMPARE(session.isPinned(), false);
        newController(session);
        QCOMPARE(session.opacity(), 0.4);
        QCOMPARE(session.isPinned(), true);
        QCOMPARE(session.volume(), 0.3);
        QCOMPARE(session.lockAspect(), true);
    }

    // The observations set the window at once and on every change.
    void observations()
    {
        PlaybackSession &session = newSession(sourceUrl(1));
        session.setOpacity(0.1);
        PlayerWindowController &controller = newController(session);
        QWidget *window = controller.window();
        QVERIFY(sameAlpha(window->windowOpacity(), 0.25));
        QCOMPARE(window->windowTitle(), QStringLiteral("Clip"));
        QVERIFY(!X11Window::hasStateAbove(window->winId()));

        session.setOpacity(0.6);
        QVERIFY(sameAlpha(window->windowOpacity(), 0.6));
        session.setOpacity(qQNaN());
        QVERIFY(sameAlpha(window->windowOpacity(), 1.0));
        session.setTitle(QStringLiteral("Another"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Another"));
        session.setPinned(true);
        QVERIFY(X11Window::hasStateAbove(window->winId()));
        session.setPinned(false);
        QVERIFY(!X11Window::hasStateAbove(window->winId()));
    }

    void operations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<GeoRect>("expected");
        // From (100, 200) 640 x 386, whose top edge is 586 and centre (420, 393).
        QTest::newRow("small") << "resize" << 480.0 << 16.0 / 9 << GeoRect{100, 290, 480, 296};
        QTest::newRow("large") << "resize" << 960.0 << 16.0 / 9 << GeoRect{100, 20, 960, 566};
        QTest::newRow("square") << "resize" << 560.0 << 1.0 << GeoRect{100, 0, 560, 586};
        QTest::newRow("portrait, clamped") << "resize" << 420.0 << 0.5625
                                           << GeoRect{100, 0, 420, 720};
        QTest::newRow("ratio below 0.2") << "resize" << 480.0 << 0.1 << GeoRect{100, 0, 480, 720};
        QTest::newRow("below the minimum") << "resize" << 100.0 << 16.0 / 9
                                           << GeoRect{100, 500, 320, 220};
        QTest::newRow("scale up") << "scale" << 1.1 << 0.0 << GeoRect{68, 182, 704, 422};
        QTest::newRow("scale down") << "scale" << 0.9 << 0.0 << GeoRect{132, 218, 576, 350};
        QTest::newRow("scale by 0") << "scale" << 0.0 << 0.0 << startFrame;
        QTest::newRow("fit square") << "fit" << 1.0 << 0.0 << GeoRect{100, 54, 640, 666};
        QTest::newRow("fit 4:3") << "fit" << 4.0 / 3 << 0.0 << GeoRect{100, 140, 640, 506};
        QTest::newRow("fit invalid aspect") << "fit" << -1.0 << 0.0 << GeoRect{100, 200, 640, 386};
        QTest::newRow("top left") << "move" << double(WindowPosition::topLeft) << 0.0
                                  << GeoRect{0, 334, 640, 386};
        QTest::newRow("top right") << "move" << double(WindowPosition::topRight) << 0.0
                                   << GeoRect{640, 334, 640, 386};
        QTest::newRow("bottom left") << "move" << double(WindowPosition::bottomLeft) << 0.0
                                     << GeoRect{0, 0, 640, 386};
        QTest::newRow("bottom right") << "move" << double(WindowPosition::bottomRight) << 0.0
                                      << GeoRect{640, 0, 640, 386};
        QTest::newRow("centre") << "move" << double(WindowPosition::center) << 0.0
                                << GeoRect{320, 167, 640, 386};
    }

    void operations()
    {
        QFETCH(QString, operation);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(GeoRect, expected);
        PlayerWindowController &controller = shownAt(startFrame);
        m_settings->remove(lastFrameKey);
        if (operation == QLatin1String("resize"))
            controller.resize(a, b);
        else if (operation == QLatin1String("scale"))
            controller.scale(a);
        else if (operation == QLatin1String("fit"))
            controller.fitToContent(a);
        else
            controller.move(static_cast<WindowPosition>(int(a)));

        QCOMPARE(controller.frame(), expected);
        QCOMPARE(ScreenGeometry::fromQt(controller.window()->geometry()), expected);
        const bool changed = expected != startFrame || operation == QLatin1String("move");
        QCOMPARE(lastFrame(), changed ? std::optional(expected) : std::nullopt);
        QCOMPARE(storedFrame(sourceUrl(1)), changed ? expected : startFrame);
    }

    void operationsIgnoreNonFiniteInput()
    {
        PlayerWindowController &controller = shownAt(startFrame);
        controller.resize(qQNaN(), 1.0);
        controller.resize(480, qInf());
        controller.scale(qQNaN());
        controller.fitToContent(qQNaN());
        QCOMPARE(controller.frame().width, startFrame.width);
        QCOMPARE(controller.frame().height, startFrame.height);
    }

    // A moved window snaps to an edge or centre line within 16 points, once the moves settle.
    void snapAfterMove_data()
    {
        QTest::addColumn<QPoint>("moveTo");
        QTest::addColumn<bool>("snapOn");
        QTest::addColumn<GeoRect>("expected");
        // 640 x 386: x candidates 0, 320, 640; y candidates 0, 167, 334 (Qt y 334, 167, 0).
        QTest::newRow("near the left edge") << QPoint(10, 100) << true << GeoRect{0, 234, 640, 386};
        QTest::newRow("near the right edge") << QPoint(626, 100) << true
                                             << GeoRect{640, 234, 640, 386};
        QTest::newRow("near the centre") << QPoint(336, 155) << true
                                         << GeoRect{320, 167, 640, 386};
        QTest::newRow("near the top") << QPoint(200, 12) << true << GeoRect{200, 334, 640, 386};
        QTest::newRow("just too far") << QPoint(17, 100) << true << GeoRect{17, 234, 640, 386};
        QTest::newRow("snapping off") << QPoint(10, 12) << false << GeoRect{10, 322, 640, 386};
    }

    void snapAfterMove()
    {
        QFETCH(QPoint, moveTo);
        QFETCH(bool, snapOn);
        QFETCH(GeoRect, expected);
        m_preferences->setSnapToEdges(snapOn);
        PlayerWindowController::Timings timings = fastTimings();
        timings.snapDelay = 150ms;
        storeState(sourceUrl(1), text(startFrame));
        PlayerWindowController &controller = newController(newSession(sourceUrl(1)), timings);
        controller.present();
        QVERIFY(QTest::qWaitForWindowExposed(controller.window()));

        QElapsedTimer clock;
        clock.start();
        controller.window()->move(moveTo);
        const GeoRect moved = ScreenGeometry::fromQt(controller.window()->geometry());
        QCOMPARE(controller.frame(), moved);
        // The move itself is remembered at once, before any snap.
        QCOMPARE(lastFrame(), moved);
        QCOMPARE(storedFrame(sourceUrl(1)), moved);
        QTRY_COMPARE_WITH_TIMEOUT(controller.frame(), expected, 2000);
        if (expected != moved) {
            QVERIFY(clock.elapsed() >= 150);
        } else {
            QTest::qWait(300); // nothing may happen after the snap delay either
            QCOMPARE(controller.frame(), expected);
        }
    }

    // Moves in a burst snap once, from where the last one left the window.
    void burstOfMovesSnapsAfterTheLast()
    {
        PlayerWindowController::Timings timings = fastTimings();
        timings.snapDelay = 600ms;
        storeState(sourceUrl(1), text(startFrame));
        PlayerWindowController &controller = newController(newSession(sourceUrl(1)), timings);
        controller.present();
        QVERIFY(QTest::qWaitForWindowExposed(controller.window()));
        QElapsedTimer clock;
        clock.start();
        controller.window()->move(630, 100);
        QTest::qWait(300);
        controller.window()->move(629, 100);
        QTest::qWait(400);
        // Past the first move's delay, within the second's: not snapped yet.
        if (clock.elapsed() < 900)
            QCOMPARE(controller.frame().x, 629.0);
        QTRY_COMPARE_WITH_TIMEOUT(controller.frame().x, 640.0, 2000);
        QVERIFY(clock.elapsed() >= 900);
    }

    // The per-source record follows a change of the observed values about 250 ms later.
    void stateWrittenAfterDebounce()
    {
        PlaybackSession &session = newSession(sourceUrl(1));
        QElapsedTimer clock;
        clock.start();
        PlayerWindowController &controller =
            newController(session, PlayerWindowController::Timings{});
        QVERIFY(!WindowStateStore::load(*m_settings, sourceUrl(1)));
        QTRY_VERIFY_WITH_TIMEOUT(WindowStateStore::load(*m_settings, sourceUrl(1)).has_value(), 2000);
        QVERIFY(clock.elapsed() >= 250);
        QCOMPARE(WindowStateStore::load(*m_settings, sourceUrl(1))->frame(), text(controller.frame()));

        const QList<std::function<void()>> changes{
            [&] { session.setOpacity(0.5); }, [&] { session.setPinned(true); },
            [&] { session.setVolume(0.2); }, [&] { session.setLockAspect(true); }};
        for (const auto &change : changes) {
            const StoredWindowState before = *WindowStateStore::load(*m_settings, sourceUrl(1));
            clock.restart();
            change();
            QCOMPARE(*WindowStateStore::load(*m_settings, sourceUrl(1)), before);
            QTRY_VERIFY_WITH_TIMEOUT(*WindowStateStore::load(*m_settings, sourceUrl(1)) != before,
                                     2000);
            QVERIFY(clock.elapsed() >= 250);
        }
        const StoredWindowState state = *WindowStateStore::load(*m_settings, sourceUrl(1));
        QCOMPARE(state, StoredWindowState(text(controller.frame()), 0.5, true, 0.2, true));
    }

    // Click-through is switched on the mapped window: same native window, clicks go to the
    // window below while it is on.
    void clickThroughWhileMapped()
    {
        PressTarget below;
        below.setGeometry(0, 0, 1280, 720);
        below.show();
        QVERIFY(QTest::qWaitForWindowExposed(&below));
        PlayerWindowController &controller = shownAt(startFrame);
        PlaybackSession &session = controller.session();
        const WId id = controller.window()->winId();
        const QPoint inside = ScreenGeometry::toQt(startFrame).center();

        session.setClickThrough(true);
        QCOMPARE(controller.window()->winId(), id);
        QVERIFY(controller.window()->isVisible());
        QVERIFY(clickAt(inside));
        QTRY_COMPARE_WITH_TIMEOUT(below.presses, 1, 3000);

        session.setClickThrough(false);
        QCOMPARE(controller.window()->winId(), id);
        QVERIFY(clickAt(inside + QPoint(3, 3)));
        QTest::qWait(200); // a click that lands on the player must not reach the window below
        QCOMPARE(below.presses, 1);
        QCOMPARE(controller.frame(), startFrame);
    }

    // Grab mode: a press anywhere drags the window (by hand here: no window manager).
    void grabModeDragsFromAnywhere()
    {
        m_preferences->setSnapToEdges(false);
        PlayerWindowController &controller = shownAt(startFrame);
        controller.session().setGrabMode(true);
        const QPoint start = ScreenGeometry::toQt(startFrame).center();
        QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                         QString::number(start.x()), QString::number(start.y()),
                         QStringLiteral("mousedown"), QStringLiteral("1"),
                         QStringLiteral("mousemove"), QStringLiteral("--sync"),
                         QString::number(start.x() + 50), QString::number(start.y() + 30),
                         QStringLiteral("mouseup"), QStringLiteral("1")}));
        QTRY_COMPARE_WITH_TIMEOUT(controller.frame(),
                                  (GeoRect{startFrame.x + 50, startFrame.y - 30, 640, 386}), 3000);

        controller.session().setGrabMode(false);
        const GeoRect before = controller.frame();
        QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                         QString::number(start.x() + 60), QString::number(start.y() + 40),
                         QStringLiteral("mousedown"), QStringLiteral("1"),
                         QStringLiteral("mousemove"), QStringLiteral("--sync"),
                         QString::number(start.x() + 120), QString::number(start.y() + 90),
                         QStringLiteral("mouseup"), QStringLiteral("1")}));
        QTest::qWait(200); // a drag without grab mode must leave the window where it is
        QCOMPARE(controller.frame(), before);
    }

    void keys_data()
    {
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<bool>("inCinema");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<bool>("cinemaAfter");
        QTest::addColumn<double>("seekTo"); // -1: no seek
        QTest::addColumn<int>("plays");
        const MediaKind native = MediaKind::localFile;
        const MediaKind web = MediaKind::web;
        const int none = Qt::NoModifier;
        QTest::newRow("F enters cinema") << native << false << int(Qt::Key_F) << none << true
                                         << true << -1.0 << 0;
        QTest::newRow("F leaves cinema") << native << true << int(Qt::Key_F) << none << true
                                         << false << -1.0 << 0;
        QTest::newRow("shift F") << native << false << int(Qt::Key_F) << int(Qt::ShiftModifier)
                                 << true << true << -1.0 << 0;
        QTest::newRow("ctrl F") << native << false << int(Qt::Key_F) << int(Qt::ControlModifier)
                                << false << false << -1.0 << 0;
        QTest::newRow("alt F") << native << false << int(Qt::Key_F) << int(Qt::AltModifier)
                               << false << false << -1.0 << 0;
        QTest::newRow("super F") << native << false << int(Qt::Key_F) << int(Qt::MetaModifier)
                                 << false << false << -1.0 << 0;
        QTest::newRow("space") << native << false << int(Qt::Key_Space) << none << true << false
                               << -1.0 << 1;
        QTest::newRow("left") << native << false << int(Qt::Key_Left) << none << true << false
                              << 20.0 << 0;
        QTest::newRow("right") << native << false << int(Qt::Key_Right) << none << true << false
                               << 40.0 << 0;
        QTest::newRow("escape in cinema") << native << true << int(Qt::Key_Escape) << none << true
                                          << false << -1.0 << 0;
        QTest::newRow("ctrl escape in cinema") << native << true << int(Qt::Key_Escape)
                                               << int(Qt::ControlModifier) << false << true
                                               << -1.0 << 0;
        QTest::newRow("escape outside cinema") << native << false << int(Qt::Key_Escape) << none
                                               << false << false << -1.0 << 0;
        QTest::newRow("other key") << native << false << int(Qt::Key_G) << none << false << false
                                   << -1.0 << 0;
        QTest::newRow("web: F") << web << false << int(Qt::Key_F) << none << false << false
                                << -1.0 << 0;
        QTest::newRow("web: space") << web << false << int(Qt::Key_Space) << none << false
                                    << false << -1.0 << 0;
        QTest::newRow("web: F in cinema") << web << true << int(Qt::Key_F) << none << false
                                          << true << -1.0 << 0;
        QTest::newRow("web: escape in cinema") << web << true << int(Qt::Key_Escape) << none
                                               << true << false << -1.0 << 0;
    }

    void keys()
    {
        QFETCH(MediaKind, kind);
        QFETCH(bool, inCinema);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, handled);
        QFETCH(bool, cinemaAfter);
        QFETCH(double, seekTo);
        QFETCH(int, plays);
        const QUrl url = kind == MediaKind::web ? QUrl(QStringLiteral("https://example.com/"))
                                                : sourceUrl(1);
        storeState(url, text(startFrame));
        m_player = nullptr;
        PlaybackSession &session = newSession(url, kind);
        PlayerWindowController &controller = newController(session);
        if (m_player) {
            m_player->emitDuration(m_player->currentItem(), 100.0);
            session.seek(30);
        }
        const int seeksBefore = m_player ? int(m_player->seeks().size()) : 0;
        const int playsBefore = m_player ? m_player->playCount() : 0;
        if (inCinema)
            controller.enterCinema();

        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(controller.handleKeyEvent(event), handled);
        QCOMPARE(session.isCinema(), cinemaAfter);
        QCOMPARE(controller.frame(), cinemaAfter ? wholeScreen : startFrame);
        if (m_player) {
            QCOMPARE(m_player->playCount() - playsBefore, plays);
            QCOMPARE(int(m_player->seeks().size()) - seeksBefore, seekTo < 0 ? 0 : 1);
            if (seekTo >= 0)
                QCOMPARE(m_player->seeks().last().seconds, seekTo);
        }
    }

    // Keys typed into the window reach the rule before the content does.
    void keysThroughTheWindow()
    {
        PlayerWindowController &controller = shownAt(startFrame);
        QTest::keyClick(controller.window()->windowHandle(), Qt::Key_F);
        QVERIFY(controller.session().isCinema());
        QTest::keyClick(controller.window()->windowHandle(), Qt::Key_Escape);
        QVERIFY(!controller.session().isCinema());
        QCOMPARE(controller.frame(), startFrame);
    }

    // Cinema covers the whole screen above everything; Escape gives back frame and level, and
    // moves meanwhile update only the global last frame.
    void cinemaRoundTrip_data()
    {
        QTest::addColumn<bool>("pinned");
        QTest::newRow("not pinned") << false;
        QTest::newRow("pinned") << true;
    }

    void cinemaRoundTrip()
    {
        QFETCH(bool, pinned);
        storeState(sourceUrl(1), text(startFrame), 1.0, pinned);
        PlaybackSession &session = newSession(sourceUrl(1));
        PlayerWindowController &controller = newController(session);
        controller.present();
        QVERIFY(QTest::qWaitForWindowExposed(controller.window()));
        QWidget *window = controller.window();

        controller.enterCinema();
        QVERIFY(session.isCinema());
        QCOMPARE(controller.frame(), wholeScreen);
        QCOMPARE(lastFrame(), wholeScreen);
        QVERIFY(X11Window::hasStateAbove(window->winId()));
        controller.enterCinema(); // a second entry must not forget the frame to go back to

        window->move(5, 5);
        const GeoRect moved = controller.frame();
        QCOMPARE(lastFrame(), moved);
        QTest::qWait(100); // debounced writes must not store the cinema frame either
        QCOMPARE(storedFrame(sourceUrl(1)), startFrame);

        QVERIFY(controller.handleKeyEvent(QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier)));
        QVERIFY(!session.isCinema());
        QCOMPARE(controller.frame(), startFrame);
        QCOMPARE(X11Window::hasStateAbove(window->winId()), pinned);
        QCOMPARE(lastFrame(), startFrame);
        QTRY_COMPARE_WITH_TIMEOUT(storedFrame(sourceUrl(1)), startFrame, 2000);
    }

    void closeOrder_data()
    {
        QTest::addColumn<bool>("inCinema");
        QTest::addColumn<double>("duration");
        QTest::newRow("duration known") << false << 120.0;
        QTest::newRow("duration unknown") << false << 0.0;
        QTest::newRow("in cinema") << true << 120.0;
    }

    void closeOrder()
    {
        QFETCH(bool, inCinema);
        QFETCH(double, duration);
        PlayerWindowController &controller = shownAt(startFrame);
        PlaybackSession &session = controller.session();
        if (duration > 0)
            m_player->emitDuration(m_player->currentItem(), duration);
        session.seek(42);
        if (inCinema)
            controller.enterCinema();
        QStringList calls;
        std::optional<double> reportedDuration;
        QObject receiver;
        connect(&session, &PlaybackSession::progressReported, &receiver,
                [&](double elapsed, std::optional<double> length) {
                    calls << QStringLiteral("progress %1 player=%2").arg(elapsed).arg(int(session.player() != nullptr));
                    reportedDuration = length;
                });
        int closes = 0;
        controller.setOnClose([&] {
            ++closes;
            calls << QStringLiteral("close player=%1").arg(int(session.player() != nullptr));
        });

        controller.close();
        QCOMPARE(calls, (QStringList{QStringLiteral("progress 42 player=1"),
                                     QStringLiteral("close player=0")}));
        QCOMPARE(reportedDuration, duration > 0 ? std::optional(duration) : std::nullopt);
        QVERIFY(!controller.window()->isVisible());
        // In cinema the state is not saved with the cinema frame.
        QCOMPARE(storedFrame(sourceUrl(1)), startFrame);

        controller.close();
        QCOMPARE(closes, 1);
        session.setTitle(QStringLiteral("After")); // observations are gone
        QCOMPARE(controller.window()->windowTitle(), QStringLiteral("Clip"));
    }

    // The owner may drop the controller from inside onClose.
    void ownerDropsControllerOnClose()
    {
        PlaybackSession &session = newSession(sourceUrl(1));
        auto controller = std::make_unique<PlayerWindowController>(
            session, *m_settings, *m_preferences, *m_placement, PlayerWindowController::ContentFactory(),
            fastTimings());
        controller->present();
        QVERIFY(QTest::qWaitForWindowExposed(controller->window()));
        QPointer<QWidget> window = controller->window();
        controller->setOnClose([&controller] { controller.reset(); });
        window->close();
        QVERIFY(!controller);
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 2000);
    }

    void recover_data()
    {
        QTest::addColumn<double>("opacity");
        QTest::addColumn<double>("recovered");
        QTest::newRow("nearly invisible") << 0.1 << 0.7;
        QTest::newRow("already visible") << 0.9 << 0.9;
        QTest::newRow("not a number") << qQNaN() << 0.7;
    }

    void recover()
    {
        QFETCH(double, opacity);
        QFETCH(double, recovered);
        PlayerWindowController &controller = shownAt(startFrame);
        PlaybackSession &session = controller.session();
        session.setOpacity(opacity);
        session.setClickThrough(true);
        controller.window()->move(4000, -3000);
        controller.minimise();
        QVERIFY(session.isHidden());

        controller.recover();
        QCOMPARE(session.opacity(), recovered);
        QVERIFY(!session.clickThrough());
        QVERIFY(!controller.window()->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
        QVERIFY(sameAlpha(controller.window()->windowOpacity(), recovered));
        QCOMPARE(controller.frame(), (GeoRect{640, 334, 640, 386}));
        QVERIFY(!session.isHidden());
        QVERIFY(controller.window()->isVisible());
        QVERIFY(!controller.window()->isMinimized());
    }

    // With the aspect locked, a user resize keeps the content's width to height.
    void aspectLockedResize_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QSize>("resizeTo");
        QTest::addColumn<QSize>("expected");
        // 640 x 386: content 640 x 360 (16:9) under the 26-point bar.
        QTest::newRow("wider") << true << QSize(800, 386) << QSize(800, 476);
        QTest::newRow("unlocked") << false << QSize(800, 386) << QSize(800, 386);
    }

    void aspectLockedResize()
    {
        QFETCH(bool, locked);
        QFETCH(QSize, resizeTo);
        QFETCH(QSize, expected);
        storeState(sourceUrl(1), text(startFrame), 1.0, false, 0.5, locked);
        PlayerWindowController &controller = newController(newSession(sourceUrl(1)));
        controller.present();
        QVERIFY(QTest::qWaitForWindowExposed(controller.window()));
        const QPoint topLeft = controller.window()->pos();
        controller.window()->resize(resizeTo);
        QCOMPARE(controller.window()->size(), expected);
        QCOMPARE(controller.window()->pos(), topLeft);
        // The end of the resize is written down once it settles.
        QTRY_COMPARE_WITH_TIMEOUT(lastFrame(), controller.frame(), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(storedFrame(sourceUrl(1)), controller.frame(), 2000);
    }

    // A preset sets the ratio that later user resizes keep.
    void presetSetsLockedRatio()
    {
        storeState(sourceUrl(1), text(startFrame), 1.0, false, 0.5, true);
        PlayerWindowController &controller = newController(newSession(sourceUrl(1)));
        controller.present();
        QVERIFY(QTest::qWaitForWindowExposed(controller.window()));
        controller.resize(560, 1.0);
        controller.window()->resize(600, controller.window()->height());
        QCOMPARE(controller.window()->size(), QSize(600, 626));
    }

    void minimiseHidesSession()
    {
        PlayerWindowController &controller = shownAt(startFrame);
        controller.minimise();
        QVERIFY(controller.session().isHidden());
        controller.present();
        QVERIFY(!controller.session().isHidden());
        QVERIFY(!controller.window()->isMinimized());
    }

    void diagnostics_data()
    {
        QTest::addColumn<QByteArray>("debug");
        QTest::addColumn<QByteArray>("corner");
        QTest::addColumn<QByteArray>("grab");
        QTest::addColumn<GeoRect>("expected");
        QTest::addColumn<bool>("grabbing");
        QTest::addColumn<QStringList>("lines");
        const QString init = QStringLiteral("window init version= build=");
        QTest::newRow("off") << QByteArray() << QByteArray("topRight") << QByteArray("on")
                             << startFrame << false << QStringList();
        QTest::newRow("debug not exactly 1") << QByteArray("true") << QByteArray("topRight")
                                             << QByteArray("on") << startFrame << false
                                             << QStringList();
        QTest::newRow("corner") << QByteArray("1") << QByteArray("topRight") << QByteArray()
                                << GeoRect{640, 334, 640, 386} << false << QStringList{init};
        QTest::newRow("unknown corner") << QByteArray("1") << QByteArray("middle") << QByteArray()
                                        << startFrame << false << QStringList{init};
        QTest::newRow("grab on") << QByteArray("1") << QByteArray() << QByteArray("on")
                                 << startFrame << true
                                 << QStringList{init, QStringLiteral("startup grab=on")};
        QTest::newRow("grab toggle")
            << QByteArray("1") << QByteArray() << QByteArray("toggle") << startFrame << false
            << QStringList{init, QStringLiteral("startup grab=toggle"),
                           QStringLiteral("debug toggle -> grabMode=false")};
        QTest::newRow("grab other") << QByteArray("1") << QByteArray() << QByteArray("yes")
                                    << startFrame << false
                                    << QStringList{init, QStringLiteral("startup grab=yes")};
    }

    void diagnostics()
    {
        QFETCH(QByteArray, debug);
        QFETCH(QByteArray, corner);
        QFETCH(QByteArray, grab);
        QFETCH(GeoRect, expected);
        QFETCH(bool, grabbing);
        QFETCH(QStringList, lines);
        const auto setOrUnset = [](const char *name, const QByteArray &value) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        };
        setOrUnset("LUMIVANE_DEBUG", debug);
        setOrUnset("LUMIVANE_MOVE_TO_CORNER", corner);
        setOrUnset("LUMIVANE_GRAB", grab);
        PlayerWindowController &controller = controllerAt(startFrame);
        QFile log(m_folder.filePath(QStringLiteral("grab.log")));
        const auto logged = [&log] {
            QStringList messages;
            if (!log.open(QIODevice::ReadOnly))
                return messages;
            for (const QByteArray &line : log.readAll().split('\n')) {
                if (!line.isEmpty())
                    messages << QString::fromUtf8(line.mid(line.indexOf(' ') + 1));
            }
            log.close();
            return messages;
        };
        QTRY_COMPARE_WITH_TIMEOUT(logged(), lines, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(controller.frame(), expected, 2000);
        QTest::qWait(100); // past every diagnostic delay
        QCOMPARE(controller.session().grabMode(), grabbing);
        QCOMPARE(controller.frame(), expected);
        qunsetenv("LUMIVANE_MOVE_TO_CORNER");
        qunsetenv("LUMIVANE_GRAB");
    }

    // Moves are logged at most once per interval, with the frame they left the window at.
    void movesLoggedAtMostOncePerInterval()
    {
        qputenv("LUMIVANE_DEBUG", "1");
        m_preferences->setSnapToEdges(false);
        PlayerWindowController::Timings timings = fastTimings();
        timings.moveLogInterval = 60s;
        storeState(sourceUrl(1), text(startFrame));
        PlayerWindowController &controller = newController(newSession(sourceUrl(1)), timings);
        controller.present();
        QVERIFY(QTest::qWaitForWindowExposed(controller.window()));
        controller.window()->move(200, 100);
        const GeoRect first = controller.frame();
        controller.window()->move(300, 100);
        controller.window()->move(400, 100);
        QFile log(m_folder.filePath(QStringLiteral("grab.log")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QList<QByteArray> moves = log.readAll().split('\n');
        moves.removeIf([](const QByteArray &line) { return !line.contains("windowDidMove"); });
        QCOMPARE(moves.size(), 1);
        QVERIFY(moves.first().endsWith("windowDidMove -> " + first.toText().toUtf8()));
        QCOMPARE(lastFrame(), controller.frame());
    }

    void fitOnLoadDiagnostic()
    {
        qputenv("LUMIVANE_DEBUG", "1");
        qputenv("LUMIVANE_FIT_ON_LOAD", "1");
        PlayerWindowController &controller = controllerAt(startFrame);
        qunsetenv("LUMIVANE_FIT_ON_LOAD");
        QCOMPARE(controller.frame(), startFrame);
        m_player->emitPresentationSize(m_player->currentItem(), QSizeF(400, 400));
        QCOMPARE(controller.frame(), (GeoRect{100, 54, 640, 666}));
        controller.move(WindowPosition::bottomLeft);
        m_player->emitPresentationSize(m_player->currentItem(), QSizeF(1600, 900));
        QCOMPARE(controller.frame(), (GeoRect{0, 0, 640, 666}));
    }
};

QTEST_MAIN(TestPlayerWindowController)
#include "itst_playerwindowcontroller.moc"

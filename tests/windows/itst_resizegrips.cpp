#include "windows/FloatingPanel.h"
#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"
#include "windows/ResizeGrip.h"

#include "FakeNativePlayer.h"
#include "WindowManagerProcess.h"

#include "settings/Preferences.h"
#include "platform/ScreenGeometry.h"
#include "playback/PlaybackSession.h"
#include "windows/WindowStateStore.h"

#include "KiteCore/MediaSource.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace {

using namespace std::chrono_literals;

const QUrl sourceUrl(QStringLiteral("file:///tmp/grips.mp4"));
// At Qt's (100, 134) on the 1280 x 720 screen: 640 x 360 content under the 26-point bar.
const GeoRect startFrame{100, 200, 640, 386};
const QRect startGeometry(100, 134, 640, 386);

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool pointerTo(const QPoint &point)
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                    QString::number(point.x()), QString::number(point.y())});
}

// A point inside the grip of these edges, in window coordinates.
QPoint gripPoint(Qt::Edges edges, const QSize &size)
{
    const int inset = FloatingPanel::gripBand / 2;
    const int x = edges.testFlag(Qt::LeftEdge)    ? inset
        : edges.testFlag(Qt::RightEdge)           ? size.width() - 1 - inset
                                                  : size.width() / 2;
    const int y = edges.testFlag(Qt::TopEdge)     ? inset
        : edges.testFlag(Qt::BottomEdge)          ? size.height() - 1 - inset
                                                  : size.height() / 2;
    return {x, y};
}

// Where the pulled edges are while the button is still down: under the pointer, unless that
// would make the window smaller than its minimum.
QRect whileHeld(QRect geometry, Qt::Edges edges, const QPoint &pull)
{
    if (edges.testFlag(Qt::LeftEdge))
        geometry.setLeft(std::min(geometry.left() + pull.x(), geometry.right() + 1 - 320));
    if (edges.testFlag(Qt::RightEdge))
        geometry.setRight(std::max(geometry.right() + pull.x(), geometry.left() + 319));
    if (edges.testFlag(Qt::TopEdge))
        geometry.setTop(std::min(geometry.top() + pull.y(), geometry.bottom() + 1 - 220));
    if (edges.testFlag(Qt::BottomEdge))
        geometry.setBottom(std::max(geometry.bottom() + pull.y(), geometry.top() + 219));
    return geometry;
}

} // namespace

char *toString(const GeoRect &rect)
{
    return QTest::toString(rect.toText());
}

char *toString(const std::optional<GeoRect> &rect)
{
    return QTest::toString(rect ? rect->toText() : QStringLiteral("none"));
}

// The edges and corners of the frameless player window resize it, through the window
// manager when one runs and by following the pointer when none does; the window's
// minimum and aspect lock hold, and the end of the resize is remembered like any other.
class TestResizeGrips : public QObject
{
    Q_OBJECT

private:
    WindowManagerProcess m_manager;
    QTemporaryDir m_folder;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<WindowPlacement> m_placement;
    std::unique_ptr<PlaybackSession> m_session;
    std::unique_ptr<PlayerWindowController> m_controller;

    PlayerWindowController &presented(bool locked)
    {
        WindowStateStore::save(*m_settings,
                               StoredWindowState(startFrame.toText(), 1.0, false, 0.5, locked),
                               sourceUrl);
        PlaybackSession::Dependencies dependencies{
            *m_preferences, *m_settings, [] { return std::make_unique<FakeNativePlayer>(); }, {}, {}};
        m_session = std::make_unique<PlaybackSession>(
            MediaSource(sourceUrl, MediaKind::localFile, QStringLiteral("Clip"), QString()),
            std::nullopt, dependencies);
        PlayerWindowController::Timings timings;
        timings.persistDebounce = 20ms;
        timings.snapDelay = 20ms;
        timings.liveResizeSettle = 40ms;
        m_controller = std::make_unique<PlayerWindowController>(
            *m_session, *m_settings, *m_preferences, *m_placement,
            [](PlayerWindowController &) { return new QWidget(); }, timings);
        m_controller->present();
        return *m_controller;
    }

    std::optional<GeoRect> storedFrame() const
    {
        const std::optional<StoredWindowState> state = WindowStateStore::load(*m_settings, sourceUrl);
        return state ? GeoRect::fromText(state->frame()) : std::nullopt;
    }

    std::optional<GeoRect> lastFrame() const
    {
        return GeoRect::fromText(m_settings->value(QStringLiteral("window.lastFrame")).toString());
    }

    void useManager(bool on)
    {
        if (on)
            QVERIFY(m_manager.start());
        else
            m_manager.stop();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    void init()
    {
        QFile::remove(m_folder.filePath(QStringLiteral("settings.conf")));
        m_settings = std::make_unique<QSettings>(m_folder.filePath(QStringLiteral("settings.conf")),
                                                 QSettings::IniFormat);
        m_preferences = std::make_unique<Preferences>(*m_settings);
        m_placement = std::make_unique<WindowPlacement>();
    }

    void cleanup()
    {
        // A failed case must not leave the button held for the next one.
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        m_controller.reset();
        m_session.reset();
        m_preferences.reset();
        m_settings.reset();
    }

    void cleanupTestCase() { m_manager.stop(); }

    // Hovering an edge or corner shows the resize cursor of that direction; the inside of
    // the window belongs to the content.
    void cursors_data()
    {
        QTest::addColumn<int>("edges");
        QTest::addColumn<int>("shape");
        QTest::newRow("left") << int(Qt::LeftEdge) << int(Qt::SizeHorCursor);
        QTest::newRow("right") << int(Qt::RightEdge) << int(Qt::SizeHorCursor);
        QTest::newRow("top") << int(Qt::TopEdge) << int(Qt::SizeVerCursor);
        QTest::newRow("bottom") << int(Qt::BottomEdge) << int(Qt::SizeVerCursor);
        QTest::newRow("top left") << int(Qt::TopEdge | Qt::LeftEdge) << int(Qt::SizeFDiagCursor);
        QTest::newRow("bottom right") << int(Qt::BottomEdge | Qt::RightEdge)
                                      << int(Qt::SizeFDiagCursor);
        QTest::newRow("top right") << int(Qt::TopEdge | Qt::RightEdge) << int(Qt::SizeBDiagCursor);
        QTest::newRow("bottom left") << int(Qt::BottomEdge | Qt::LeftEdge)
                                     << int(Qt::SizeBDiagCursor);
    }

    void cursors()
    {
        QFETCH(int, edges);
        QFETCH(int, shape);
        useManager(false);
        PlayerWindowController &controller = presented(false);
        QWidget *window = controller.window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QPoint point = gripPoint(Qt::Edges(edges), window->size());
        QVERIFY(pointerTo(window->mapToGlobal(QPoint(window->width() / 2, window->height() / 2))));
        QVERIFY(pointerTo(window->mapToGlobal(point)));
        QTRY_COMPARE_WITH_TIMEOUT(int(window->windowHandle()->cursor().shape()), shape, 2000);
        auto *grip = qobject_cast<ResizeGrip *>(window->childAt(point));
        QVERIFY(grip != nullptr);
        QCOMPARE(int(grip->edges()), edges);
        // Just inside the band the content is under the pointer again.
        const QPoint inward = QPoint(window->width() / 2, window->height() / 2)
            + (point - QPoint(window->width() / 2, window->height() / 2)) * 9 / 10;
        QVERIFY(qobject_cast<ResizeGrip *>(window->childAt(inward)) == nullptr);
        QVERIFY(window->childAt(inward) != nullptr);

        // A full-screen window has no grips.
        controller.enterCinema();
        QVERIFY(qobject_cast<ResizeGrip *>(window->childAt(gripPoint(Qt::Edges(edges), window->size())))
                == nullptr);
        controller.exitCinema();
        QVERIFY(qobject_cast<ResizeGrip *>(window->childAt(point)) != nullptr);
    }

    void gripDrag_data()
    {
        QTest::addColumn<bool>("withManager");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("dragMode");
        QTest::addColumn<bool>("snap");
        QTest::addColumn<int>("edges");
        QTest::addColumn<QPoint>("pull");
        QTest::addColumn<QRect>("expected");
        const int left = Qt::LeftEdge;
        const int right = Qt::RightEdge;
        const int top = Qt::TopEdge;
        const int bottom = Qt::BottomEdge;
        for (const bool manager : {false, true}) {
            const QString suffix = manager ? QStringLiteral(" (openbox)") : QStringLiteral(" (no manager)");
            const auto row = [&suffix, manager](const char *name, bool locked, bool dragMode,
                                                int edges, QPoint pull, QRect expected,
                                                bool snap = false) {
                QTest::newRow(qPrintable(QLatin1String(name) + suffix))
                    << manager << locked << dragMode << snap << edges << pull << expected;
            };
            row("right wider", false, false, right, {100, 0}, {100, 134, 740, 386});
            row("bottom taller", false, false, bottom, {0, 60}, {100, 134, 640, 446});
            row("bottom right corner", false, false, bottom | right, {100, 60},
                {100, 134, 740, 446});
            row("left keeps the right edge", false, false, left, {-100, 0}, {0, 134, 740, 386});
            // Under openbox on Xvfb a corner pulled up and left stopped short of the pointer.
            if (!manager)
                row("top left corner", false, false, top | left, {-50, -40}, {50, 94, 690, 426});
            row("not narrower than 320", false, false, right, {-500, 0}, {100, 134, 320, 386});
            row("not lower than 220", false, false, bottom, {0, -300}, {100, 134, 640, 220});
            row("grips work in drag mode", false, true, right, {100, 0}, {100, 134, 740, 386});
            // Locked to 16:9 content: width / (height - 26) stays 640 / 360.
            row("locked, wider", true, false, right, {160, 0}, {100, 134, 800, 476});
            row("locked, taller", true, false, bottom, {0, 90}, {100, 134, 800, 476});
            row("locked, left keeps the right edge", true, false, left, {-60, 0},
                {40, 134, 700, 420});
            row("locked, at the minimum", true, false, right, {-500, 0}, {100, 134, 345, 220});
            // 446 high: the top is 3 points from centring the window, which the snap does.
            row("snaps at the end", false, false, bottom, {0, 60}, {100, 137, 640, 446}, true);
        }
    }

    void gripDrag()
    {
        QFETCH(bool, withManager);
        QFETCH(bool, locked);
        QFETCH(bool, dragMode);
        QFETCH(bool, snap);
        QFETCH(int, edges);
        QFETCH(QPoint, pull);
        QFETCH(QRect, expected);
        useManager(withManager);
        m_preferences->setSnapToEdges(snap);
        PlayerWindowController &controller = presented(locked);
        controller.session().setGrabMode(dragMode);
        QWidget *window = controller.window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE_WITH_TIMEOUT(window->geometry(), startGeometry, 5000);
        const QPoint press = window->mapToGlobal(gripPoint(Qt::Edges(edges), window->size()));

        QVERIFY(pointerTo(press));
        QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
        QTRY_VERIFY_WITH_TIMEOUT(QGuiApplication::mouseButtons() & Qt::LeftButton, 2000);
        for (int step = 1; step <= 4; ++step) {
            QVERIFY(pointerTo(press + pull * step / 4));
            QCoreApplication::processEvents();
        }
        // A window manager takes the resize over a little later and follows only the motion
        // it sees from then on: nudge the pointer until the edges are under it.
        const QRect held = whileHeld(startGeometry, Qt::Edges(edges), pull);
        const bool followed = QTest::qWaitFor(
            [&] {
                pointerTo(press + pull + QPoint(1, 1));
                pointerTo(press + pull);
                return QTest::qWaitFor([&] { return window->geometry() == held; }, 200);
            },
            5000);
        QVERIFY2(followed, QTest::toString(window->geometry()));
        QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));

        QTRY_COMPARE_WITH_TIMEOUT(window->geometry(), expected, 5000);
        // Ended like a live resize: the frame is written down globally and for the source.
        const std::optional<GeoRect> frame = ScreenGeometry::fromQt(expected);
        QTRY_COMPARE_WITH_TIMEOUT(lastFrame(), frame, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(storedFrame(), frame, 5000);
        QCOMPARE(window->geometry(), expected);
        QCOMPARE(controller.session().grabMode(), dragMode);
    }
};

QTEST_MAIN(TestResizeGrips)
#include "itst_resizegrips.moc"

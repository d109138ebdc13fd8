#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include "FakeNativePlayer.h"
#include "WindowManagerProcess.h"
#include "X11Probe.h"

#include "settings/Preferences.h"
#include "platform/ScreenGeometry.h"
#include "platform/X11Window.h"
#include "playback/PlaybackSession.h"
#include "windows/WindowStateStore.h"

#include "KiteCore/MediaSource.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

using namespace std::chrono_literals;

const QUrl sourceUrl(QStringLiteral("file:///tmp/stacking.mp4"));
const GeoRect startFrame{100, 200, 640, 386};

// Position of a window in the manager's stacking order, bottom first; -1 when unmanaged.
qsizetype stackingIndex(const QWidget &window)
{
    return X11Probe::clientStacking().indexOf(window.winId());
}

} // namespace

// What only a running window manager shows: stacking, desktops, iconifying and moves that
// the manager makes.
class TestPlayerWindowStacking : public QObject
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

    PlayerWindowController &presented(bool pinned)
    {
        WindowStateStore::save(*m_settings,
                               StoredWindowState(startFrame.toText(), 1.0, pinned, 0.5, false),
                               sourceUrl);
        PlaybackSession::Dependencies dependencies{
            *m_preferences, *m_settings, [] { return std::make_unique<FakeNativePlayer>(); },
            {}, {}};
        m_session = std::make_unique<PlaybackSession>(
            MediaSource(sourceUrl, MediaKind::localFile, QStringLiteral("Clip"), QString()),
            std::nullopt, dependencies);
        PlayerWindowController::Timings timings;
        timings.persistDebounce = 20ms;
        timings.snapDelay = 20ms;
        m_controller = std::make_unique<PlayerWindowController>(
            *m_session, *m_settings, *m_preferences, *m_placement,
            [](PlayerWindowController &) { return new QWidget(); }, timings);
        m_controller->present();
        return *m_controller;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QVERIFY(m_manager.start());
    }

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
        m_controller.reset();
        m_session.reset();
        m_preferences.reset();
        m_settings.reset();
    }

    void cleanupTestCase() { m_manager.stop(); }

    // A pinned window carries ABOVE and stays over a window raised after it; unpinned, the
    // newly raised window covers it.
    void pinnedStaysAbove()
    {
        PlayerWindowController &controller = presented(true);
        QWidget &window = *controller.window();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(window) >= 0, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(window.winId()), 5000);

        QWidget other;
        other.setGeometry(ScreenGeometry::toQt(startFrame).adjusted(-20, -20, 20, 20));
        other.show();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(other) >= 0, 5000);
        other.raise();
        other.activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(other.isActiveWindow(), 5000);
        QVERIFY(stackingIndex(window) > stackingIndex(other));

        const WId id = window.winId();
        controller.session().setPinned(false);
        QTRY_VERIFY_WITH_TIMEOUT(!X11Window::hasStateAbove(id), 5000);
        QCOMPARE(window.winId(), id);
        other.raise();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(window) < stackingIndex(other), 5000);
        QVERIFY(X11Probe::isViewable(id));
    }

    void onEveryDesktop()
    {
        PlayerWindowController &controller = presented(false);
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(*controller.window()) >= 0, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(X11Window::desktop(controller.window()->winId()),
                                  std::optional<quint32>(0xFFFFFFFFu), 5000);
    }

    // Cinema covers the whole screen above everything and comes back to the old frame.
    void cinemaUnderManager()
    {
        PlayerWindowController &controller = presented(false);
        QWidget &window = *controller.window();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(window) >= 0, 5000);
        controller.enterCinema();
        QTRY_COMPARE_WITH_TIMEOUT(window.geometry(), QRect(0, 0, 1280, 720), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(X11Window::hasStateAbove(window.winId()), 5000);
        controller.exitCinema();
        QTRY_COMPARE_WITH_TIMEOUT(controller.frame(), startFrame, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!X11Window::hasStateAbove(window.winId()), 5000);
    }

    void minimiseAndPresent()
    {
        PlayerWindowController &controller = presented(false);
        const WId id = controller.window()->winId();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(*controller.window()) >= 0, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(X11Probe::isViewable(id), 5000);
        // The manager ignores a minimise request for a window it is still taking over;
        // once it has given the window focus it is done with it.
        QTRY_VERIFY_WITH_TIMEOUT(controller.window()->isActiveWindow(), 5000);
        controller.minimise();
        QVERIFY(controller.session().isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!X11Probe::isViewable(id), 5000);
        controller.present();
        QTRY_VERIFY_WITH_TIMEOUT(X11Probe::isViewable(id), 5000);
        QVERIFY(!controller.session().isHidden());
    }

    // With the aspect locked, a size the manager sets is brought back to the content's
    // aspect; without a lock it stays.
    void managerResizeKeepsAspect_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("locked") << true << QSize(800, 476);
        QTest::newRow("unlocked") << false << QSize(800, 386);
    }

    void managerResizeKeepsAspect()
    {
        QFETCH(bool, locked);
        QFETCH(QSize, expected);
        PlayerWindowController &controller = presented(false);
        controller.session().setLockAspect(locked);
        QWidget &window = *controller.window();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(window) >= 0, 5000);
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                                   {QStringLiteral("windowsize"), QString::number(window.winId()),
                                    QStringLiteral("800"), QStringLiteral("386")}),
                 0);
        QTRY_COMPARE_WITH_TIMEOUT(window.size(), expected, 5000);
    }

    // A move made through the manager is remembered and snapped like a drag.
    void moveByManagerSnaps()
    {
        PlayerWindowController &controller = presented(false);
        QWidget &window = *controller.window();
        QTRY_VERIFY_WITH_TIMEOUT(stackingIndex(window) >= 0, 5000);
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                                   {QStringLiteral("windowmove"), QString::number(window.winId()),
                                    QStringLiteral("9"), QStringLiteral("40")}),
                 0);
        // Qt y 40 is y 294 here: no edge within 16, so only x snaps.
        QTRY_COMPARE_WITH_TIMEOUT(controller.frame(), (GeoRect{0, 294, 640, 386}), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(
            GeoRect::fromText(m_settings->value(QStringLiteral("window.lastFrame")).toString()),
            std::optional<GeoRect>(GeoRect{9, 294, 640, 386}), 5000);
    }
};

QTEST_MAIN(TestPlayerWindowStacking)
#include "itst_playerwindowstacking.moc"

#include "windows/PlayerWindowController.h"

#include "platform/DebugLog.h"
#include "windows/FloatingPanel.h"
#include "windows/WindowPlacement.h"
#include "windows/WindowStateStore.h"
#include "settings/Preferences.h"
#include "platform/ScreenGeometry.h"
#include "platform/X11Window.h"
#include "playback/PlaybackSession.h"

#include "KiteCore/MediaKind.h"
#include "KiteCore/WindowGeometry.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSettings>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

const QString lastFrameKey = QStringLiteral("window.lastFrame");
constexpr double defaultAspect = 16.0 / 9.0;
constexpr double smallestWidth = 360;
constexpr double recoveredOpacity = 0.7;
constexpr double seekStep = 10;

bool largeEnough(const GeoRect &frame)
{
    return frame.width >= PlayerWindowController::minimumSize.width
        && frame.height >= PlayerWindowController::minimumSize.height;
}

// Window alpha for a session opacity: never below the floor, so a window stays findable.
double alphaFor(double opacity)
{
    if (!std::isfinite(opacity))
        return 1.0;
    return std::clamp(opacity, PlayerWindowController::smallestAlpha, 1.0);
}

} // namespace

PlayerWindowController::PlayerWindowController(PlaybackSession &session, QSettings &settings,
                                               Preferences &preferences, WindowPlacement &placement,
                                               const ContentFactory &content, Timings timings,
                                               QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_settings(settings)
    , m_preferences(preferences)
    , m_placement(placement)
    , m_timings(timings)
    , m_window(new FloatingPanel())
{
    m_snapTimer.setSingleShot(true);
    m_snapTimer.setInterval(m_timings.snapDelay);
    connect(&m_snapTimer, &QTimer::timeout, this, &PlayerWindowController::applySnap);
    m_persistTimer.setSingleShot(true);
    m_persistTimer.setInterval(m_timings.persistDebounce);
    connect(&m_persistTimer, &QTimer::timeout, this, &PlayerWindowController::persistWindowState);
    m_liveResizeTimer.setSingleShot(true);
    m_liveResizeTimer.setInterval(m_timings.liveResizeSettle);
    connect(&m_liveResizeTimer, &QTimer::timeout, this,
            &PlayerWindowController::liveResizeSettled);
    connectWindow();

    const double width = defaultWidth();
    m_window->resize(QSize(int(std::lround(width)),
                           int(std::lround(width / defaultAspect + titleBarHeight))));

    const std::optional<StoredWindowState> stored =
        WindowStateStore::load(m_settings, m_session.source().url());
    applyStoredState(stored);
    configurePanel();
    place(stored);

    QPointer<PlayerWindowController> self(this);
    m_window->setKeyHandler(
        [self](const QKeyEvent &event) { return self && self->handleKeyEvent(event); });
    if (content) {
        if (QWidget *widget = content(*this))
            m_window->setContent(widget);
    }
    observeSession();
    const QString version = QCoreApplication::applicationVersion();
    DebugLog::grab(QStringLiteral("window init version=%1 build=%1").arg(version));
    applyDiagnostics();
}

PlayerWindowController::~PlayerWindowController()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_subscriptions))
        disconnect(connection);
    if (m_window) {
        m_window->disconnect(this);
        m_window->setKeyHandler({});
        m_window->hide();
        // Later: the owner may drop the controller from inside the window's close handler.
        m_window->deleteLater();
    }
}

QWidget *PlayerWindowController::window() const
{
    return m_window;
}

GeoRect PlayerWindowController::frame() const
{
    return m_window ? ScreenGeometry::fromQt(m_window->geometry()) : GeoRect{};
}

void PlayerWindowController::setOnClose(std::function<void()> onClose)
{
    m_onClose = std::move(onClose);
}

// Construction steps

void PlayerWindowController::applyStoredState(const std::optional<StoredWindowState> &stored)
{
    if (!stored)
        return;
    m_session.setOpacity(stored->opacity());
    m_session.setPinned(stored->pinned());
    m_session.setVolume(stored->volume());
    m_session.setLockAspect(stored->lockAspect());
    m_session.restoreTrackChoice(TrackChoice::fromText(stored->tracks()));
}

void PlayerWindowController::configurePanel()
{
    m_window->setWindowTitle(m_session.title());
    m_window->setMinimumSize(int(minimumSize.width), int(minimumSize.height));
    X11Window::setOnAllDesktops(*m_window);
    if (QScreen *screen = ScreenGeometry::mainScreen()) {
        QRect centred = m_window->geometry();
        centred.moveCenter(screen->availableGeometry().center());
        m_window->move(centred.topLeft());
    }
}

void PlayerWindowController::place(const std::optional<StoredWindowState> &stored)
{
    std::optional<GeoRect> candidate;
    if (stored) {
        candidate = GeoRect::fromText(stored->frame());
    } else if (m_placement.takeGlobalFallback()) {
        candidate = GeoRect::fromText(m_settings.value(lastFrameKey).toString());
    }
    QScreen *screen = nullptr;
    if (candidate && largeEnough(*candidate)) {
        screen = ScreenGeometry::screenShowing(*candidate);
        if (screen == nullptr)
            screen = ScreenGeometry::mainScreen();
    }
    if (screen == nullptr) {
        placeByCascade();
        return;
    }
    setFrame(WindowGeometry::clamp(*candidate, ScreenGeometry::visibleFrame(*screen), minimumSize));
}

void PlayerWindowController::placeByCascade()
{
    QScreen *screen = ScreenGeometry::mainScreen();
    if (screen == nullptr)
        return;
    const GeoRect visible = ScreenGeometry::visibleFrame(*screen);
    const double width = defaultWidth();
    const GeoRect fitted = WindowGeometry::fit(defaultAspect, width, visible);
    // The window cannot be smaller than its minimum; centre what it will really be.
    const double w = std::max(fitted.width, minimumSize.width);
    const double h = std::max(fitted.height, minimumSize.height);
    const double offset = m_placement.nextCascadeOffset();
    setFrame({visible.midX() - w * 0.5 + offset, visible.midY() - h * 0.5 - offset, w, h});
}

void PlayerWindowController::observeSession()
{
    PlaybackSession *session = &m_session;
    m_subscriptions = {
        connect(session, &PlaybackSession::isPinnedChanged, this, &PlayerWindowController::applyPinned),
        connect(session, &PlaybackSession::opacityChanged, this, &PlayerWindowController::applyOpacity),
        connect(session, &PlaybackSession::clickThroughChanged, this,
                &PlayerWindowController::applyClickThrough),
        connect(session, &PlaybackSession::titleChanged, this, &PlayerWindowController::applyTitle),
        connect(session, &PlaybackSession::lockAspectChanged, this,
                &PlayerWindowController::applyLockAspect),
        connect(session, &PlaybackSession::grabModeChanged, this,
                &PlayerWindowController::applyGrabMode),
        connect(session, &PlaybackSession::isCinemaChanged, this,
                &PlayerWindowController::applyCinemaGrips),
    };
    for (auto signal : {&PlaybackSession::opacityChanged, &PlaybackSession::volumeChanged}) {
        m_subscriptions.append(
            connect(session, signal, this, &PlayerWindowController::schedulePersist));
    }
    for (auto signal : {&PlaybackSession::isPinnedChanged, &PlaybackSession::lockAspectChanged}) {
        m_subscriptions.append(
            connect(session, signal, this, &PlayerWindowController::schedulePersist));
    }
    m_subscriptions.append(connect(session, &PlaybackSession::trackChoiceChanged, this,
                                   &PlayerWindowController::schedulePersist));
    // Every observation starts with the current value.
    applyPinned();
    applyOpacity();
    applyClickThrough();
    applyTitle();
    applyLockAspect();
    applyGrabMode();
    applyCinemaGrips();
    schedulePersist();
}

void PlayerWindowController::applyDiagnostics()
{
    if (!DebugLog::enabled())
        return;
    if (qgetenv("LUMIVANE_FIT_ON_LOAD") == "1") {
        m_subscriptions.append(connect(&m_session, &PlaybackSession::contentAspectChanged, this,
                                       &PlayerWindowController::fitOnLoad));
        fitOnLoad(m_session.contentAspect());
    }
    const QString corner = qEnvironmentVariable("LUMIVANE_MOVE_TO_CORNER");
    if (const std::optional<WindowPosition> position = windowPositionFromRaw(corner)) {
        QTimer::singleShot(m_timings.moveToCornerDelay, this,
                           [this, position] { move(*position); });
    }
    if (!qEnvironmentVariableIsSet("LUMIVANE_GRAB"))
        return;
    const QString grab = qEnvironmentVariable("LUMIVANE_GRAB");
    DebugLog::grab(QStringLiteral("startup grab=") + grab);
    if (grab == QLatin1String("on") || grab == QLatin1String("toggle"))
        m_session.setGrabMode(true);
    if (grab == QLatin1String("toggle")) {
        QTimer::singleShot(m_timings.grabToggleDelay, this, [this] {
            m_session.setGrabMode(false);
            DebugLog::grab(QStringLiteral("debug toggle -> grabMode=false"));
        });
    }
}

void PlayerWindowController::fitOnLoad(const std::optional<double> &aspect)
{
    if (m_fittedOnLoad || !aspect)
        return;
    m_fittedOnLoad = true;
    fitToContent(*aspect);
}

// Observations

void PlayerWindowController::applyPinned()
{
    setOnTop(m_session.isPinned() || m_session.isCinema());
}

void PlayerWindowController::setOnTop(bool onTop)
{
    m_onTop = onTop;
    if (m_window)
        X11Window::setStaysOnTop(*m_window, onTop);
}

void PlayerWindowController::applyOpacity()
{
    if (m_window)
        m_window->setWindowOpacity(alphaFor(m_session.opacity()));
}

void PlayerWindowController::applyClickThrough()
{
    if (m_window)
        X11Window::setClickThrough(*m_window, m_session.clickThrough());
}

void PlayerWindowController::applyTitle()
{
    if (m_window)
        m_window->setWindowTitle(m_session.title());
}

void PlayerWindowController::applyLockAspect()
{
    if (!m_session.lockAspect()) {
        m_contentAspect.reset();
        return;
    }
    const GeoRect current = frame();
    m_contentAspect = current.width / std::max(current.height - titleBarHeight, 1.0);
}

void PlayerWindowController::applyGrabMode()
{
    if (m_window)
        m_window->setDragAnywhere(m_session.grabMode());
}

void PlayerWindowController::applyCinemaGrips()
{
    // A full-screen window has no edges to pull.
    if (m_window)
        m_window->setResizable(!m_session.isCinema());
}

void PlayerWindowController::schedulePersist()
{
    m_persistTimer.start();
}

void PlayerWindowController::persistWindowState()
{
    if (!m_window || m_session.isCinema())
        return;
    const StoredWindowState state(frame().toText(), m_session.opacity(), m_session.isPinned(),
                                  m_session.volume(), m_session.lockAspect(),
                                  m_session.trackChoice().toText());
    WindowStateStore::save(m_settings, state, m_session.source().url());
}

void PlayerWindowController::writeLastFrame()
{
    m_settings.setValue(lastFrameKey, frame().toText());
}

// Operations

void PlayerWindowController::present()
{
    m_session.setHidden(false);
    if (!m_window)
        return;
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    // Shown now: a manager drops these states when a window is withdrawn, and reads the
    // desktop property only when it maps one.
    X11Window::setOnAllDesktops(*m_window);
    X11Window::setStaysOnTop(*m_window, m_onTop);
    m_window->raise();
    m_window->activateWindow();
    m_window->setFocus(Qt::ActiveWindowFocusReason);
}

void PlayerWindowController::recover()
{
    m_session.setClickThrough(false);
    const double opacity = m_session.opacity();
    m_session.setOpacity(std::isfinite(opacity) ? std::max(opacity, recoveredOpacity)
                                                : recoveredOpacity);
    if (QScreen *screen = currentScreen())
        setFrame(WindowGeometry::clamp(frame(), ScreenGeometry::visibleFrame(*screen), minimumSize));
    present();
}

void PlayerWindowController::resize(double width, double ratio)
{
    QScreen *screen = currentScreen();
    if (screen == nullptr || !std::isfinite(width) || !std::isfinite(ratio))
        return;
    const GeoRect old = frame();
    const double height = width / std::max(ratio, 0.2) + titleBarHeight;
    const GeoRect target{old.x, old.y + (old.height - height), width, height};
    if (m_session.lockAspect())
        m_contentAspect = std::max(ratio, 0.2);
    else
        m_contentAspect.reset();
    setFrame(WindowGeometry::clamp(target, ScreenGeometry::visibleFrame(*screen), minimumSize));
    writeLastFrame();
    persistWindowState();
}

void PlayerWindowController::scale(double factor)
{
    QScreen *screen = currentScreen();
    if (screen == nullptr)
        return;
    const GeoRect current = frame();
    const GeoRect target = WindowGeometry::scaled(current, factor, titleBarHeight,
                                                  ScreenGeometry::visibleFrame(*screen),
                                                  minimumSize, anchorThreshold);
    changeFrame(target);
}

void PlayerWindowController::fitToContent(double aspect)
{
    QScreen *screen = currentScreen();
    if (screen == nullptr)
        return;
    const GeoRect visible = ScreenGeometry::visibleFrame(*screen);
    const GeoRect current = frame();
    const GeoSize size = WindowGeometry::fittedSize(aspect, current.width, titleBarHeight,
                                                    minimumSize, visible);
    const GeoRect anchored = WindowGeometry::anchoredResize(current, size, visible, anchorThreshold);
    changeFrame(WindowGeometry::clamp(anchored, visible, minimumSize));
}

void PlayerWindowController::move(WindowPosition position)
{
    QScreen *screen = currentScreen();
    if (screen == nullptr)
        return;
    setFrame(WindowGeometry::anchored(frame(), position, ScreenGeometry::visibleFrame(*screen), 0));
    writeLastFrame();
    persistWindowState();
}

void PlayerWindowController::enterCinema()
{
    QScreen *screen = currentScreen();
    // Entering twice would remember the cinema frame as the one to go back to.
    if (screen == nullptr || m_session.isCinema())
        return;
    m_savedFrameBeforeCinema = frame();
    m_savedOnTopBeforeCinema = m_onTop;
    m_session.setCinema(true);
    setOnTop(true);
    setFrame(ScreenGeometry::screenFrame(*screen));
    writeLastFrame();
}

void PlayerWindowController::exitCinema()
{
    m_session.setCinema(false);
    if (m_savedOnTopBeforeCinema)
        setOnTop(*m_savedOnTopBeforeCinema);
    if (m_window && m_savedFrameBeforeCinema) {
        setFrame(*m_savedFrameBeforeCinema);
        writeLastFrame();
    }
    m_savedFrameBeforeCinema.reset();
    m_savedOnTopBeforeCinema.reset();
    // Through the session, so the pin observation sets the stacking and the state is saved.
    m_session.setPinned(m_session.isPinned());
}

void PlayerWindowController::toggleCinema()
{
    if (m_session.isCinema())
        exitCinema();
    else
        enterCinema();
}

void PlayerWindowController::minimise()
{
    if (m_window)
        m_window->showMinimized();
}

void PlayerWindowController::close()
{
    if (!m_window)
        return;
    if (m_window->isVisible())
        m_window->close();
    else
        windowWillClose();
}

bool PlayerWindowController::beginWindowDrag()
{
    return m_window && m_window->startDrag();
}

bool PlayerWindowController::handleKeyEvent(const QKeyEvent &event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    constexpr Qt::KeyboardModifiers blocking =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (event.modifiers() & blocking)
        return false;
    if (event.key() == Qt::Key_Escape && m_session.isCinema()) {
        exitCinema();
        return true;
    }
    if (m_session.source().kind() == MediaKind::web)
        return false;
    switch (event.key()) {
    case Qt::Key_F:
        toggleCinema();
        return true;
    case Qt::Key_Space:
        m_session.togglePlayback();
        return true;
    case Qt::Key_Left:
        m_session.seek(m_session.elapsed() - seekStep);
        return true;
    case Qt::Key_Right:
        m_session.seek(m_session.elapsed() + seekStep);
        return true;
    default:
        return false;
    }
}

// Window events

void PlayerWindowController::connectWindow()
{
    connect(m_window, &FloatingPanel::moved, this, &PlayerWindowController::windowDidMove);
    connect(m_window, &FloatingPanel::resized, this, &PlayerWindowController::windowDidResize);
    connect(m_window, &FloatingPanel::liveResizeStarted, this,
            &PlayerWindowController::beginGripResize);
    // The window system may still report the last sizes asked for; end once they are in.
    connect(m_window, &FloatingPanel::liveResizeEnded, &m_liveResizeTimer,
            qOverload<>(&QTimer::start));
    connect(m_window, &FloatingPanel::minimizedChanged, this,
            [this](bool minimized) { m_session.setHidden(minimized); });
    connect(m_window, &FloatingPanel::aboutToClose, this, &PlayerWindowController::windowWillClose);
}

void PlayerWindowController::windowDidMove()
{
    if (m_adjustingFrame || isOwnGeometry())
        return;
    if (!m_lastMoveLog.isValid() || m_lastMoveLog.elapsed() > m_timings.moveLogInterval.count()) {
        DebugLog::grab(QStringLiteral("windowDidMove -> ") + frame().toText());
        m_lastMoveLog.start();
    }
    writeLastFrame();
    persistWindowState();
    m_snapTimer.start();
}

void PlayerWindowController::windowDidResize(const QSize &oldSize)
{
    if (m_adjustingFrame || isOwnGeometry())
        return;
    if (!m_gripEdges)
        keepAspect(oldSize, {});
    m_liveResizeTimer.start();
}

void PlayerWindowController::beginGripResize(Qt::Edges edges)
{
    if (!m_window)
        return;
    m_gripEdges = edges;
    m_gripStartSize = m_window->size();
}

void PlayerWindowController::liveResizeSettled()
{
    // A grip resize the panel follows itself ends with the release, not with a pause.
    if (m_window && m_window->isResizing())
        return;
    // Nor does one the window manager does: the user may hold still before pulling on.
    if (m_gripEdges && X11Window::leftButtonHeld()) {
        m_liveResizeTimer.start();
        return;
    }
    windowDidEndLiveResize();
}

void PlayerWindowController::windowDidEndLiveResize()
{
    if (m_gripEdges) {
        keepAspect(m_gripStartSize, m_gripEdges);
        m_gripEdges = {};
    }
    applySnap();
    writeLastFrame();
    persistWindowState();
}

void PlayerWindowController::keepAspect(const QSize &oldSize, Qt::Edges pulled)
{
    if (!m_contentAspect || !m_window)
        return;
    const GeoRect current = frame();
    const GeoSize old{double(oldSize.width()), double(oldSize.height())};
    const GeoRect kept = WindowGeometry::keptAspect(current, old, pulled, *m_contentAspect,
                                                    titleBarHeight, minimumSize);
    if (kept != current)
        setFrame(kept);
}

void PlayerWindowController::windowWillClose()
{
    if (m_closed)
        return;
    m_closed = true;
    persistWindowState();
    m_session.reportProgress();
    m_session.stop();
    for (const QMetaObject::Connection &connection : std::as_const(m_subscriptions))
        disconnect(connection);
    m_subscriptions.clear();
    m_snapTimer.stop();
    m_persistTimer.stop();
    m_liveResizeTimer.stop();
    // The owner may delete this controller from onClose: call it from a local copy, last.
    const std::function<void()> onClose = std::move(m_onClose);
    if (onClose)
        onClose();
}

void PlayerWindowController::applySnap()
{
    if (m_adjustingFrame || !m_window || m_window->screen() == nullptr)
        return;
    if (!m_preferences.snapToEdges() || m_liveResizeTimer.isActive() || m_window->isResizing())
        return;
    m_adjustingFrame = true;
    const GeoRect current = frame();
    const GeoRect target = WindowGeometry::snap(
        current, ScreenGeometry::visibleFrame(*m_window->screen()), snapThreshold);
    if (target != current)
        setFrame(target);
    m_adjustingFrame = false;
}

// Helpers

double PlayerWindowController::defaultWidth() const
{
    const double preferred = m_preferences.defaultWidth();
    return std::isfinite(preferred) ? std::max(preferred, smallestWidth) : smallestWidth;
}

QScreen *PlayerWindowController::currentScreen() const
{
    if (!m_window)
        return nullptr;
    if (QScreen *screen = m_window->screen())
        return screen;
    return ScreenGeometry::mainScreen();
}

void PlayerWindowController::changeFrame(const GeoRect &target)
{
    if (ScreenGeometry::toQt(target) == m_window->geometry())
        return;
    setFrame(target);
    writeLastFrame();
    persistWindowState();
}

void PlayerWindowController::setFrame(const GeoRect &target)
{
    if (!m_window)
        return;
    m_ownGeometry = ScreenGeometry::toQt(target);
    m_window->setGeometry(m_ownGeometry);
    // The minimum size may have made it larger than asked.
    m_ownGeometry = m_window->geometry();
}

bool PlayerWindowController::isOwnGeometry() const
{
    return m_window && m_window->geometry() == m_ownGeometry;
}

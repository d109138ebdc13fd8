#pragma once

#include "windows/StoredWindowState.h"

#include "KiteCore/GeoRect.h"
#include "KiteCore/GeoSize.h"
#include "KiteCore/WindowPosition.h"

#include <QElapsedTimer>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

class FloatingPanel;
class PlaybackSession;
class Preferences;
class QKeyEvent;
class QScreen;
class QSettings;
class QWidget;
class WindowPlacement;

// Delays of the player window; tests shorten them.
struct PlayerWindowTimings {
    std::chrono::milliseconds persistDebounce{250};
    std::chrono::milliseconds snapDelay{180};
    std::chrono::milliseconds moveLogInterval{500};
    // A user resize counts as finished after this long without another resize.
    std::chrono::milliseconds liveResizeSettle{180};
    std::chrono::milliseconds moveToCornerDelay{800};
    std::chrono::milliseconds grabToggleDelay{2000};
};

// Puts one playback session into its own floating window: places the window, keeps its
// stacking, opacity, click-through, title and aspect in step with the session, offers the
// sizing operations of the player menu and the shortcuts, snaps it to screen edges after a
// move and remembers its frame and settings per source. Frames are in the bottom-left,
// y-up convention throughout.
class PlayerWindowController final : public QObject
{
    Q_OBJECT

public:
    // Builds the window's content; called once during construction.
    using ContentFactory = std::function<QWidget *(PlayerWindowController &)>;

    using Timings = PlayerWindowTimings;

    static constexpr GeoSize minimumSize{320, 220};
    static constexpr double titleBarHeight = 26;
    static constexpr double anchorThreshold = 24;
    static constexpr double snapThreshold = 16;
    static constexpr double smallestAlpha = 0.25;

    // The session, settings, preferences and placement must outlive the controller. The
    // window is built, placed and configured, but not shown.
    PlayerWindowController(PlaybackSession &session, QSettings &settings,
                           Preferences &preferences, WindowPlacement &placement,
                           const ContentFactory &content, Timings timings = {},
                           QObject *parent = nullptr);
    ~PlayerWindowController() override;

    PlaybackSession &session() const { return m_session; }
    QWidget *window() const;
    // The window's frame (origin bottom-left, y up).
    GeoRect frame() const;

    // Called once, when the window is about to close, after the session was stopped.
    void setOnClose(std::function<void()> onClose);

    // Shows, un-minimises, raises and focuses the window; the session is no longer hidden.
    void present();
    // Makes a lost window usable: click-through off, opacity at least 0.7, frame clamped
    // onto its screen; then present().
    void recover();
    // Preset sizes: height = width / max(ratio, 0.2) + title bar, top edge kept.
    void resize(double width, double ratio);
    void scale(double factor);
    void fitToContent(double aspect);
    void move(WindowPosition position);
    void enterCinema();
    void exitCinema();
    void toggleCinema();
    void minimise();
    void close();

    // For the content's drag areas: moves the window with the pressed left button.
    bool beginWindowDrag();

    // The window's key rule; true when the key was handled.
    bool handleKeyEvent(const QKeyEvent &event);

private:
    void connectWindow();
    void applyStoredState(const std::optional<StoredWindowState> &stored);
    void configurePanel();
    void place(const std::optional<StoredWindowState> &stored);
    void placeByCascade();
    void observeSession();
    void applyDiagnostics();
    void fitOnLoad(const std::optional<double> &aspect);

    void applyPinned();
    void setOnTop(bool onTop);
    void applyOpacity();
    void applyClickThrough();
    void applyTitle();
    void applyLockAspect();
    void applyGrabMode();
    void applyCinemaGrips();
    void schedulePersist();
    void persistWindowState();
    // "window.lastFrame" = the current frame.
    void writeLastFrame();

    void windowDidMove();
    void windowDidResize(const QSize &oldSize);
    void liveResizeSettled();
    void windowDidEndLiveResize();
    void windowWillClose();
    void applySnap();
    void beginGripResize(Qt::Edges edges);
    // Brings a user resize from oldSize back to the locked aspect; the pulled edges move,
    // the others stay.
    void keepAspect(const QSize &oldSize, Qt::Edges pulled);

    // The preferred default width, at least 360.
    double defaultWidth() const;
    // The screen the window is on, else the main screen.
    QScreen *currentScreen() const;
    // Sets the frame as the controller's own change: move and resize handlers skip it.
    void setFrame(const GeoRect &frame);
    // When the target differs from the frame: set it, write the last frame and the state.
    void changeFrame(const GeoRect &target);
    bool isOwnGeometry() const;

    PlaybackSession &m_session;
    QSettings &m_settings;
    Preferences &m_preferences;
    WindowPlacement &m_placement;
    Timings m_timings;
    QPointer<FloatingPanel> m_window;
    std::function<void()> m_onClose;
    QList<QMetaObject::Connection> m_subscriptions;
    bool m_adjustingFrame = false;
    // Whether the window is kept above others (pinned, or in cinema).
    bool m_onTop = false;
    bool m_closed = false;
    QRect m_ownGeometry;
    QTimer m_snapTimer;
    QTimer m_persistTimer;
    QTimer m_liveResizeTimer;
    std::optional<GeoRect> m_savedFrameBeforeCinema;
    std::optional<bool> m_savedOnTopBeforeCinema;
    // The edges of a grip resize in progress and the size it started from: the aspect is
    // kept once at its end rather than against every step the window system reports.
    Qt::Edges m_gripEdges;
    QSize m_gripStartSize;
    // Content width / content height kept on user resizes; absent when not locked.
    std::optional<double> m_contentAspect;
    QElapsedTimer m_lastMoveLog;
    bool m_fittedOnLoad = false;
};

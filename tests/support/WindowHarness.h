#pragma once

#include "FakeNativePlayer.h"
#include "FakeWebPage.h"
#include "TemporaryHome.h"
#include "playback/PlaybackSession.h"
#include "settings/Preferences.h"
#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include <QList>
#include <QPointer>
#include <QSettings>

#include <functional>
#include <memory>
#include <optional>

class PlayerView;
class QToolButton;

// One player window built the way the application builds it: a session, its controller and
// (on request) a PlayerView, over throw-away settings in a TemporaryHome. Players and web pages are fakes
// unless the options give factories; the newest of each is kept. Not shown until present().
class WindowHarness final
{
public:
    // Where the window starts: 640 x 360 content under the bar, at Qt's (100, 134).
    static constexpr GeoRect startFrame{100, 200, 640, 386};

    struct Options {
        MediaSource source = clip();
        // Stored for the source before the window opens: startFrame unless told otherwise.
        std::optional<GeoRect> frame = startFrame;
        bool pinned = false;
        bool lockAspect = false;
        PlayerWindowController::Timings timings = quickTimings();
        PlaybackSession::Timing sessionTiming = {};
        PlaybackSession::PlayerFactory players = {};
        PlaybackSession::WebPageFactory pages = {};
        // The application's PlayerView as content, else an empty widget.
        bool view = false;
        // Runs on the preferences before the window is built.
        std::function<void(Preferences &)> prepare = {};
    };

    static MediaSource clip(const QString &url = QStringLiteral("file:///tmp/clip.mp4"),
                            MediaKind kind = MediaKind::localFile);
    // Every delay of the window a few milliseconds long.
    static PlayerWindowController::Timings quickTimings();

    WindowHarness() : WindowHarness(Options{}) {}
    explicit WindowHarness(Options options);
    ~WindowHarness();
    WindowHarness(const WindowHarness &) = delete;
    WindowHarness &operator=(const WindowHarness &) = delete;

    // Shows the window and waits (bounded) until it is exposed.
    bool present();
    // Drops the controller as the application does once its window closed.
    void dropController() { m_controller.reset(); }

    PlayerWindowController &controller() const { return *m_controller; }
    PlaybackSession &session() const { return *m_session; }
    QWidget &window() const { return *m_controller->window(); }
    PlayerView *view() const { return m_view; }
    QSettings &settings() const { return *m_settings; }
    Preferences &preferences() const { return *m_preferences; }
    WindowPlacement &placement() { return m_placement; }
    const TemporaryHome &home() const { return m_home; }
    // The newest fake player or page; null for other factories or once deleted.
    FakeNativePlayer *player() const;
    FakeWebPage *page() const;
    int playersMade() const { return int(m_players.size()); }
    int pagesMade() const { return int(m_pages.size()); }
    // Times the controller's close callback ran.
    int closed() const { return m_closed; }

    // The view's tool button with this tool tip, or null.
    QToolButton *button(const QString &toolTip) const;
    // The frame stored for the source, and the global last frame.
    std::optional<GeoRect> storedFrame() const;
    std::optional<GeoRect> lastFrame() const;

private:
    TemporaryHome m_home;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<Preferences> m_preferences;
    WindowPlacement m_placement;
    QList<QPointer<FakeNativePlayer>> m_players;
    QList<QPointer<FakeWebPage>> m_pages;
    std::unique_ptr<PlaybackSession> m_session;
    std::unique_ptr<PlayerWindowController> m_controller;
    PlayerView *m_view = nullptr;
    int m_closed = 0;
};

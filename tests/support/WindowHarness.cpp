#include "WindowHarness.h"

#include "ToolButtons.h"
#include "platform/UserDefaults.h"
#include "ui/PlayerView.h"
#include "windows/WindowStateStore.h"

#include <QTest>

using namespace std::chrono_literals;

MediaSource WindowHarness::clip(const QString &url, MediaKind kind)
{
    return MediaSource(QUrl(url), kind, QStringLiteral("Clip"), QString());
}

PlayerWindowController::Timings WindowHarness::quickTimings()
{
    PlayerWindowController::Timings timings;
    timings.persistDebounce = 20ms;
    timings.snapDelay = 20ms;
    timings.liveResizeSettle = 40ms;
    timings.moveToCornerDelay = 20ms;
    timings.grabToggleDelay = 40ms;
    return timings;
}

WindowHarness::WindowHarness(Options options)
    : m_settings(UserDefaults::open(m_home.filePath(QStringLiteral("config/Lumivane.conf"))))
    , m_preferences(std::make_unique<Preferences>(*m_settings))
{
    if (options.prepare)
        options.prepare(*m_preferences);
    const QUrl url = options.source.url();
    if (options.frame) {
        WindowStateStore::save(*m_settings,
                               StoredWindowState(options.frame->toText(), 1.0, options.pinned,
                                                 0.5, options.lockAspect),
                               url);
    }
    if (!options.players) {
        options.players = [this] {
            auto player = std::make_unique<FakeNativePlayer>();
            m_players.append(player.get());
            return std::unique_ptr<NativePlayer>(std::move(player));
        };
    }
    if (!options.pages) {
        options.pages = [this] {
            auto page = std::make_unique<FakeWebPage>();
            m_pages.append(page.get());
            return std::unique_ptr<WebPage>(std::move(page));
        };
    }
    m_session = std::make_unique<PlaybackSession>(
        options.source, std::nullopt,
        PlaybackSession::Dependencies{*m_preferences, *m_settings, options.players, options.pages,
                                      options.sessionTiming});
    auto content = [this, withView = options.view](PlayerWindowController &owner) -> QWidget * {
        if (!withView)
            return new QWidget();
        m_view = new PlayerView(owner.session(), owner, *m_preferences);
        return m_view;
    };
    m_controller = std::make_unique<PlayerWindowController>(
        *m_session, *m_settings, *m_preferences, m_placement, content, options.timings);
    m_controller->setOnClose([this] { ++m_closed; });
}

WindowHarness::~WindowHarness()
{
    dropController();
    m_session->stop();
}

bool WindowHarness::present()
{
    m_controller->present();
    return QTest::qWaitForWindowExposed(&window());
}

FakeNativePlayer *WindowHarness::player() const
{
    return m_players.isEmpty() ? nullptr : m_players.last().data();
}

FakeWebPage *WindowHarness::page() const
{
    return m_pages.isEmpty() ? nullptr : m_pages.last().data();
}

QToolButton *WindowHarness::button(const QString &toolTip) const
{
    return m_view ? ToolButtons::withToolTip(*m_view, toolTip) : nullptr;
}

std::optional<GeoRect> WindowHarness::storedFrame() const
{
    const auto state = WindowStateStore::load(*m_settings, m_session->source().url());
    return state ? GeoRect::fromText(state->frame()) : std::nullopt;
}

std::optional<GeoRect> WindowHarness::lastFrame() const
{
    return GeoRect::fromText(m_settings->value(QStringLiteral("window.lastFrame")).toString());
}

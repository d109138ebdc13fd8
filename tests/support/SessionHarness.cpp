#include "SessionHarness.h"

#include "platform/UserDefaults.h"

SessionHarness::SessionHarness()
    : m_preferenceStore(UserDefaults::open(m_dir.filePath(QStringLiteral("prefs/Lumivane.conf"))))
    , m_preferences(*m_preferenceStore)
    , m_quickStore(UserDefaults::open(m_dir.filePath(QStringLiteral("quick/quick.conf"))))
{
}

std::unique_ptr<PlaybackSession> SessionHarness::open(const MediaSource &source, std::optional<double> resumeSeconds,
                                                      PlaybackSession::Timing timing)
{
    auto players = [this]() -> std::unique_ptr<NativePlayer> {
        auto player = std::make_unique<FakeNativePlayer>();
        m_players.append(player.get());
        return player;
    };
    return openWith(players, source, resumeSeconds, timing);
}

std::unique_ptr<PlaybackSession> SessionHarness::openWith(PlaybackSession::PlayerFactory factory,
                                                          const MediaSource &source,
                                                          std::optional<double> resumeSeconds,
                                                          PlaybackSession::Timing timing)
{
    m_progress.clear();
    m_reachedEnd = 0;
    m_titles.clear();
    m_thumbnails.clear();
    auto pages = [this]() -> std::unique_ptr<WebPage> {
        auto page = std::make_unique<FakeWebPage>();
        m_webPages.append(page.get());
        return page;
    };
    auto session = std::make_unique<PlaybackSession>(
        source, resumeSeconds,
        PlaybackSession::Dependencies{m_preferences, *m_quickStore, std::move(factory), pages, timing});
    using S = PlaybackSession;
    QObject::connect(session.get(), &S::titleReported, [this](const QString &t) { m_titles.append(t); });
    QObject::connect(session.get(), &S::thumbnailReported, [this](const QUrl &u) { m_thumbnails.append(u); });
    QObject::connect(session.get(), &S::progressReported,
                     [this](double elapsed, std::optional<double> length) { m_progress.append({elapsed, length}); });
    QObject::connect(session.get(), &S::reachedEnd, [this] { ++m_reachedEnd; });
    return session;
}

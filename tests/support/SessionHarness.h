#pragma once

#include "FakeNativePlayer.h"
#include "FakeWebPage.h"
#include "playback/PlaybackSession.h"
#include "settings/Preferences.h"

#include <QList>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// Builds playback sessions over throw-away settings stores. Sessions get fake players and
// fake web pages; the harness keeps a pointer to every one handed out, newest last, and
// what the newest session reported.
class SessionHarness final
{
public:
    struct Progress {
        double elapsed = 0;
        std::optional<double> duration;
    };

    SessionHarness();

    bool isValid() const { return m_dir.isValid(); }
    Preferences &preferences() { return m_preferences; }
    QSettings &quickStore() { return *m_quickStore; }
    // What another reader of the quick-preference file sees.
    QVariant storedQuickValue(const QString &key) const
    {
        return QSettings(m_quickStore->fileName(), QSettings::IniFormat).value(key);
    }

    static MediaSource localSource(const QString &path, const QString &title = QStringLiteral("Clip"))
    {
        return MediaSource(QUrl::fromLocalFile(path), MediaKind::localFile, title, QString());
    }
    static MediaSource webSource()
    {
        return MediaSource(QUrl(QStringLiteral("https://example.com/watch")), MediaKind::web, QStringLiteral("Page"),
                           QString());
    }

    // A session on fake players and pages; its reports are recorded in progress(),
    // reachedEnd(), titles() and thumbnails().
    std::unique_ptr<PlaybackSession> open(const MediaSource &source, std::optional<double> resumeSeconds = std::nullopt,
                                          PlaybackSession::Timing timing = {});
    // The same with another player factory (web pages stay fakes).
    std::unique_ptr<PlaybackSession> openWith(PlaybackSession::PlayerFactory factory, const MediaSource &source,
                                              std::optional<double> resumeSeconds = std::nullopt,
                                              PlaybackSession::Timing timing = {});

    // The newest fake player handed out; null once it was deleted.
    FakeNativePlayer *player() const { return m_players.isEmpty() ? nullptr : m_players.last().data(); }
    qsizetype playersMade() const { return m_players.size(); }
    // The newest fake web page handed out; null once it was deleted.
    FakeWebPage *webPage() const { return m_webPages.isEmpty() ? nullptr : m_webPages.last().data(); }
    qsizetype webPagesMade() const { return m_webPages.size(); }
    const QStringList &titles() const { return m_titles; }
    const QList<QUrl> &thumbnails() const { return m_thumbnails; }
    const QList<Progress> &progress() const { return m_progress; }
    int reachedEnd() const { return m_reachedEnd; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_preferenceStore;
    Preferences m_preferences;
    std::unique_ptr<QSettings> m_quickStore;
    QList<QPointer<FakeNativePlayer>> m_players;
    QList<QPointer<FakeWebPage>> m_webPages;
    QStringList m_titles;
    QList<QUrl> m_thumbnails;
    QList<Progress> m_progress;
    int m_reachedEnd = 0;
};

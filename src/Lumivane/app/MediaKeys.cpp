#include "app/MediaKeys.h"

#include "app/AppModel.h"

#include <algorithm>
#include <cmath>

namespace {
bool isWeb(const PlaybackSession &session)
{
    return session.source().kind() == MediaKind::web;
}

bool mediaKnown(const PlaybackSession &session)
{
    return isWeb(session) ? session.webVideoAvailable() : session.state().isReady();
}
} // namespace

MediaKeys::MediaKeys(AppModel &model, ControlsFactory makeControls, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_makeControls(std::move(makeControls))
{
    connect(&model, &AppModel::sessionsChanged, this, &MediaKeys::sync);
    connect(&model, &AppModel::sessionDidChange, this, &MediaKeys::publishAll);
    connect(&model, &AppModel::playlistChanged, this, &MediaKeys::publishAll);
    connect(&model, &AppModel::historyChanged, this, &MediaKeys::publishAll);
    sync();
}

MediaKeys::~MediaKeys() = default;

MediaControls *MediaKeys::controls(const PlaybackSession &session) const
{
    const auto entry = m_entries.find(session.id());
    return entry == m_entries.end() ? nullptr : entry->second.controls.get();
}

MediaControls::State MediaKeys::stateOf(const PlaybackSession &session)
{
    MediaControls::State state;
    const bool known = mediaKnown(session);
    state.status = !known ? MediaControls::Status::stopped
                   : session.isPlaying() ? MediaControls::Status::playing
                                         : MediaControls::Status::paused;
    state.trackId = QStringLiteral("/org/lumivane/Lumivane/window/") + session.id().toString(QUuid::Id128);
    state.title = session.title();
    state.url = session.source().url();
    if (session.duration() > 0)
        state.length = session.duration();
    state.position = session.elapsed();
    state.rate = session.speed();
    state.volume = session.volume();
    state.canPlay = known;
    state.canSeek = known && (isWeb(session) ? session.webCanSeek() : session.duration() > 0);
    return state;
}

bool MediaKeys::isJump(double before, double after)
{
    return after < before || after - before > seekJump;
}

void MediaKeys::sync()
{
    const QList<PlaybackSession *> &sessions = m_model.sessions();
    std::erase_if(m_entries, [&sessions](const auto &entry) {
        return std::ranges::none_of(sessions, [&entry](const PlaybackSession *s) { return s->id() == entry.first; });
    });
    for (PlaybackSession *session : sessions) {
        if (!m_entries.contains(session->id()))
            attach(*session);
    }
}

void MediaKeys::attach(PlaybackSession &session)
{
    std::unique_ptr<MediaControls> made = m_makeControls();
    if (!made)
        return;
    wire(*made, session.id());
    Entry &entry = m_entries[session.id()];
    entry.controls = std::move(made);
    // Unknown, so the first update is never taken for a seek.
    entry.published.position = -1;
    publish(session, entry);
}

void MediaKeys::wire(MediaControls &controls, const QUuid &id)
{
    connect(&controls, &MediaControls::playPauseRequested, this, [this, id] {
        if (PlaybackSession *target = sessionById(id))
            setPlaying(id, !target->isPlaying());
    });
    connect(&controls, &MediaControls::playRequested, this, [this, id] { setPlaying(id, true); });
    connect(&controls, &MediaControls::pauseRequested, this, [this, id] { setPlaying(id, false); });
    connect(&controls, &MediaControls::stopRequested, this, [this, id] { setPlaying(id, false); });
    connect(&controls, &MediaControls::seekRequested, this, [this, id](double offset) {
        if (PlaybackSession *target = sessionById(id))
            seekTo(id, target->elapsed() + offset);
    });
    connect(&controls, &MediaControls::positionRequested, this, [this, id](const QString &track, double position) {
        if (m_entries.at(id).published.trackId == track)
            seekTo(id, position);
    });
    connect(&controls, &MediaControls::rateRequested, this, [this, id](double rate) {
        PlaybackSession *target = sessionById(id);
        if (!target || !std::isfinite(rate) || rate <= 0)
            return;
        isWeb(*target) ? target->webSetSpeed(rate) : target->setSpeed(rate);
    });
    connect(&controls, &MediaControls::volumeRequested, this, [this, id](double volume) {
        PlaybackSession *target = sessionById(id);
        if (!target || !std::isfinite(volume))
            return;
        const double level = std::clamp(volume, 0.0, 1.0);
        isWeb(*target) ? target->webSetVolume(level) : target->setVolume(level);
    });
    connect(&controls, &MediaControls::nextRequested, this, [this, id] {
        if (PlaybackSession *target = sessionById(id))
            m_model.playNext(*target);
    });
    connect(&controls, &MediaControls::raiseRequested, this, [this, id] {
        if (PlaybackSession *target = sessionById(id))
            m_model.present(*target);
    });
    connect(&controls, &MediaControls::quitRequested, this, &MediaKeys::quitRequested);
}

void MediaKeys::publishAll()
{
    for (auto &[id, entry] : m_entries) {
        if (const PlaybackSession *target = sessionById(id))
            publish(*target, entry);
    }
}

void MediaKeys::publish(const PlaybackSession &session, Entry &entry)
{
    MediaControls::State state = stateOf(session);
    state.canGoNext = m_model.hasNextInPlaylist(session.source());
    const auto item = std::ranges::find(m_model.history(), session.source().urlString(), &HistoryItem::urlString);
    if (item != m_model.history().end() && item->thumbnailURLString)
        state.artUrl = QUrl(*item->thumbnailURLString);
    if (state == entry.published)
        return;
    const bool jumped = entry.published.position >= 0 && isJump(entry.published.position, state.position);
    entry.published = state;
    entry.controls->publish(state);
    if (jumped)
        entry.controls->announceSeeked(state.position);
}

PlaybackSession *MediaKeys::sessionById(const QUuid &id) const
{
    const QList<PlaybackSession *> &sessions = m_model.sessions();
    const auto found = std::ranges::find(sessions, id, &PlaybackSession::id);
    return found == sessions.end() ? nullptr : *found;
}

void MediaKeys::seekTo(const QUuid &id, double seconds)
{
    PlaybackSession *target = sessionById(id);
    if (!target || !std::isfinite(seconds))
        return;
    isWeb(*target) ? target->webSeek(std::max(seconds, 0.0)) : target->seek(seconds);
}

void MediaKeys::setPlaying(const QUuid &id, bool playing)
{
    PlaybackSession *target = sessionById(id);
    if (!target || target->isPlaying() == playing)
        return;
    if (isWeb(*target))
        target->webTogglePlay();
    else
        target->togglePlayback();
}

#pragma once

#include "platform/MediaControls.h"

#include <QObject>
#include <QUuid>

#include <functional>
#include <map>
#include <memory>

class AppModel;
class PlaybackSession;

// Gives each player window a player of its own in the desktop's media controls, publishes
// what the window plays and carries the desktop's wishes (media keys, playerctl) to it.
// A web window takes part once its page's media is known.
class MediaKeys final : public QObject
{
    Q_OBJECT

public:
    // Returns null when the desktop has no media controls (no session bus).
    using ControlsFactory = std::function<std::unique_ptr<MediaControls>()>;

    // A forward jump of more than this many seconds between two updates is a seek: the
    // position ticks once a second while playing.
    static constexpr double seekJump = 1.5;

    MediaKeys(AppModel &model, ControlsFactory makeControls, QObject *parent = nullptr);
    ~MediaKeys() override;

    // Null when the session has no player in the media controls.
    MediaControls *controls(const PlaybackSession &session) const;

    static MediaControls::State stateOf(const PlaybackSession &session);
    static bool isJump(double before, double after);

Q_SIGNALS:
    void quitRequested();

private:
    struct Entry {
        std::unique_ptr<MediaControls> controls;
        MediaControls::State published;
    };

    void sync();
    void attach(PlaybackSession &session);
    void wire(MediaControls &controls, const QUuid &id);
    void publishAll();
    void publish(const PlaybackSession &session, Entry &entry);
    PlaybackSession *sessionById(const QUuid &id) const;
    void seekTo(const QUuid &id, double seconds);
    void setPlaying(const QUuid &id, bool playing);

    AppModel &m_model;
    ControlsFactory m_makeControls;
    std::map<QUuid, Entry> m_entries;
};

#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <initializer_list>

struct mpv_render_context;
struct mpv_render_param;
class MpvPlayer;

// The mpv render context of one video surface, whatever API draws it: the player is told when
// it exists and before it goes, and new frames are announced on the GUI thread.
class MpvRenderContext final : public QObject
{
    Q_OBJECT

public:
    explicit MpvRenderContext(MpvPlayer *player);
    ~MpvRenderContext() override;

    // The API's parameters, its type first. Does nothing when one exists or the player has
    // no mpv instance.
    void create(std::initializer_list<mpv_render_param> api);
    // The player leaves the render output first: freeing a context the output still uses
    // tears down the picture track, and an item with nothing else would fail. Safe to call
    // more than once.
    void free();
    bool isValid() const { return m_render != nullptr; }
    bool hasFrameWaiting() const { return m_frameWaiting; }

    // Draws the current frame onto the API's target without waiting for its display time
    // (the default stalls the GUI thread); whether a new frame was drawn.
    bool render(std::initializer_list<mpv_render_param> target);

Q_SIGNALS:
    void frameWaiting();

private:
    static void onUpdate(void *context);
    void handleUpdate();

    QPointer<MpvPlayer> m_player;
    mpv_render_context *m_render = nullptr;
    std::atomic_bool m_updatePending = false;
    bool m_frameWaiting = false;
};

#pragma once

#include <QOpenGLWidget>
#include <QPointer>

#include <atomic>

struct mpv_render_context;
class MpvPlayer;

// Draws the video of an MpvPlayer through mpv's OpenGL render API. The render context
// lives between initializeGL() and whichever comes first: this widget's destruction or the
// player's (the player calls releaseRenderContext() before it shuts mpv down).
class MpvVideoWidget final : public QOpenGLWidget
{
    Q_OBJECT

public:
    MpvVideoWidget(MpvPlayer *player, QWidget *parent = nullptr);
    ~MpvVideoWidget() override;

    // Frees the render context with the GL context current; safe to call more than once.
    void releaseRenderContext();
    bool hasRenderContext() const { return m_render != nullptr; }

Q_SIGNALS:
    // A new video frame was drawn.
    void frameRendered();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void onUpdate(void *context);
    static void *procAddress(void *context, const char *name);
    void handleUpdate();

    QPointer<MpvPlayer> m_player;
    mpv_render_context *m_render = nullptr;
    std::atomic_bool m_updatePending = false;
    bool m_frameWaiting = false;
};

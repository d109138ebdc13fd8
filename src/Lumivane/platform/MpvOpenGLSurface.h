#pragma once

#include "platform/MpvRenderSurface.h"

#include <QOpenGLWidget>
#include <QPointer>

#include <atomic>

struct mpv_render_context;
class MpvPlayer;

// Draws an MpvPlayer's video through mpv's OpenGL render API, with hardware decoding where
// the driver offers it. Qt composes the widget's framebuffer with the rest of the window.
class MpvOpenGLSurface final : public QOpenGLWidget, public MpvRenderSurface
{
    Q_OBJECT

public:
    MpvOpenGLSurface(MpvPlayer *player, QWidget *parent);
    ~MpvOpenGLSurface() override;

    void releaseRenderContext() override;
    bool hasRenderContext() const override { return m_render != nullptr; }

Q_SIGNALS:
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

#include "platform/MpvVideoWidget.h"

#include "platform/MpvPlayer.h"

#include <QMetaObject>
#include <QOpenGLContext>

#include <mpv/render_gl.h>

MpvVideoWidget::MpvVideoWidget(MpvPlayer *player, QWidget *parent)
    : QOpenGLWidget(parent)
    , m_player(player)
{
}

MpvVideoWidget::~MpvVideoWidget()
{
    releaseRenderContext();
}

void MpvVideoWidget::releaseRenderContext()
{
    if (!m_render)
        return;
    // The player leaves the render output first: freeing a context the output still uses
    // tears down the picture track, and an item with nothing else would fail.
    if (m_player)
        m_player->renderSurfaceClosing();
    // mpv frees GL objects here, so the widget's context must be current.
    makeCurrent();
    mpv_render_context *render = std::exchange(m_render, nullptr);
    mpv_render_context_free(render);
    doneCurrent();
}

void *MpvVideoWidget::procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    if (!context)
        return nullptr;
    return reinterpret_cast<void *>(context->getProcAddress(name));
}

void MpvVideoWidget::initializeGL()
{
    if (m_render || !m_player || !m_player->mpvHandle())
        return;
    mpv_opengl_init_params glInit{&MpvVideoWidget::procAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, apiType},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, m_player->mpvHandle(), params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &MpvVideoWidget::onUpdate, this);
    m_player->renderSurfaceReady();
}

void MpvVideoWidget::onUpdate(void *context)
{
    // Runs on an mpv thread; the render context is freed before this widget, which ends
    // the callbacks, and Qt drops calls queued for a widget that is gone.
    auto *self = static_cast<MpvVideoWidget *>(context);
    if (!self->m_updatePending.exchange(true))
        QMetaObject::invokeMethod(self, &MpvVideoWidget::handleUpdate, Qt::QueuedConnection);
}

void MpvVideoWidget::handleUpdate()
{
    m_updatePending = false;
    if (!m_render)
        return;
    if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) {
        m_frameWaiting = true;
        update();
    }
}

void MpvVideoWidget::paintGL()
{
    if (!m_render)
        return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()),
                       static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), 0};
    int flipY = 1;
    // The default waits for the frame's display time and stalls the GUI thread.
    int blockForTargetTime = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, params);
    if (std::exchange(m_frameWaiting, false))
        Q_EMIT frameRendered();
}

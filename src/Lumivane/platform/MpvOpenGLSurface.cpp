#include "platform/MpvOpenGLSurface.h"

#include "platform/MpvPlayer.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QOpenGLContext>
#include <QtGui/qguiapplication_platform.h>

#include <mpv/render_gl.h>

MpvOpenGLSurface::MpvOpenGLSurface(MpvPlayer *player, QWidget *parent)
    : QOpenGLWidget(parent)
    , m_player(player)
{
}

MpvOpenGLSurface::~MpvOpenGLSurface()
{
    releaseRenderContext();
}

void MpvOpenGLSurface::releaseRenderContext()
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

void *MpvOpenGLSurface::procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    if (!context)
        return nullptr;
    return reinterpret_cast<void *>(context->getProcAddress(name));
}

void MpvOpenGLSurface::initializeGL()
{
    if (m_render || !m_player || !m_player->mpvHandle())
        return;
    mpv_opengl_init_params glInit{&MpvOpenGLSurface::procAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    // The X display lets mpv hand decoded GPU surfaces (VA-API) straight to GL.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, apiType},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {x11 ? MPV_RENDER_PARAM_X11_DISPLAY : MPV_RENDER_PARAM_INVALID, x11 ? x11->display() : nullptr},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, m_player->mpvHandle(), params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &MpvOpenGLSurface::onUpdate, this);
    m_player->renderSurfaceReady();
}

void MpvOpenGLSurface::onUpdate(void *context)
{
    // Runs on an mpv thread; the render context is freed before this widget, which ends
    // the callbacks, and Qt drops calls queued for a widget that is gone.
    auto *self = static_cast<MpvOpenGLSurface *>(context);
    if (!self->m_updatePending.exchange(true))
        QMetaObject::invokeMethod(self, &MpvOpenGLSurface::handleUpdate, Qt::QueuedConnection);
}

void MpvOpenGLSurface::handleUpdate()
{
    m_updatePending = false;
    if (!m_render)
        return;
    if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) {
        m_frameWaiting = true;
        update();
    }
}

void MpvOpenGLSurface::paintGL()
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

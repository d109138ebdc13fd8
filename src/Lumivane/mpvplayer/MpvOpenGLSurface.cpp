#include "mpvplayer/MpvOpenGLSurface.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QtGui/qguiapplication_platform.h>

#include <mpv/render_gl.h>

MpvOpenGLSurface::MpvOpenGLSurface(MpvPlayer *player, QWidget *parent)
    : QOpenGLWidget(parent)
    , m_context(player)
{
    connect(&m_context, &MpvRenderContext::frameWaiting, this, qOverload<>(&QWidget::update));
}

MpvOpenGLSurface::~MpvOpenGLSurface()
{
    releaseRenderContext();
}

void MpvOpenGLSurface::releaseRenderContext()
{
    if (!m_context.isValid())
        return;
    // mpv frees GL objects here, so the widget's context must be current.
    makeCurrent();
    m_context.free();
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
    mpv_opengl_init_params glInit{&MpvOpenGLSurface::procAddress, nullptr};
    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    // The X display lets mpv hand decoded GPU surfaces (VA-API) straight to GL.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    m_context.create({
        {MPV_RENDER_PARAM_API_TYPE, apiType},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {x11 ? MPV_RENDER_PARAM_X11_DISPLAY : MPV_RENDER_PARAM_INVALID, x11 ? x11->display() : nullptr},
    });
}

void MpvOpenGLSurface::paintGL()
{
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()),
                       static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), 0};
    int flipY = 1;
    if (m_context.render({{MPV_RENDER_PARAM_OPENGL_FBO, &fbo}, {MPV_RENDER_PARAM_FLIP_Y, &flipY}}))
        Q_EMIT frameRendered();
}

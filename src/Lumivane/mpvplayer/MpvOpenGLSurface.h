#pragma once

#include "mpvplayer/MpvRenderContext.h"
#include "mpvplayer/MpvRenderSurface.h"

#include <QOpenGLWidget>

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
    bool hasRenderContext() const override { return m_context.isValid(); }

Q_SIGNALS:
    void frameRendered();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void *procAddress(void *context, const char *name);

    MpvRenderContext m_context;
};

#include "mpvplayer/MpvVideoWidget.h"

#include "mpvplayer/MpvOpenGLSurface.h"
#include "mpvplayer/MpvSoftwareSurface.h"

#include <QVBoxLayout>

MpvVideoWidget::MpvVideoWidget(MpvPlayer *player, Renderer renderer, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (renderer == Renderer::openGL)
        layout->addWidget(adopt(new MpvOpenGLSurface(player, this)));
    else
        layout->addWidget(adopt(new MpvSoftwareSurface(player, this)));
}

template <class Surface>
Surface *MpvVideoWidget::adopt(Surface *surface)
{
    m_surface = surface;
    connect(surface, &Surface::frameRendered, this, &MpvVideoWidget::frameRendered);
    return surface;
}

void MpvVideoWidget::releaseRenderContext()
{
    m_surface->releaseRenderContext();
}

bool MpvVideoWidget::hasRenderContext() const
{
    return m_surface->hasRenderContext();
}

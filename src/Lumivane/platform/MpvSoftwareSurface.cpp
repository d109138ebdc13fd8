#include "platform/MpvSoftwareSurface.h"

#include "platform/MpvPlayer.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>

#include <mpv/render.h>

MpvSoftwareSurface::MpvSoftwareSurface(MpvPlayer *player, QWidget *parent)
    : QWidget(parent)
    , m_player(player)
{
    // Every pixel is painted: Qt need not clear underneath first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MpvSoftwareSurface::~MpvSoftwareSurface()
{
    releaseRenderContext();
}

void MpvSoftwareSurface::releaseRenderContext()
{
    if (!m_render)
        return;
    // The player leaves the render output first: freeing a context the output still uses
    // tears down the picture track, and an item with nothing else would fail.
    if (m_player)
        m_player->renderSurfaceClosing();
    mpv_render_context_free(std::exchange(m_render, nullptr));
}

void MpvSoftwareSurface::createRenderContext()
{
    if (m_render || !m_player || !m_player->mpvHandle())
        return;
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, apiType},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, m_player->mpvHandle(), params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &MpvSoftwareSurface::onUpdate, this);
    m_player->renderSurfaceReady();
}

void MpvSoftwareSurface::onUpdate(void *context)
{
    // Runs on an mpv thread; the render context is freed before this widget, which ends
    // the callbacks, and Qt drops calls queued for a widget that is gone.
    auto *self = static_cast<MpvSoftwareSurface *>(context);
    if (!self->m_updatePending.exchange(true))
        QMetaObject::invokeMethod(self, &MpvSoftwareSurface::handleUpdate, Qt::QueuedConnection);
}

void MpvSoftwareSurface::handleUpdate()
{
    m_updatePending = false;
    if (m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME)) {
        m_frameWaiting = true;
        update();
    }
}

// A frame is drawn when it is new or the size changed, and only when the window is painted
// at all (not while hidden or minimised). Controls repainting above the picture only copy it.
void MpvSoftwareSurface::renderFrame()
{
    const QSize size = this->size() * devicePixelRatioF();
    if (!m_render || size.isEmpty() || (!m_frameWaiting && m_frame.size() == size))
        return;
    if (m_frame.size() != size) {
        m_frame = QImage(size, QImage::Format_RGB32);
        m_frame.setDevicePixelRatio(devicePixelRatioF());
    }
    int frameSize[2] = {size.width(), size.height()};
    size_t stride = static_cast<size_t>(m_frame.bytesPerLine());
    // QImage::Format_RGB32 in mpv's byte-order names.
    QByteArray format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";
    // The default waits for the frame's display time and stalls the GUI thread.
    int blockForTargetTime = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, frameSize},
        {MPV_RENDER_PARAM_SW_FORMAT, format.data()},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, m_frame.bits()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, params);
    if (std::exchange(m_frameWaiting, false))
        Q_EMIT frameRendered();
}

void MpvSoftwareSurface::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    createRenderContext();
}

void MpvSoftwareSurface::paintEvent(QPaintEvent *event)
{
    renderFrame();
    QPainter painter(this);
    // Before the first frame.
    if (m_frame.isNull())
        painter.fillRect(event->rect(), Qt::black);
    painter.drawImage(QPoint(), m_frame);
}

#include "mpvplayer/MpvSoftwareSurface.h"

#include <QPaintEvent>
#include <QPainter>

#include <mpv/render.h>

MpvSoftwareSurface::MpvSoftwareSurface(MpvPlayer *player, QWidget *parent)
    : QWidget(parent)
    , m_context(player)
{
    // Every pixel is painted: Qt need not clear underneath first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_context, &MpvRenderContext::frameWaiting, this, qOverload<>(&QWidget::update));
}

// A frame is drawn when it is new or the size changed, and only when the window is painted
// at all (not while hidden or minimised). Controls repainting above the picture only copy it.
void MpvSoftwareSurface::renderFrame()
{
    const QSize size = this->size() * devicePixelRatioF();
    if (!m_context.isValid() || size.isEmpty() || (!m_context.hasFrameWaiting() && m_frame.size() == size))
        return;
    if (m_frame.size() != size) {
        m_frame = QImage(size, QImage::Format_RGB32);
        m_frame.setDevicePixelRatio(devicePixelRatioF());
    }
    int frameSize[2] = {size.width(), size.height()};
    size_t stride = static_cast<size_t>(m_frame.bytesPerLine());
    // QImage::Format_RGB32 in mpv's byte-order names.
    QByteArray format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";
    if (m_context.render({{MPV_RENDER_PARAM_SW_SIZE, frameSize},
                          {MPV_RENDER_PARAM_SW_FORMAT, format.data()},
                          {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                          {MPV_RENDER_PARAM_SW_POINTER, m_frame.bits()}}))
        Q_EMIT frameRendered();
}

void MpvSoftwareSurface::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    m_context.create({{MPV_RENDER_PARAM_API_TYPE, apiType}});
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

#include "mpvplayer/MpvRenderContext.h"

#include "mpvplayer/MpvPlayer.h"

#include <QMetaObject>

#include <mpv/render.h>

#include <vector>

MpvRenderContext::MpvRenderContext(MpvPlayer *player)
    : m_player(player)
{
}

MpvRenderContext::~MpvRenderContext()
{
    free();
}

void MpvRenderContext::create(std::initializer_list<mpv_render_param> api)
{
    if (m_render || !m_player || !m_player->mpvHandle())
        return;
    std::vector<mpv_render_param> params(api);
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    if (mpv_render_context_create(&m_render, m_player->mpvHandle(), params.data()) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &MpvRenderContext::onUpdate, this);
    m_player->renderSurfaceReady();
}

void MpvRenderContext::free()
{
    if (!m_render)
        return;
    if (m_player)
        m_player->renderSurfaceClosing();
    mpv_render_context_free(std::exchange(m_render, nullptr));
}

void MpvRenderContext::onUpdate(void *context)
{
    // Runs on an mpv thread; freeing the context ends the callbacks, and Qt drops calls
    // queued for an object that is gone.
    auto *self = static_cast<MpvRenderContext *>(context);
    if (!self->m_updatePending.exchange(true))
        QMetaObject::invokeMethod(self, &MpvRenderContext::handleUpdate, Qt::QueuedConnection);
}

void MpvRenderContext::handleUpdate()
{
    m_updatePending = false;
    if (m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME)) {
        m_frameWaiting = true;
        Q_EMIT frameWaiting();
    }
}

bool MpvRenderContext::render(std::initializer_list<mpv_render_param> target)
{
    if (!m_render)
        return false;
    int blockForTargetTime = 0;
    std::vector<mpv_render_param> params(target);
    params.push_back({MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime});
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    mpv_render_context_render(m_render, params.data());
    return std::exchange(m_frameWaiting, false);
}

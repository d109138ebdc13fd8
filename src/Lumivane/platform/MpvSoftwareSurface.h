#pragma once

#include "platform/MpvRenderSurface.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <atomic>

struct mpv_render_context;
class MpvPlayer;

// Draws an MpvPlayer's video through mpv's software render API: mpv converts and scales each
// frame straight to the widget's size, and the picture joins the window's backing store like
// any other painting. Where OpenGL itself runs on the processor this is far cheaper than
// drawing with it and then composing the result again.
class MpvSoftwareSurface final : public QWidget, public MpvRenderSurface
{
    Q_OBJECT

public:
    MpvSoftwareSurface(MpvPlayer *player, QWidget *parent);
    ~MpvSoftwareSurface() override;

    void releaseRenderContext() override;
    bool hasRenderContext() const override { return m_render != nullptr; }

Q_SIGNALS:
    void frameRendered();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static void onUpdate(void *context);
    void createRenderContext();
    void handleUpdate();
    void renderFrame();

    QPointer<MpvPlayer> m_player;
    mpv_render_context *m_render = nullptr;
    std::atomic_bool m_updatePending = false;
    bool m_frameWaiting = false;
    QImage m_frame;
};

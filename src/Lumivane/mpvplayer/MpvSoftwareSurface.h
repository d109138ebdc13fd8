#pragma once

#include "mpvplayer/MpvRenderContext.h"
#include "mpvplayer/MpvRenderSurface.h"

#include <QImage>
#include <QWidget>

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

    void releaseRenderContext() override { m_context.free(); }
    bool hasRenderContext() const override { return m_context.isValid(); }

Q_SIGNALS:
    void frameRendered();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void renderFrame();

    MpvRenderContext m_context;
    QImage m_frame;
};

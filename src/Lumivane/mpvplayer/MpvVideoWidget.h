#pragma once

#include <QWidget>

class MpvPlayer;
class MpvRenderSurface;

// The picture of an MpvPlayer, drawn by OpenGL where a graphics processor draws it and by
// mpv's software renderer otherwise. The render context lives from the first show until
// whichever comes first: this widget's destruction or the player's (the player calls
// releaseRenderContext() before it shuts mpv down).
class MpvVideoWidget final : public QWidget
{
    Q_OBJECT

public:
    enum class Renderer { openGL, software };

    MpvVideoWidget(MpvPlayer *player, Renderer renderer, QWidget *parent = nullptr);

    void releaseRenderContext();
    bool hasRenderContext() const;

Q_SIGNALS:
    // A new video frame was drawn.
    void frameRendered();

private:
    template <class Surface>
    Surface *adopt(Surface *surface);

    MpvRenderSurface *m_surface = nullptr;
};

#pragma once

// What MpvVideoWidget needs of the surface mpv draws on, whichever API draws it.
class MpvRenderSurface
{
public:
    virtual ~MpvRenderSurface() = default;

    // Frees the render context; safe to call more than once.
    virtual void releaseRenderContext() = 0;
    virtual bool hasRenderContext() const = 0;
};

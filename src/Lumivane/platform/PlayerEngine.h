#pragma once

#include "platform/NativePlayer.h"

#include <QtPlugin>

#include <memory>

// The native player engine (mpv and the codecs under it), a module loaded when the first
// player is made (PlayerEngineLoader): mapping its couple of hundred libraries took most of
// every launch, and a launch that opens no file never needs them.
class PlayerEngine
{
public:
    virtual ~PlayerEngine() = default;

    virtual std::unique_ptr<NativePlayer> createPlayer() = 0;
};

#define LumivanePlayerEngine_iid "org.lumivane.Lumivane.PlayerEngine/1"
Q_DECLARE_INTERFACE(PlayerEngine, LumivanePlayerEngine_iid)

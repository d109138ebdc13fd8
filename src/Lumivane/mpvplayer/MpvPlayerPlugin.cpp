#include "mpvplayer/MpvPlayerPlugin.h"

#include "mpvplayer/MpvPlayer.h"

std::unique_ptr<NativePlayer> MpvPlayerPlugin::createPlayer()
{
    return std::make_unique<MpvPlayer>();
}

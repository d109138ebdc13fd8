#pragma once

#include "platform/NativePlayer.h"

struct mpv_node;

// Reads mpv's "track-list" property: its audio and subtitle tracks, video left out.
namespace MpvTrackList {
QList<NativePlayer::Track> parse(const mpv_node &list);
}

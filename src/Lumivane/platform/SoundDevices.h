#pragma once

// Whether this machine can play sound at all: a sound server socket in the runtime folder or
// an ALSA playback device. Without either, mpv fails the whole file on its audio output,
// so players are then made without one.
namespace SoundDevices {
bool available();
} // namespace SoundDevices

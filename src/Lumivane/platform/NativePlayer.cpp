#include "platform/NativePlayer.h"

NativePlayer::NativePlayer(QObject *parent)
    : QObject(parent)
{
}

NativePlayer::~NativePlayer() = default;

#include "NativePlayer.h"

NativePlayer::NativePlayer(QObject *parent)
    : QObject(parent)
{
}

NativePlayer::~NativePlayer() = default;

#include "platform/MediaControls.h"

MediaControls::MediaControls(QObject *parent)
    : QObject(parent)
{
}

MediaControls::~MediaControls() = default;

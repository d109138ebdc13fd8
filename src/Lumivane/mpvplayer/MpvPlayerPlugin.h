#pragma once

#include "platform/PlayerEngine.h"

#include <QObject>

// The player engine module's entry point: mpv behind the PlayerEngine interface. The program
// loads it when the first player is made; its platform classes come from the program itself.
class MpvPlayerPlugin final : public QObject, public PlayerEngine
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID LumivanePlayerEngine_iid)
    Q_INTERFACES(PlayerEngine)

public:
    std::unique_ptr<NativePlayer> createPlayer() override;
};

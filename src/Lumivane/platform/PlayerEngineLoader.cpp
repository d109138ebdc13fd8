#include "platform/PlayerEngineLoader.h"

#include "platform/EngineModule.h"
#include "platform/PlayerEngine.h"
#include "platform/UnavailableNativePlayer.h"

QString PlayerEngineLoader::moduleFileName()
{
    return QStringLiteral("lumivane-mpv.so");
}

PlayerEngineLoader::PlayerEngineLoader(QStringList folders)
    : m_folders(std::move(folders))
{
}

std::unique_ptr<NativePlayer> PlayerEngineLoader::createPlayer()
{
    if (!m_tried)
        load();
    if (m_engine)
        return m_engine->createPlayer();
    return std::make_unique<UnavailableNativePlayer>();
}

void PlayerEngineLoader::load()
{
    m_tried = true;
    const EngineModule::Loaded module =
        EngineModule::load(m_folders, moduleFileName(), LumivanePlayerEngine_iid, QStringLiteral("player engine"));
    m_engine = static_cast<PlayerEngine *>(module.engine);
    if (m_engine)
        return;
    m_problem = module.problem;
    // The user is told in the player's window; the cause is for whoever looks into it.
    qWarning("lumivane: no player engine: %s", qPrintable(m_problem));
}

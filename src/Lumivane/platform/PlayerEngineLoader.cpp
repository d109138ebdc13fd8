#include "platform/PlayerEngineLoader.h"

#include "platform/PlayerEngine.h"
#include "platform/UnavailableNativePlayer.h"

#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

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
    QStringList problems;
    for (const QString &folder : std::as_const(m_folders)) {
        const QString path = QDir(folder).filePath(moduleFileName());
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: players live until the program ends.
        QPluginLoader module(path);
        QObject *instance = module.instance();
        m_engine = qobject_cast<PlayerEngine *>(instance);
        if (m_engine)
            return;
        problems.append(instance ? path + QStringLiteral(" is not Lumivane's player engine") : module.errorString());
    }
    if (problems.isEmpty())
        problems.append(QStringLiteral("%1 not found in %2").arg(moduleFileName(), m_folders.join(QStringLiteral(", "))));
    m_problem = problems.join(QLatin1Char('\n'));
    // The user is told in the player's window; the cause is for whoever looks into it.
    qWarning("lumivane: no player engine: %s", qPrintable(m_problem));
}

#include "platform/EngineModule.h"

#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace EngineModule {

Loaded load(const QStringList &folders, const QString &fileName, const char *iid, const QString &engineName,
            const std::function<QString()> &prepare)
{
    QStringList problems;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (!QFileInfo::exists(path))
            continue;
        if (const QString problem = prepare ? prepare() : QString(); !problem.isEmpty()) {
            problems.append(problem);
            break;
        }
        QPluginLoader module(path);
        QObject *instance = module.instance();
        if (void *engine = instance ? instance->qt_metacast(iid) : nullptr)
            return {engine, {}};
        problems.append(instance ? QStringLiteral("%1 is not Lumivane's %2").arg(path, engineName) : module.errorString());
    }
    if (problems.isEmpty())
        problems.append(QStringLiteral("%1 not found in %2").arg(fileName, folders.join(QStringLiteral(", "))));
    return {nullptr, problems.join(QLatin1Char('\n'))};
}

} // namespace EngineModule

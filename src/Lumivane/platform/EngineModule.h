#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Loading an engine module: the first copy of its file, in folder order, whose instance is
// the engine asked for. Modules are never unloaded: what they make lives until the end.
namespace EngineModule {

struct Loaded {
    // The instance cast to the interface (qobject_cast by its IID); null when none loaded.
    void *engine = nullptr;
    // Each problem met on the way, one per line; empty when the engine loaded.
    QString problem;
};

// prepare runs once a file is found, before it loads; a problem it returns ends the search.
Loaded load(const QStringList &folders, const QString &fileName, const char *iid, const QString &engineName,
            const std::function<QString()> &prepare = {});

} // namespace EngineModule

#include "playback/PageScripts.h"

#include <QFile>
#include <QHash>

// The scripts sit in a static library; their resource must be registered by hand. The macro
// declares a global function, so this cannot live inside a namespace.
static void registerScriptResource()
{
    Q_INIT_RESOURCE(scripts);
}

namespace PageScripts {

QString text(const QString &name)
{
    static const bool registered = (registerScriptResource(), true);
    Q_UNUSED(registered);
    static QHash<QString, QString> cache;
    auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    QFile file(QStringLiteral(":/scripts/") + name);
    QString text;
    if (file.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(file.readAll());
    cache.insert(name, text);
    return text;
}

} // namespace PageScripts

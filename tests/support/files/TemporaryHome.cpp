#include "TemporaryHome.h"

#include <QFile>

TemporaryHome::TemporaryHome()
{
    const QList<QPair<const char *, QString>> variables{
        {"HOME", path()},
        {"XDG_CONFIG_HOME", configHome()},
        {"XDG_DATA_HOME", dataHome()},
        {"XDG_CACHE_HOME", cacheHome()},
    };
    for (const auto &[name, value] : variables) {
        m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
        qputenv(name, QFile::encodeName(value));
    }
}

TemporaryHome::~TemporaryHome()
{
    for (const auto &[name, value] : m_saved) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
}

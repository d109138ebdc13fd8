#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

// A throw-away home for one test: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME
// point below a temporary folder until the object goes, then the previous values come back.
// Tests never see the real user's folders.
class TemporaryHome final
{
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    QString path() const { return m_folder.path(); }
    // A path below the temporary home.
    QString filePath(const QString &relative) const { return m_folder.filePath(relative); }
    QString configHome() const { return filePath(QStringLiteral("config")); }
    QString dataHome() const { return filePath(QStringLiteral("data")); }
    QString cacheHome() const { return filePath(QStringLiteral("cache")); }

private:
    QTemporaryDir m_folder;
    // Variable name, previous value; a null value was unset.
    QList<QPair<QByteArray, QByteArray>> m_saved;
};

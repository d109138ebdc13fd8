#include "FakeWorkspace.h"

bool FakeWorkspace::openUrl(const QUrl &url)
{
    m_openedUrls.append(url);
    return m_openAccepted;
}

std::optional<QString> FakeWorkspace::defaultHandler(const QUrl &url)
{
    m_handlerQueries.append(url);
    const auto found = m_handlers.constFind(url.scheme().toLower());
    if (found == m_handlers.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QString> FakeWorkspace::findPlayer(const QString &name)
{
    if (!m_players.contains(name))
        return std::nullopt;
    return QStringLiteral("/usr/bin/") + name;
}

std::expected<void, QString> FakeWorkspace::launchPlayer(const QString &executable, const QUrl &url)
{
    m_launches.append({executable, url});
    if (!m_launchError.isEmpty())
        return std::unexpected(m_launchError);
    return {};
}

void FakeWorkspace::revealFile(const QString &path)
{
    m_revealedFiles.append(path);
}

void FakeWorkspace::setDefaultHandler(const QString &scheme, const QString &entry)
{
    m_handlers.insert(scheme, entry);
}

void FakeWorkspace::installPlayer(const QString &name)
{
    m_players.insert(name);
}

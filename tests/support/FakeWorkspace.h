#pragma once

#include "platform/Workspace.h"

#include <QList>
#include <QStringList>

// A Workspace whose answers the test sets and whose calls it reads back.
class FakeWorkspace final : public Workspace
{
public:
    struct Launch {
        QString executable;
        QUrl url;
    };

    bool openUrl(const QUrl &url) override
    {
        m_openedUrls.append(url);
        return m_openAccepted;
    }
    std::optional<QString> defaultHandler(const QUrl &) override { return m_handler; }
    std::optional<QString> findPlayer(const QString &name) override
    {
        if (!m_players.contains(name))
            return std::nullopt;
        return QStringLiteral("/usr/bin/") + name;
    }
    std::expected<void, QString> launchPlayer(const QString &executable, const QUrl &url) override
    {
        m_launches.append({executable, url});
        if (!m_launchError.isEmpty())
            return std::unexpected(m_launchError);
        return {};
    }
    void revealFile(const QString &) override {}

    // Answers.
    void setOpenAccepted(bool accepted) { m_openAccepted = accepted; }
    // The desktop entry reported for every URL.
    void setDefaultHandler(const QString &entry) { m_handler = entry; }
    // The player becomes installed at "/usr/bin/<name>".
    void installPlayer(const QString &name) { m_players.append(name); }
    // Every later launch fails with this text; an empty text lets launches succeed.
    void setLaunchError(const QString &error) { m_launchError = error; }

    // Calls.
    const QList<QUrl> &openedUrls() const { return m_openedUrls; }
    const QList<Launch> &launches() const { return m_launches; }

private:
    bool m_openAccepted = true;
    std::optional<QString> m_handler;
    QStringList m_players;
    QString m_launchError;
    QList<QUrl> m_openedUrls;
    QList<Launch> m_launches;
};

#pragma once

#include "platform/Workspace.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

// A Workspace whose answers the test sets and whose calls it reads back.
class FakeWorkspace final : public Workspace
{
public:
    struct Launch {
        QString executable;
        QUrl url;
    };

    bool openUrl(const QUrl &url) override;
    std::optional<QString> defaultHandler(const QUrl &url) override;
    std::optional<QString> findPlayer(const QString &name) override;
    std::expected<void, QString> launchPlayer(const QString &executable, const QUrl &url) override;
    void revealFile(const QString &path) override;

    // Answers.
    void setOpenAccepted(bool accepted) { m_openAccepted = accepted; }
    // The handler reported for URLs of this scheme ("file" for local files).
    void setDefaultHandler(const QString &scheme, const QString &entry);
    // The player becomes installed at "/usr/bin/<name>".
    void installPlayer(const QString &name);
    // Every later launch fails with this text; an empty text lets launches succeed.
    void setLaunchError(const QString &error) { m_launchError = error; }

    // Calls.
    const QList<QUrl> &openedUrls() const { return m_openedUrls; }
    const QList<QUrl> &handlerQueries() const { return m_handlerQueries; }
    const QList<Launch> &launches() const { return m_launches; }
    const QStringList &revealedFiles() const { return m_revealedFiles; }

private:
    bool m_openAccepted = true;
    QHash<QString, QString> m_handlers;
    QSet<QString> m_players;
    QString m_launchError;
    QList<QUrl> m_openedUrls;
    QList<QUrl> m_handlerQueries;
    QList<Launch> m_launches;
    QStringList m_revealedFiles;
};

#pragma once

#include "platform/Workspace.h"

#include <QList>
#include <QStringList>

// A Workspace whose answers the test sets and whose calls it reads back.
struct FakeWorkspace final : Workspace {
    struct Launch {
        QString executable;
        QUrl url;
    };

    bool openUrl(const QUrl &url) override
    {
        openedUrls.append(url);
        return openAccepted;
    }
    std::optional<QString> defaultHandler(const QUrl &) override { return handler; }
    std::optional<QString> findPlayer(const QString &name) override
    {
        if (!installedPlayers.contains(name))
            return std::nullopt;
        return QStringLiteral("/usr/bin/") + name;
    }
    std::expected<void, QString> launchPlayer(const QString &executable, const QUrl &url) override
    {
        launches.append({executable, url});
        return launchError.isEmpty() ? std::expected<void, QString>() : std::unexpected(launchError);
    }
    void revealFile(const QString &) override {}

    // Answers: the desktop accepts URLs; the desktop entry that handles every URL; the players
    // found at "/usr/bin/<name>"; the error every launch fails with (none when empty).
    bool openAccepted = true;
    std::optional<QString> handler;
    QStringList installedPlayers;
    QString launchError;
    // Calls.
    QList<QUrl> openedUrls;
    QList<Launch> launches;
};

#pragma once

#include "platform/Workspace.h"

#include <chrono>

// The workspace of a freedesktop session.
//
// defaultHandler() asks xdg-mime and waits for it on the calling thread, bounded by the
// query timeout (2 s unless given): xdg-mime is a shell script that usually answers in a
// few tens of milliseconds, and the answer is needed before anything is handed over.
// A query that times out or fails counts as "no known handler".
class DesktopWorkspace final : public Workspace
{
public:
    explicit DesktopWorkspace(std::chrono::milliseconds queryTimeout = std::chrono::seconds(2));

    bool openUrl(const QUrl &url) override;
    std::optional<QString> defaultHandler(const QUrl &url) override;
    std::optional<QString> findPlayer(const QString &name) override;
    std::expected<void, QString> launchPlayer(const QString &executable, const QUrl &url) override;
    // Asks the file manager over D-Bus without waiting; opens the containing folder
    // instead when there is no session bus or no file manager answers.
    void revealFile(const QString &path) override;

private:
    std::optional<QString> queryDefault(const QString &mimeType) const;

    std::chrono::milliseconds m_queryTimeout;
};

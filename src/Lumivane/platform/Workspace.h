#pragma once

#include <QString>
#include <QUrl>

#include <expected>
#include <optional>

// The seam to the desktop: default handlers, external players and the file manager.
// The model talks only to this interface; DesktopWorkspace is the real one.
class Workspace
{
public:
    // The reverse-DNS id of the installed desktop entry and metainfo.
    static QString appId();
    // Lumivane's own desktop entry, as xdg-mime reports default handlers.
    static QString ownDesktopEntry();

    virtual ~Workspace();

    // Opens the URL with the desktop's default handler; false when the desktop refused.
    virtual bool openUrl(const QUrl &url) = 0;
    // The desktop entry ("vlc.desktop") that would open the URL, if one is known.
    virtual std::optional<QString> defaultHandler(const QUrl &url) = 0;
    // The executable of an installed external player ("vlc", "mpv"), if any.
    virtual std::optional<QString> findPlayer(const QString &name) = 0;
    // Starts the player with the URL (a local file as its path) as its only argument.
    // The error is a readable sentence in the current language.
    virtual std::expected<void, QString> launchPlayer(const QString &executable, const QUrl &url) = 0;
    // Shows the file selected in the file manager, or at least its folder.
    virtual void revealFile(const QString &path) = 0;

    // Whether the URL would come straight back to Lumivane when handed to the desktop.
    bool defaultsToThisApp(const QUrl &url);

protected:
    Workspace() = default;
    Workspace(const Workspace &) = default;
    Workspace &operator=(const Workspace &) = default;
};

#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class AppCommands;
class QAction;
class QMenuBar;

// The main menu, shown as the home window's menu bar: Lumivane, File, Edit, Playback and
// Window. The commands' shortcuts are application-wide, so they also work while a player
// window (or any other Lumivane window) is active, once their actions are added to it.
class MainMenu final : public QObject
{
    Q_OBJECT

public:
    explicit MainMenu(AppCommands &commands, QObject *parent = nullptr);

    // Rebuilds the menus from scratch in the current language.
    void populate(QMenuBar &bar);
    // The command actions, for every window that is not the home window.
    const QList<QAction *> &applicationActions() const { return m_commands; }

    // Alt+Space opens the window menu on most desktops: Play / Pause takes Ctrl+Alt+Space.
    static QKeySequence playPauseShortcut();

private:
    void command(const QString &name, void (AppCommands::*slot)(), const QKeySequence &shortcut);
    void editAction(const QString &name, const char *slot, QKeySequence::StandardKey key);
    void retranslate();

    AppCommands &m_appCommands;
    QList<QAction *> m_commands;
    QList<QAction *> m_edit;
};

#pragma once

#include <QMenu>

class AppCommands;

// The tray icon's context menu: start panel, open file, restore, bring back, settings and
// quit, without shortcuts.
class TrayMenu final : public QMenu
{
    Q_OBJECT

public:
    explicit TrayMenu(AppCommands &commands, QWidget *parent = nullptr);

    // Rebuilt in the current language.
    void populate();

private:
    AppCommands &m_commands;
};

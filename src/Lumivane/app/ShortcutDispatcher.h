#pragma once

#include "KiteCore/ShortcutAction.h"

#include <QObject>

class AppCommands;
class AppModel;
class PlaybackSession;
class PlayerWindowController;

// Carries out a shortcut action, whether it came from a global hot key or from
// "lumivane --action". Window actions go to the active player window, else to the most
// recent visible one, and do nothing without either.
class ShortcutDispatcher final : public QObject
{
    Q_OBJECT

public:
    static constexpr double opacityStep = 0.05;
    static constexpr double faintestOpacity = 0.25;

    // The model and the commands must outlive the dispatcher.
    ShortcutDispatcher(AppModel &model, AppCommands &commands, QObject *parent = nullptr);

    void perform(ShortcutAction action);

private:
    PlayerWindowController *target() const;
    void performOnWindow(ShortcutAction action, PlayerWindowController &target);

    AppModel &m_model;
    AppCommands &m_commands;
};

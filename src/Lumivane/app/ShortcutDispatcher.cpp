#include "app/ShortcutDispatcher.h"

#include "app/AppCommands.h"
#include "app/AppModel.h"
#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/WindowPosition.h"

#include <algorithm>

namespace {
constexpr double wide = 16.0 / 9.0;
constexpr double tall = 9.0 / 16.0;
} // namespace

ShortcutDispatcher::ShortcutDispatcher(AppModel &model, AppCommands &commands, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_commands(commands)
{
}

void ShortcutDispatcher::perform(ShortcutAction action)
{
    switch (action) {
    case ShortcutAction::toggleAllWindows: m_commands.toggleAll(); return;
    case ShortcutAction::playPause: m_commands.togglePlayback(); return;
    case ShortcutAction::pasteAndOpen:
        m_commands.openClipboard();
        m_commands.showHome();
        return;
    case ShortcutAction::screenshot: m_commands.captureFrame(); return;
    default: break; // the others work on one window
    }
    if (PlayerWindowController *window = target())
        performOnWindow(action, *window);
}

void ShortcutDispatcher::performOnWindow(ShortcutAction action, PlayerWindowController &target)
{
    PlaybackSession &session = target.session();
    switch (action) {
    case ShortcutAction::windowSmall: target.resize(480, wide); break;
    case ShortcutAction::windowStandard: target.resize(640, wide); break;
    case ShortcutAction::windowLarge: target.resize(960, wide); break;
    case ShortcutAction::windowPortrait: target.resize(420, tall); break;
    case ShortcutAction::windowSquare: target.resize(560, 1.0); break;
    case ShortcutAction::fitToVideo: target.fitToContent(wide); break;
    case ShortcutAction::moveTopLeft: target.move(WindowPosition::topLeft); break;
    case ShortcutAction::moveTopRight: target.move(WindowPosition::topRight); break;
    case ShortcutAction::moveBottomLeft: target.move(WindowPosition::bottomLeft); break;
    case ShortcutAction::moveBottomRight: target.move(WindowPosition::bottomRight); break;
    case ShortcutAction::moveCenter: target.move(WindowPosition::center); break;
    case ShortcutAction::opacityUp:
        session.setOpacity(std::min(session.opacity() + opacityStep, 1.0));
        break;
    case ShortcutAction::opacityDown:
        session.setOpacity(std::max(session.opacity() - opacityStep, faintestOpacity));
        break;
    case ShortcutAction::togglePin: session.setPinned(!session.isPinned()); break;
    case ShortcutAction::toggleCinema:
        if (target.window())
            target.toggleCinema();
        break;
    case ShortcutAction::windowScaleUp: target.scale(1.1); break;
    case ShortcutAction::windowScaleDown: target.scale(0.9); break;
    case ShortcutAction::toggleAllWindows:
    case ShortcutAction::playPause:
    case ShortcutAction::pasteAndOpen:
    case ShortcutAction::screenshot: break;
    }
}

PlayerWindowController *ShortcutDispatcher::target() const
{
    PlaybackSession *session = m_commands.activeSession();
    if (!session)
        session = m_model.mostRecentVisibleSession();
    return session ? m_model.controller(*session) : nullptr;
}

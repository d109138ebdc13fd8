#pragma once

#include "KiteCore/ShortcutAction.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// Reads the process arguments (also those a second launch forwards) into requests.
//
// Arguments after the program name, left to right:
//   --open <text>     open the text; "--open" with nothing after it does nothing
//   --settings        show the settings window
//   --onboarding      show the onboarding window
//   --action <name>   carry out a shortcut action ("toggleAllWindows", "playPause", … as
//                     bindings store them), so the desktop's own keyboard settings can bind
//                     keys to it; an unknown name does nothing
//   lumivane:…?url=X  open X (the first "url" query item that has a value)
//   other URLs        open their absolute string (a file manager passes file:// URLs)
//   /absolute/path    open it as a file URL (launchers may pass local files as paths)
// Anything else is ignored: plain words, relative paths and options of Qt or of other
// programs must not start a parse error at every launch. Everything from "--webEngineArgs"
// on belongs to the web engine and is not read.
namespace CommandLine {

struct Request final
{
    enum class Action { open, showSettings, showOnboarding, performShortcut };

    Action action = Action::open;
    // The text to open; empty for the other actions.
    QString text;
    // The shortcut action to carry out, for performShortcut.
    ShortcutAction shortcut = ShortcutAction::toggleAllWindows;

    bool operator==(const Request &other) const = default;
};

// arguments[0] is the program name, as in QCoreApplication::arguments().
QList<Request> parse(const QStringList &arguments);

// The text a URL handed to the application opens: the "url" query item of a lumivane: link
// when it has a value, otherwise the URL's absolute string.
QString openTextForUrl(const QUrl &url);

} // namespace CommandLine

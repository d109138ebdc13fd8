#pragma once

#include "playback/SiteAdapter.h"
#include "platform/WebPage.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// The scripts put into web pages: the user scripts installed in every new page (the
// primary-media finder, the clean-up styles and the site adapters' behaviour) and the
// scripts the session evaluates on demand. The JavaScript lives in the resource folder
// :/scripts.
namespace WebEnhancer {

// The adapter of the catalogue site the URL's host belongs to; none for other hosts.
std::optional<SiteAdapter> adapter(const QUrl &url);

// Two scripts with the same source joined from the parts that apply: installed at
// document ready, then at document creation (guards make the second run do nothing).
QList<WebPage::UserScript> scripts(const QUrl &url, bool cleanupEnabled, bool bilibiliClean);

// A JavaScript literal for the value: a double-quoted escaped string, or null.
QString jsLiteral(const std::optional<QString> &value);

// Evaluated by the session. Each is one expression whose value is the result.
// Records and pauses every playing video and audio element.
QString hidePauseScript();
// Resumes exactly the elements hidePauseScript paused.
QString showResumeScript();
// The page's preview image as an absolute http(s) URL, or ''.
QString pageThumbnailScript();
// The JSON text of what the debug scan of bilibili pages found.
QString siteStructureScanScript();
// The primary media element's state as JSON text, or '' without one.
QString mediaStateScript();
// Seeks the page's main video to target seconds and plays it.
QString recoveryScript(double target);

// What the player's controls do to the page (media-control.js).
enum class MediaControl { togglePlay, seek, volume, speed, loop, danmaku };
// One call of the page's control function. Values reach the page only as finite numbers in
// the C locale or as booleans: a number that is not finite gives an empty script.
QString mediaControlScript(MediaControl op);
QString mediaControlScript(MediaControl op, double value);
QString mediaControlScript(MediaControl op, bool value);

} // namespace WebEnhancer

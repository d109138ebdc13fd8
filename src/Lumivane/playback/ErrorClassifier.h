#pragma once

#include "KiteCore/AppError.h"
#include "platform/PlatformError.h"

#include <QString>

#include <optional>

// Every failure text of playback is written here: the platform adapters hand over codes
// and the engine's raw words, this turns them into what the user reads, in the language
// current at the moment of the call.
namespace ErrorClassifier {

// A platform failure, or none, as the user sees it. URL-loading failures are network
// errors; media failures are decode errors; anything else keeps fallbackKind. A URL-loading
// code without words of its own is told as a page that could not be opened when
// fallbackKind is web, else in the engine's words.
AppError classify(const std::optional<PlatformError> &error, AppError::Kind fallbackKind);

// The page's renderer process died.
AppError rendererStopped();
// The page's main frame tried to leave for a scheme that belongs to another program.
AppError otherApp(const QString &scheme);
// The page's media stayed frozen after a recovery attempt.
AppError webStall();
// A load still not done when the loading watchdog ran out. A local file that never opens
// (a pipe, a disk that does not answer) is no matter of the connection.
AppError watchdog(bool localFile = false);
// Native playback that moved on neither in time nor in data for stallSeconds.
AppError nativeStall(int stallSeconds);
// Native media that ended at position of a longer duration: a link is a dropped
// connection, a file an incomplete one.
AppError endedEarly(double position, double duration, bool localFile);

} // namespace ErrorClassifier

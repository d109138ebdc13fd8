#pragma once

#include "platform/PlatformError.h"

#include <QString>

// Turns the engine's network error codes (Chromium's net::Error, negative) into the neutral
// URL-loading record the session classifies, with the engine's text as the description.
// Codes without a URL-loading counterpart keep the engine's own code.
namespace ChromiumLoadError {
// net::ERR_ABORTED and net::ERR_TIMED_OUT, for loads the page itself ends.
constexpr int aborted = -3;
constexpr int timedOut = -7;

PlatformError toPlatformError(int chromiumError, const QString &description);
} // namespace ChromiumLoadError

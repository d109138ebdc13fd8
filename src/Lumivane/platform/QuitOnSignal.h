#pragma once

// Turns SIGTERM, SIGINT and SIGHUP into an orderly QCoreApplication::quit(), so that a
// session logout or Ctrl+C still saves the window list and stops playback.
namespace QuitOnSignal {
// Call once, after the application object exists. False when the signals could not be set up.
bool install();
} // namespace QuitOnSignal

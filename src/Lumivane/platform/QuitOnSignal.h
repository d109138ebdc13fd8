#pragma once

// Turns SIGTERM, SIGINT and SIGHUP into an orderly QCoreApplication::quit(), so that a
// session logout or Ctrl+C still saves the window list and stops playback. Before the event
// loop runs, and when a second signal comes while the loop has not answered the first, the
// signal ends the process at once: start-up and a stuck loop never make it unkillable.
namespace QuitOnSignal {
// Call once, after the application object exists. False when the signals could not be set up.
bool install();
} // namespace QuitOnSignal

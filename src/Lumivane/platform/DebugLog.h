#pragma once

#include <QByteArray>
#include <QString>

// The one diagnostics channel, silent unless LUMIVANE_DEBUG is exactly "1": "[kt] " lines on
// standard error, window and shortcut lines in /tmp/lumivane-grab.log, page-script messages
// in /tmp/kt-web.log. Callable from any thread; one process-wide lock keeps every line whole.
// Never fails and never reports.
namespace DebugLog {
bool enabled();

// A line on standard error, written as given (callers prefix "[kt] ").
void debug(const QString &message);

// A timestamped line in the grab log.
void grab(const QString &message);

// Bytes appended to the web log as given.
void web(const QByteArray &bytes);

// The grab log's line: seconds since 1970 (shortest form, '.' as decimal point), a space,
// the message unchanged, a line feed.
QByteArray line(double secondsSince1970, const QString &message);

// Tests only: write the grab log to another file; an empty path restores the fixed one.
void setFileForTesting(const QString &path);
} // namespace DebugLog

#pragma once

#include <QByteArray>
#include <QString>

// Diagnostic lines about window dragging, grab mode and placement, appended to
// /tmp/lumivane-grab.log when LUMIVANE_DEBUG is exactly "1". Callable from any thread;
// one process-wide lock keeps every line whole. Never fails and never reports.
namespace DebugLog {
void grab(const QString &message);

// The line as written: seconds since 1970 (shortest form, '.' as decimal point), a space,
// the message unchanged, a line feed.
QByteArray line(double secondsSince1970, const QString &message);

// Tests only: write to another file; an empty path restores the fixed one.
void setFileForTesting(const QString &path);
} // namespace DebugLog

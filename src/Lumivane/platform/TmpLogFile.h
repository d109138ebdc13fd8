#pragma once

#include <QByteArray>
#include <QString>

// Appending to diagnostic logs that live in a world-writable folder such as /tmp.
namespace TmpLogFile {

// Appends bytes with one write() so that lines stay whole. Never follows a symbolic link
// planted at path, and creates the file readable by its owner only. False when nothing
// could be written; callers logging diagnostics ignore it.
bool append(const QString &path, const QByteArray &bytes);

} // namespace TmpLogFile

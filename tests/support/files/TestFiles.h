#pragma once

#include <QByteArray>
#include <QString>

// Reading, writing and inspecting real files in the stores' tests.
namespace TestFiles {
// The permission bits of a file or folder, e.g. 0600.
int mode(const QString &path);
// The whole content, or empty when the file cannot be read.
QByteArray contentOf(const QString &path);
// Writes the content, creating the folders on the way; a failure fails the running test.
void writeContent(const QString &path, const QByteArray &data);
} // namespace TestFiles

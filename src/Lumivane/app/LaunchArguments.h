#pragma once

#include <QDir>
#include <QStringList>

// Prepares this launch's arguments before they are read here or handed to the running
// instance, which has another working folder.
namespace LaunchArguments {
// The value after each "--open" that names an existing file or folder relative to the given
// folder becomes an absolute path; links, absolute paths and everything else stay as they are.
QStringList absolutize(const QStringList &arguments, const QDir &workingFolder);
} // namespace LaunchArguments

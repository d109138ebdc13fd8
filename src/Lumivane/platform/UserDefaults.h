#pragma once

#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

// The user-defaults store: one INI file that only its owner may read. Everything that keeps
// settings (preferences, window states, the open-window list) goes through the one instance
// of standard().
namespace UserDefaults {
// Created on first use over AppPaths::settingsFile().
QSettings &standard();

// Opens an INI store at the given path. A missing folder is created 0700 and a missing file
// 0600 before the first write, so the atomic save that replaces it keeps those rights; an
// existing folder is made 0700 (never a file or link in its place). A
// file that is not settings text (or no regular file, or absurdly large) is kept aside as
// "<name>.damaged-<time>" first, and the store starts empty.
std::unique_ptr<QSettings> open(const QString &file);

// Writes pending changes to disk now and keeps the file readable by its owner only. The
// text for the user when they could not be written.
std::optional<QString> save(QSettings &settings);
} // namespace UserDefaults

#pragma once

#include "windows/StoredWindowState.h"

#include <QSettings>
#include <QString>
#include <QUrl>

#include <optional>

// One JSON record per source URL in the user-defaults store, so a source's window comes
// back where and how it was. Records are never removed. Every failure is silent: an
// unreadable record reads as none, a failed encode keeps the old record.
namespace WindowStateStore {
// "winstate." + FNV-1a 64 of the URL's absolute string (UTF-8), lower-case hex.
QString key(const QUrl &url);
std::optional<StoredWindowState> load(QSettings &settings, const QUrl &url);
void save(QSettings &settings, const StoredWindowState &state, const QUrl &url);
} // namespace WindowStateStore

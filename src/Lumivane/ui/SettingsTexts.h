#pragma once

#include "KiteCore/SiteCapability.h"

#include <QString>

// The settings window's texts that depend on a value, in the current interface language.
namespace SettingsTexts {

// "12 items, 3 favorites." or that nothing is saved.
QString historySummary(int count, int favorites);
// The clear-history confirmation's message.
QString clearHistoryMessage(int count);
// The hot-key status line; an empty status means no pass has run yet.
QString shortcutStatusLine(const QString &status);
// The sites of one tier joined with " · ", with their number.
QString siteTierLine(SiteCapability capability);
// Where the way back to every window is: the tray icon, or without a tray the home
// window's Windows section.
QString wayBack(bool hasTray);
// "Enable global shortcuts" detail and the restore-all line of "Getting windows back".
QString globalShortcutsDetail(bool hasTray);
QString restoreAllDetail(bool hasTray);

} // namespace SettingsTexts

#pragma once

#include "app/HomeSection.h"

#include "KiteCore/MediaKind.h"

#include <QDateTime>
#include <QString>

// The home window's texts that depend on a value: headers, counts, times and the notes that
// name the tray only where there is one.
namespace HomeTexts {

QString sectionName(HomeSection section);
QString sectionTitle(HomeSection section);
QString sectionSubtitle(HomeSection section);

// "just now", "N min ago", "N h ago", "N d ago", then the short date.
QString relativeTime(const QDateTime &then, const QDateTime &now);
// "Link" for web pages and media links, "Local" for files.
QString kindLabel(MediaKind kind);
// round(progress × 100) followed by "% watched".
QString watched(double progress);

QString siteSupport(int adapted, int experimental, int unsupported);
QString clearHistoryMessage(int count);
QString itemCount(int count);
QString playingCount(int count);
QString hiddenCount(int count);

// Where a lost or hidden window is found again: the tray icon only where there is a tray.
QString lostWindowTip(bool hasTray);
QString hideHelp(bool hasTray);

} // namespace HomeTexts

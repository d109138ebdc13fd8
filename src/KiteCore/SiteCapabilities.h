#pragma once

#include "KiteCore/SiteCapability.h"
#include "KiteCore/SiteStatus.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// Grades every known site: adapted, experimental (a catalogue entry without site scripts) or
// unsupported (DRM or anti-bot protection). Hosts follow SiteCatalog's rules: std::nullopt,
// null or blank means "no host"; unknown hosts have no status.
namespace SiteCapabilities {
const QSet<QString> &adaptedIDs();
const QSet<QString> &experimentalIDs();

std::optional<SiteStatus> status(const std::optional<QString> &host);
// Every known site: the catalogue in order, then the unsupported sites in order.
const QList<SiteStatus> &listed();
QList<SiteStatus> statuses(SiteCapability capability);

// User-visible texts in the current interface language.
QString label(SiteCapability capability);
QString explanation(SiteCapability capability);
// The player menu's suffix after the site's display name, e.g. ": Adapted".
QString statusSuffix(const SiteStatus &status);
// The player menu's whole line: display name followed by the suffix.
QString menuTitle(const SiteStatus &status);
} // namespace SiteCapabilities

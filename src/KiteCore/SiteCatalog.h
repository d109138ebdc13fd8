#pragma once

#include "KiteCore/SiteEntry.h"

#include <QList>
#include <QString>

#include <optional>

// The sites the application knows by host. A host argument is optional: std::nullopt, a null
// or a blank string all mean "no host" and match nothing. Matching ignores letter case and
// covers every subdomain of a listed host, never a mere suffix without a dot boundary.
namespace SiteCatalog {
const QList<SiteEntry> &entries();
std::optional<SiteEntry> match(const std::optional<QString> &host);
std::optional<SiteEntry> entry(const QString &id);
std::optional<QString> displayName(const std::optional<QString> &host);

// True when host (already lower case) is pattern or one of its subdomains.
bool hostMatches(const QString &host, const QString &pattern);
} // namespace SiteCatalog

#pragma once

#include "KiteCore/SiteCapability.h"

#include <QString>

#include <optional>

// The classification of one known site; unsupportedReason is present only for unsupported sites.
struct SiteStatus final
{
    QString siteID;
    QString displayName;
    SiteCapability capability = SiteCapability::experimental;
    std::optional<SiteUnsupportedReason> unsupportedReason;

    bool operator==(const SiteStatus &other) const = default;
};

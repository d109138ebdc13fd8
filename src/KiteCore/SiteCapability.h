#pragma once

#include <QString>

#include <array>
#include <optional>

// How well a known site plays inside the embedded web engine.
enum class SiteCapability { adapted, experimental, unsupported };

// Why an unsupported site does not play.
enum class SiteUnsupportedReason { drm, antiBot };

namespace SiteCapabilityCases {
inline constexpr std::array<SiteCapability, 3> allCases{
    SiteCapability::adapted, SiteCapability::experimental, SiteCapability::unsupported};
}

QString toRaw(SiteCapability capability);
std::optional<SiteCapability> siteCapabilityFromRaw(const QString &raw);

QString toRaw(SiteUnsupportedReason reason);
std::optional<SiteUnsupportedReason> siteUnsupportedReasonFromRaw(const QString &raw);

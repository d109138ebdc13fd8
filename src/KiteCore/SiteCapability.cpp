#include "KiteCore/SiteCapability.h"

#include "KiteCore/RawValue.h"

#include <array>

QString toRaw(SiteCapability capability)
{
    switch (capability) {
    case SiteCapability::adapted: return QStringLiteral("adapted");
    case SiteCapability::experimental: return QStringLiteral("experimental");
    case SiteCapability::unsupported: return QStringLiteral("unsupported");
    }
    return QStringLiteral("experimental");
}

std::optional<SiteCapability> siteCapabilityFromRaw(const QString &raw)
{
    return caseFromRaw(SiteCapabilityCases::allCases, raw);
}

QString toRaw(SiteUnsupportedReason reason)
{
    switch (reason) {
    case SiteUnsupportedReason::drm: return QStringLiteral("drm");
    case SiteUnsupportedReason::antiBot: return QStringLiteral("antiBot");
    }
    return QStringLiteral("drm");
}

std::optional<SiteUnsupportedReason> siteUnsupportedReasonFromRaw(const QString &raw)
{
    return caseFromRaw(std::array{SiteUnsupportedReason::drm, SiteUnsupportedReason::antiBot}, raw);
}

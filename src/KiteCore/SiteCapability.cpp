#include "KiteCore/SiteCapability.h"

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
    for (SiteCapability capability : SiteCapabilityCases::allCases) {
        if (toRaw(capability) == raw)
            return capability;
    }
    return std::nullopt;
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
    for (SiteUnsupportedReason reason : {SiteUnsupportedReason::drm, SiteUnsupportedReason::antiBot}) {
        if (toRaw(reason) == raw)
            return reason;
    }
    return std::nullopt;
}

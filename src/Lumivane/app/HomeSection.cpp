#include "app/HomeSection.h"

#include "KiteCore/RawValue.h"

#include <array>

QString toRaw(HomeSection section)
{
    switch (section) {
    case HomeSection::open: return QStringLiteral("open");
    case HomeSection::recent: return QStringLiteral("recent");
    case HomeSection::favorites: return QStringLiteral("favorites");
    case HomeSection::windows: return QStringLiteral("windows");
    case HomeSection::playlist: return QStringLiteral("playlist");
    }
    return QStringLiteral("open");
}

std::optional<HomeSection> homeSectionFromRaw(const QString &raw)
{
    return caseFromRaw(std::array{HomeSection::open, HomeSection::recent, HomeSection::favorites,
                                    HomeSection::windows, HomeSection::playlist}, raw);
}

#include "KiteCore/AppLanguage.h"

QString toRaw(AppLanguage language)
{
    switch (language) {
    case AppLanguage::system: return QStringLiteral("system");
    case AppLanguage::zh: return QStringLiteral("zh");
    case AppLanguage::en: return QStringLiteral("en");
    case AppLanguage::es: return QStringLiteral("es");
    }
    return QStringLiteral("system");
}

std::optional<AppLanguage> appLanguageFromRaw(const QString &raw)
{
    for (AppLanguage language : AppLanguages::allCases) {
        if (toRaw(language) == raw)
            return language;
    }
    return std::nullopt;
}

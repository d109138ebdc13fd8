#include "KiteCore/AppLanguage.h"

#include "KiteCore/RawValue.h"

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
    return caseFromRaw(AppLanguages::allCases, raw);
}

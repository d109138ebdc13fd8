#pragma once

#include <QString>

#include <array>
#include <optional>

enum class AppLanguage { system, zh, en, es };

namespace AppLanguages {
inline constexpr std::array<AppLanguage, 4> allCases{AppLanguage::system, AppLanguage::zh,
                                                     AppLanguage::en, AppLanguage::es};
}

QString toRaw(AppLanguage language);
std::optional<AppLanguage> appLanguageFromRaw(const QString &raw);

#pragma once

#include "KiteCore/AppLanguage.h"

#include <QString>
#include <QStringList>

// The interface language. Every user-visible text is written where it is used as three
// literals (Chinese, English, Spanish); the choice is made each time a text is built,
// so a change of language applies to every text built afterwards.
namespace L10n {
AppLanguage language();
void setLanguage(AppLanguage language);

// The language to use now; never AppLanguage::system.
AppLanguage resolved();
AppLanguage resolve(const QStringList &preferred);

QString text(const QString &zh, const QString &en, const QString &es);
} // namespace L10n

QString L(const QString &zh, const QString &en, const QString &es);
QString L(const char *zh, const char *en, const char *es);

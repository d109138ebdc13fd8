#include "KiteCore/L10n.h"

#include <QLocale>

#include <atomic>

namespace {
std::atomic<AppLanguage> g_language{AppLanguage::system};
}

namespace L10n {

AppLanguage language()
{
    return g_language.load(std::memory_order_relaxed);
}

void setLanguage(AppLanguage language)
{
    g_language.store(language, std::memory_order_relaxed);
}

AppLanguage resolved()
{
    const AppLanguage chosen = language();
    if (chosen != AppLanguage::system)
        return chosen;
    return resolve(QLocale::system().uiLanguages());
}

AppLanguage resolve(const QStringList &preferred)
{
    for (const QString &identifier : preferred) {
        const QStringList pieces =
            identifier.toLower().replace(u'_', u'-').split(u'-', Qt::SkipEmptyParts);
        if (pieces.isEmpty())
            continue;
        const QString &primary = pieces.first();
        if (primary == u"zh")
            return AppLanguage::zh;
        if (primary == u"es")
            return AppLanguage::es;
        if (primary == u"en")
            return AppLanguage::en;
    }
    return AppLanguage::en;
}

QString text(const QString &zh, const QString &en, const QString &es)
{
    switch (resolved()) {
    case AppLanguage::zh: return zh;
    case AppLanguage::es: return es;
    case AppLanguage::en:
    case AppLanguage::system: break;
    }
    return en;
}

} // namespace L10n

QString L(const QString &zh, const QString &en, const QString &es)
{
    return L10n::text(zh, en, es);
}

QString L(const char *zh, const char *en, const char *es)
{
    return L10n::text(QString::fromUtf8(zh), QString::fromUtf8(en), QString::fromUtf8(es));
}

#include "KiteCore/L10n.h"

#include <QTest>

class TestL10n : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // The first preferred language with a known primary subtag; English when there is none.
    void resolve()
    {
        struct Row { QStringList preferred; AppLanguage expected; };
        const Row rows[] = {{{}, AppLanguage::en},           {{"pt-BR"}, AppLanguage::en},
                            {{"fr-FR", "es-MX"}, AppLanguage::es}, {{"zh-Hant-TW"}, AppLanguage::zh},
                            {{"zh_TW"}, AppLanguage::zh},       {{"EN-GB"}, AppLanguage::en},
                            {{"", "--es--"}, AppLanguage::es},  {{"esperanto", "zh"}, AppLanguage::zh}};
        for (const Row &row : rows)
            QVERIFY2(L10n::resolve(row.preferred) == row.expected, qPrintable(row.preferred.join(u',')));
    }

    // A text built after a switch is in the new language.
    void switching()
    {
        struct Row { AppLanguage chosen; QString expected; };
        const Row rows[] = {{AppLanguage::zh, "中文"}, {AppLanguage::es, "Español"}, {AppLanguage::en, "English"}};
        for (const Row &row : rows) {
            L10n::setLanguage(row.chosen);
            QCOMPARE(L10n::resolved(), row.chosen);
            QCOMPARE(L("中文", "English", "Español"), row.expected);
            QCOMPARE(L(QStringLiteral("中文"), QStringLiteral("English"), QStringLiteral("Español")), row.expected);
        }
        L10n::setLanguage(AppLanguage::system);
        QCOMPARE(L10n::resolved(), L10n::resolve(QLocale::system().uiLanguages()));
    }

    void rawValues()
    {
        for (AppLanguage language : AppLanguages::allCases)
            QCOMPARE(appLanguageFromRaw(toRaw(language)), language);
        QVERIFY(toRaw(AppLanguage::system) == "system" && !appLanguageFromRaw("ZH"));
    }
};

QTEST_GUILESS_MAIN(TestL10n)
#include "tst_l10n.moc"

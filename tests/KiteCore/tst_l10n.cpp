#include "KiteCore/L10n.h"

#include <QTest>

class TestL10n : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void resolve_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<AppLanguage>("expected");
        QTest::newRow("empty list") << QStringList{} << AppLanguage::en;
        QTest::newRow("first known wins") << QStringList{"fr-FR", "es-MX"} << AppLanguage::es;
        QTest::newRow("traditional script") << QStringList{"zh-Hant-TW"} << AppLanguage::zh;
        QTest::newRow("underscore form") << QStringList{"zh_TW"} << AppLanguage::zh;
        QTest::newRow("unknown only") << QStringList{"pt-BR"} << AppLanguage::en;
        QTest::newRow("capitals") << QStringList{"EN-GB"} << AppLanguage::en;
        QTest::newRow("empty pieces skipped") << QStringList{"--es--"} << AppLanguage::es;
        QTest::newRow("blank entries skipped") << QStringList{"", "-", "zh"} << AppLanguage::zh;
        QTest::newRow("prefix is not a subtag") << QStringList{"esperanto", "zh"} << AppLanguage::zh;
    }

    void resolve()
    {
        QFETCH(QStringList, preferred);
        QFETCH(AppLanguage, expected);
        QCOMPARE(L10n::resolve(preferred), expected);
    }

    void explicitChoiceWins_data()
    {
        QTest::addColumn<AppLanguage>("chosen");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zh") << AppLanguage::zh << QStringLiteral("中文");
        QTest::newRow("en") << AppLanguage::en << QStringLiteral("English");
        QTest::newRow("es") << AppLanguage::es << QStringLiteral("Español");
    }

    void explicitChoiceWins()
    {
        QFETCH(AppLanguage, chosen);
        QFETCH(QString, expected);
        L10n::setLanguage(chosen);
        QCOMPARE(L10n::resolved(), chosen);
        QCOMPARE(L("中文", "English", "Español"), expected);
        QCOMPARE(L(QStringLiteral("中文"), QStringLiteral("English"), QStringLiteral("Español")),
                 expected);
    }

    void systemFollowsLocale()
    {
        // The test runs under a German locale, which none of the three languages matches.
        L10n::setLanguage(AppLanguage::system);
        const AppLanguage expected = L10n::resolve(QLocale::system().uiLanguages());
        QCOMPARE(L10n::resolved(), expected);
        QVERIFY(L10n::resolved() != AppLanguage::system);
    }

    void rawValuesRoundTrip()
    {
        for (AppLanguage language : AppLanguages::allCases)
            QCOMPARE(appLanguageFromRaw(toRaw(language)), language);
        QCOMPARE(toRaw(AppLanguage::system), QStringLiteral("system"));
        QVERIFY(!appLanguageFromRaw(QStringLiteral("ZH")).has_value());
        QVERIFY(!appLanguageFromRaw(QString()).has_value());
    }
};

QTEST_GUILESS_MAIN(TestL10n)
#include "tst_l10n.moc"

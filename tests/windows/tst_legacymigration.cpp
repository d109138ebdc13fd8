#include "platform/AppPaths.h"
#include "windows/LegacyMigration.h"

#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <QTest>

using TestFiles::contentOf;
using TestFiles::writeContent;

class TestLegacyMigration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every key but the platform's is copied, unless the current settings show an earlier
    // run; a key the current settings hold keeps its value.
    void defaults()
    {
        struct Row { QStringList legacy; QString existing; QStringList copied; };
        const QStringList mine{u"appLanguage"_qs, u"winstate.8abd908f52188c2"_qs};
        const QList<Row> rows{
            {{u"NSWindow Frame"_qs, u"AppleLanguages"_qs, u"com.apple.trackpad"_qs, u"appLanguage"_qs}, {}, {u"appLanguage"_qs}},
            {{u"nsValue"_qs, u"appleJuice"_qs}, {}, {u"appleJuice"_qs, u"nsValue"_qs}},
            {mine, u"appLanguage"_qs, {u"winstate.8abd908f52188c2"_qs}},
            {mine, u"onboarded"_qs, {}},
            {mine, u"lastWindowURLs"_qs, {}},
        };
        for (const Row &row : rows) {
            const TemporaryHome home;
            QSettings legacy(home.filePath(u"legacy.conf"_qs), QSettings::IniFormat);
            for (const QString &key : row.legacy)
                legacy.setValue(key, u"legacy"_qs);
            legacy.sync();
            QSettings standard(home.filePath(u"standard.conf"_qs), QSettings::IniFormat);
            if (!row.existing.isEmpty())
                standard.setValue(row.existing, u"current"_qs);
            QCOMPARE(LegacyMigration::migrateDefaults(standard, legacy), row.copied.size());
            QStringList copied = standard.allKeys();
            copied.removeOne(row.existing);
            QCOMPARE(copied, row.copied);
        }
    }

    // A folder moves only onto a free name: anything there, a dangling link too, stays.
    void folders()
    {
        struct Row { bool legacyIsFolder; QByteArray current; bool danglingLink; bool moved; };
        for (const Row &row : QList<Row>{{true, {}, false, true}, {true, "current", false, false},
                                         {true, {}, true, false}, {false, {}, false, false}}) {
            const TemporaryHome home;
            const QString legacy = home.filePath(u"Kitelamp"_qs);
            const QString current = home.filePath(u"Lumivane"_qs);
            writeContent(row.legacyIsFolder ? legacy + u"/history.json"_qs : legacy, "legacy");
            if (!row.current.isNull())
                writeContent(current + u"/history.json"_qs, row.current);
            QVERIFY(!row.danglingLink || QFile::link(home.filePath(u"missing"_qs), current));
            QCOMPARE(LegacyMigration::migrateScreenshots(legacy, current), row.moved);
            QCOMPARE(QFileInfo::exists(legacy), !row.moved);
            QCOMPARE(contentOf(current + u"/history.json"_qs), row.moved ? QByteArray("legacy") : row.current);
        }
        QVERIFY(!LegacyMigration::migrateApplicationSupport(QString(), u"/tmp/x"_qs));
    }

    // One launch moves settings, data and screenshots to the current names, whatever the
    // test mode; the settings are the user's own.
    void run()
    {
        const TemporaryHome home;
        qputenv("LUMIVANE_TEST_MODE", "1");
        QSettings(AppPaths::legacySettingsFile(), QSettings::IniFormat).setValue(u"appLanguage"_qs, u"es"_qs);
        writeContent(AppPaths::legacyDataFolder() + u"/history.json"_qs, "history");
        writeContent(AppPaths::legacyScreenshotFolder() + u"/shot.png"_qs, "png");
        LegacyMigration::run();
        qunsetenv("LUMIVANE_TEST_MODE");
        QCOMPARE(QSettings(AppPaths::settingsFile(), QSettings::IniFormat).value(u"appLanguage"_qs), u"es"_qs);
        QCOMPARE(TestFiles::mode(AppPaths::settingsFile()), 0600);
        QCOMPARE(contentOf(home.dataHome() + u"/Lumivane/history.json"_qs), QByteArray("history"));
        QCOMPARE(contentOf(AppPaths::screenshotFolder() + u"/shot.png"_qs), QByteArray("png"));
        QVERIFY(QFileInfo::exists(AppPaths::legacySettingsFile()));
    }
};

QTEST_GUILESS_MAIN(TestLegacyMigration)
#include "tst_legacymigration.moc"

#include "platform/AppPaths.h"
#include "windows/LegacyMigration.h"

#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

using TestFiles::contentOf;
using TestFiles::writeContent;

class TestLegacyMigration : public QObject
{
    Q_OBJECT

private:
    // Copies the legacy keys into a fresh standard file that already holds `existing`;
    // returns the count and what the standard file holds then.
    static std::pair<int, QStringList> migrate(const QStringList &legacyKeys, const QStringList &existing = {})
    {
        const TemporaryHome home;
        QSettings legacy(home.filePath(u"legacy.conf"_qs), QSettings::IniFormat);
        for (const QString &key : legacyKeys)
            legacy.setValue(key, u"legacy"_qs);
        legacy.sync();
        QSettings standard(home.filePath(u"standard.conf"_qs), QSettings::IniFormat);
        for (const QString &key : existing)
            standard.setValue(key, u"current"_qs);
        const int copied = LegacyMigration::migrateDefaults(standard, legacy);
        QStringList copiedKeys;
        for (const QString &key : standard.allKeys()) {
            if (standard.value(key) == u"legacy"_qs)
                copiedKeys << key;
        }
        return {copied, copiedKeys};
    }

private Q_SLOTS:
    void defaults()
    {
        struct Row {
            const char *name;
            QStringList legacy;
            QStringList existing;
            QStringList copied;
        };
        const QStringList mine{u"appLanguage"_qs, u"winstate.8abd908f52188c2"_qs};
        const QList<Row> rows{
            {"platform keys stay behind",
             {u"NSWindow Frame main"_qs, u"AppleLanguages"_qs, u"com.apple.trackpad"_qs, u"appLanguage"_qs},
             {},
             {u"appLanguage"_qs}},
            {"only capitalised prefixes are the platform's", {u"nsValue"_qs, u"appleJuice"_qs}, {},
             {u"appleJuice"_qs, u"nsValue"_qs}},
            {"a current key wins", mine, {u"appLanguage"_qs}, {u"winstate.8abd908f52188c2"_qs}},
            {"onboarded: ran before", mine, {u"onboarded"_qs}, {}},
            {"window list: ran before", mine, {u"lastWindowURLs"_qs}, {}},
        };
        for (const Row &row : rows) {
            const auto [count, copied] = migrate(row.legacy, row.existing);
            QVERIFY2(copied == row.copied && count == row.copied.size(), row.name);
        }
    }

    // A folder moves only onto a free name; anything there, a dangling link too, stays.
    void folders()
    {
        struct Row {
            const char *name;
            bool legacyIsFolder;
            bool currentTaken;
            bool danglingLink;
            bool moved;
        };
        const QList<Row> rows{
            {"moved", true, false, false, true},
            {"current folder kept", true, true, false, false},
            {"dangling link kept", true, false, true, false},
            {"legacy is a file", false, false, false, false},
        };
        for (const Row &row : rows) {
            const TemporaryHome home;
            const QString legacy = home.filePath(u"Kitelamp"_qs);
            const QString current = home.filePath(u"Lumivane"_qs);
            writeContent(row.legacyIsFolder ? legacy + u"/history.json"_qs : legacy, "legacy");
            if (row.currentTaken)
                writeContent(current + u"/history.json"_qs, "current");
            if (row.danglingLink)
                QVERIFY(QFile::link(home.filePath(u"missing"_qs), current));
            QVERIFY2(LegacyMigration::migrateScreenshots(legacy, current) == row.moved, row.name);
            QCOMPARE(QFileInfo::exists(legacy), !row.moved);
            QCOMPARE(contentOf(current + u"/history.json"_qs),
                     QByteArray(row.moved ? "legacy" : row.currentTaken ? "current" : ""));
        }
        QVERIFY(!LegacyMigration::migrateApplicationSupport(QString(), u"/tmp/x"_qs));
    }

    // One launch moves settings, data and screenshots to the current names, whatever the test
    // mode; the settings are the user's own.
    void run()
    {
        const TemporaryHome home;
        qputenv("LUMIVANE_TEST_MODE", "1");
        {
            QSettings legacy(AppPaths::legacySettingsFile(), QSettings::IniFormat);
            legacy.setValue(u"appLanguage"_qs, u"es"_qs);
        }
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

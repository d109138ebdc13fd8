#include "platform/AppPaths.h"
#include "windows/LegacyMigration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {

enum class Entry { nothing, folder, file, danglingLink };

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Puts the given kind of entry at path, each marked with its own content.
bool create(Entry entry, const QString &path, const QByteArray &marker)
{
    switch (entry) {
    case Entry::nothing: return true;
    case Entry::folder: return writeFile(path + QStringLiteral("/history.json"), marker);
    case Entry::file: return writeFile(path, marker);
    case Entry::danglingLink: return QFile::link(path + QStringLiteral(".missing"), path);
    }
    return false;
}

// What is at path now, in a form two snapshots can be compared by.
QString describe(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (info.isDir())
        return QStringLiteral("folder: ")
            + QString::fromUtf8(readFile(path + QStringLiteral("/history.json")));
    if (info.exists())
        return QStringLiteral("file: ") + QString::fromUtf8(readFile(path));
    return QStringLiteral("nothing");
}

void writeLegacySettings(const QString &path, const QVariantMap &values)
{
    QSettings legacy(path, QSettings::IniFormat);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        legacy.setValue(it.key(), it.value());
}

const QVariantMap legacyValues{
    {QStringLiteral("appLanguage"), QStringLiteral("es")},
    {QStringLiteral("defaultVolume"), 0.4},
    {QStringLiteral("lastWindowURLs"),
     QStringList{QStringLiteral("file:///tmp/a.mp4"), QStringLiteral("https://example.com/v")}},
    {QStringLiteral("winstate.8abd908f52188c2"), QByteArray(R"({"frame":"{{1, 2}, {3, 4}}"})")},
    {QStringLiteral("NSWindow Frame main"), QStringLiteral("0 0 100 100")},
    {QStringLiteral("AppleLanguages"), QStringList{QStringLiteral("es")}},
};

} // namespace

Q_DECLARE_METATYPE(Entry)

class TestLegacyMigration : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    QString path(const QString &relative) const { return m_root->filePath(relative); }
    QString standardFile() const { return path(QStringLiteral("standard.conf")); }
    QString legacyFile() const { return path(QStringLiteral("legacy.conf")); }

    int migrate()
    {
        QSettings standard(standardFile(), QSettings::IniFormat);
        QSettings legacy(legacyFile(), QSettings::IniFormat);
        return LegacyMigration::migrateDefaults(standard, legacy);
    }

private Q_SLOTS:
    // Every test gets fresh XDG folders and a fresh home, never the user's.
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        qputenv("HOME", QFile::encodeName(path(QStringLiteral("home"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
        qunsetenv("LUMIVANE_TEST_MODE");
    }

    void cleanup() { m_root.reset(); }

    void copiesEverythingButPlatformKeysWhenNeverRun()
    {
        writeLegacySettings(legacyFile(), legacyValues);
        const QByteArray legacyBefore = readFile(legacyFile());
        QCOMPARE(migrate(), legacyValues.size() - 2);
        QCOMPARE(readFile(legacyFile()), legacyBefore);

        QSettings standard(standardFile(), QSettings::IniFormat);
        QSettings legacy(legacyFile(), QSettings::IniFormat);
        for (const QString &key : legacyValues.keys()) {
            const bool platform = key.startsWith(u"NS") || key.startsWith(u"Apple");
            QCOMPARE(standard.contains(key), !platform);
            if (!platform)
                QCOMPARE(standard.value(key), legacy.value(key));
        }
        QCOMPARE(standard.value(QStringLiteral("winstate.8abd908f52188c2")).metaType().id(),
                 QMetaType::QByteArray);
    }

    void platformKeyPrefixes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("copied");
        QTest::newRow("NS window frame") << "NSWindow Frame main" << false;
        QTest::newRow("bare NS") << "NS" << false;
        QTest::newRow("Apple") << "AppleInterfaceStyle" << false;
        QTest::newRow("com.apple") << "com.apple.trackpad.scaling" << false;
        QTest::newRow("com.apple prefix of a longer word") << "com.applesauce" << false;
        QTest::newRow("lower-case ns") << "nsSomething" << true;
        QTest::newRow("lower-case apple") << "appleJuice" << true;
        QTest::newRow("NS inside") << "lastNSValue" << true;
        QTest::newRow("other reverse domain") << "com.example.key" << true;
        QTest::newRow("app key") << "appLanguage" << true;
    }

    void platformKeyPrefixes()
    {
        QFETCH(QString, key);
        QFETCH(bool, copied);
        writeLegacySettings(legacyFile(), {{key, QStringLiteral("value")}});
        QCOMPARE(migrate(), copied ? 1 : 0);
        QSettings standard(standardFile(), QSettings::IniFormat);
        QCOMPARE(standard.contains(key), copied);
    }

    void currentSettingsWin_data()
    {
        QTest::addColumn<QString>("existingKey");
        QTest::addColumn<bool>("othersCopied");
        QTest::addColumn<int>("keysAfter");
        QTest::newRow("onboarded guards") << "onboarded" << false << 1;
        QTest::newRow("lastWindowURLs guards") << "lastWindowURLs" << false << 1;
        QTest::newRow("same key kept, rest copied") << "appLanguage" << true << 4;
        QTest::newRow("unrelated key, rest copied") << "theme" << true << 5;
    }

    void currentSettingsWin()
    {
        QFETCH(QString, existingKey);
        QFETCH(bool, othersCopied);
        QFETCH(int, keysAfter);
        {
            QSettings standard(standardFile(), QSettings::IniFormat);
            standard.setValue(existingKey, QStringLiteral("current"));
        }
        writeLegacySettings(legacyFile(), legacyValues);
        migrate();

        QSettings standard(standardFile(), QSettings::IniFormat);
        QCOMPARE(standard.value(existingKey), QVariant(QStringLiteral("current")));
        QCOMPARE(standard.contains(QStringLiteral("defaultVolume")), othersCopied);
        QCOMPARE(standard.allKeys().size(), keysAfter);
    }

    void nothingToReadNothingWritten_data()
    {
        QTest::addColumn<QByteArray>("legacyContent");
        QTest::addColumn<bool>("legacyExists");
        QTest::newRow("no legacy file") << QByteArray() << false;
        QTest::newRow("unparsable legacy file") << QByteArray("\xff\xfe[[[\n===\n[x\nfoo") << true;
    }

    void nothingToReadNothingWritten()
    {
        QFETCH(QByteArray, legacyContent);
        QFETCH(bool, legacyExists);
        if (legacyExists)
            QVERIFY(writeFile(legacyFile(), legacyContent));
        QCOMPARE(migrate(), 0);
        QVERIFY(!QFileInfo::exists(standardFile()));
        QCOMPARE(QFileInfo::exists(legacyFile()), legacyExists);
        QCOMPARE(readFile(legacyFile()), legacyContent);
    }

    void folders_data()
    {
        QTest::addColumn<bool>("screenshots");
        QTest::addColumn<Entry>("legacy");
        QTest::addColumn<Entry>("current");
        QTest::addColumn<bool>("moved");
        for (const bool screenshots : {false, true}) {
            const char *step = screenshots ? "screenshots" : "data";
            QTest::addRow("%s: moved when current missing", step)
                << screenshots << Entry::folder << Entry::nothing << true;
            QTest::addRow("%s: current folder kept", step)
                << screenshots << Entry::folder << Entry::folder << false;
            QTest::addRow("%s: current file kept", step)
                << screenshots << Entry::folder << Entry::file << false;
            QTest::addRow("%s: dangling link kept", step)
                << screenshots << Entry::folder << Entry::danglingLink << false;
            QTest::addRow("%s: legacy is a file", step)
                << screenshots << Entry::file << Entry::nothing << false;
            QTest::addRow("%s: no legacy", step)
                << screenshots << Entry::nothing << Entry::nothing << false;
        }
    }

    void folders()
    {
        QFETCH(bool, screenshots);
        QFETCH(Entry, legacy);
        QFETCH(Entry, current);
        QFETCH(bool, moved);
        const QString legacyPath = path(QStringLiteral("from/Kitelamp"));
        const QString currentPath = path(QStringLiteral("to/Lumivane"));
        QDir().mkpath(path(QStringLiteral("from")));
        QDir().mkpath(path(QStringLiteral("to")));
        QVERIFY(create(legacy, legacyPath, "legacy"));
        QVERIFY(create(current, currentPath, "current"));
        const QString legacyBefore = describe(legacyPath);
        const QString currentBefore = describe(currentPath);

        const bool result = screenshots
            ? LegacyMigration::migrateScreenshots(legacyPath, currentPath)
            : LegacyMigration::migrateApplicationSupport(legacyPath, currentPath);

        QCOMPARE(result, moved);
        QCOMPARE(describe(legacyPath), moved ? QStringLiteral("nothing") : legacyBefore);
        QCOMPARE(describe(currentPath), moved ? legacyBefore : currentBefore);
    }

    void unknownLocationsDoNothing_data()
    {
        QTest::addColumn<bool>("legacyKnown");
        QTest::addColumn<bool>("currentKnown");
        QTest::newRow("no legacy path") << false << true;
        QTest::newRow("no current path") << true << false;
    }

    void unknownLocationsDoNothing()
    {
        QFETCH(bool, legacyKnown);
        QFETCH(bool, currentKnown);
        const QString legacyPath = path(QStringLiteral("Kitelamp"));
        QVERIFY(create(Entry::folder, legacyPath, "legacy"));
        const QString from = legacyKnown ? legacyPath : QString();
        const QString to = currentKnown ? path(QStringLiteral("Lumivane")) : QString();
        QVERIFY(!LegacyMigration::migrateApplicationSupport(from, to));
        QVERIFY(!LegacyMigration::migrateScreenshots(from, to));
        QCOMPARE(describe(legacyPath), QStringLiteral("folder: legacy"));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("Lumivane"))));
    }

    // A rename cannot cross file systems; the folder must then stay whole where it was
    // rather than be half copied.
    void moveAcrossFileSystemsLeavesLegacyWhole()
    {
        QTemporaryDir otherFileSystem(QStringLiteral("/dev/shm/lumivane-migration-XXXXXX"));
        if (!otherFileSystem.isValid())
            QSKIP("no /dev/shm");
        struct stat here {};
        struct stat there {};
        QVERIFY(::stat(QFile::encodeName(m_root->path()).constData(), &here) == 0);
        QVERIFY(::stat(QFile::encodeName(otherFileSystem.path()).constData(), &there) == 0);
        if (here.st_dev == there.st_dev)
            QSKIP("/dev/shm is on the same file system as the temporary folder");

        const QString legacyPath = otherFileSystem.filePath(QStringLiteral("Kitelamp"));
        QVERIFY(create(Entry::folder, legacyPath, "legacy"));
        QVERIFY(writeFile(legacyPath + QStringLiteral("/thumbs/1.jpg"), "jpeg"));
        const QString currentPath = path(QStringLiteral("Lumivane"));

        QVERIFY(!LegacyMigration::migrateApplicationSupport(legacyPath, currentPath));
        QCOMPARE(describe(legacyPath), QStringLiteral("folder: legacy"));
        QCOMPARE(readFile(legacyPath + QStringLiteral("/thumbs/1.jpg")), QByteArray("jpeg"));
        QVERIFY(!QFileInfo::exists(currentPath));
    }

    void runMovesEverythingToTheCurrentNames_data()
    {
        QTest::addColumn<QByteArray>("testMode");
        QTest::newRow("normal") << QByteArray("0");
        QTest::newRow("test mode still targets Lumivane") << QByteArray("1");
    }

    void runMovesEverythingToTheCurrentNames()
    {
        QFETCH(QByteArray, testMode);
        qputenv("LUMIVANE_TEST_MODE", testMode);
        writeLegacySettings(AppPaths::legacySettingsFile(), legacyValues);
        QVERIFY(create(Entry::folder, AppPaths::legacyDataFolder(), "history"));
        QVERIFY(writeFile(AppPaths::legacyScreenshotFolder() + QStringLiteral("/shot.png"), "png"));

        LegacyMigration::run();

        QVERIFY(AppPaths::settingsFile().startsWith(path(QStringLiteral("config"))));
        QSettings standard(AppPaths::settingsFile(), QSettings::IniFormat);
        QCOMPARE(standard.value(QStringLiteral("appLanguage")), QVariant(QStringLiteral("es")));
        QVERIFY(!standard.contains(QStringLiteral("AppleLanguages")));
        QCOMPARE(QFile::permissions(AppPaths::settingsFile()),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

        QCOMPARE(describe(path(QStringLiteral("data/Lumivane"))),
                 QStringLiteral("folder: history"));
        QVERIFY(!QFileInfo::exists(AppPaths::legacyDataFolder()));
        QVERIFY(AppPaths::screenshotFolder().startsWith(path(QStringLiteral("home"))));
        QCOMPARE(readFile(AppPaths::screenshotFolder() + QStringLiteral("/shot.png")),
                 QByteArray("png"));
        QVERIFY(!QFileInfo::exists(AppPaths::legacyScreenshotFolder()));
        QVERIFY(QFileInfo::exists(AppPaths::legacySettingsFile()));
    }

    // The next launch finds the current names taken and leaves the legacy items alone.
    void secondLaunchLeavesLegacyAlone()
    {
        writeLegacySettings(AppPaths::legacySettingsFile(), legacyValues);
        QVERIFY(create(Entry::folder, AppPaths::legacyDataFolder(), "first"));
        LegacyMigration::run();

        writeLegacySettings(AppPaths::legacySettingsFile(), {{QStringLiteral("late"), 1}});
        QVERIFY(create(Entry::folder, AppPaths::legacyDataFolder(), "second"));
        QVERIFY(create(Entry::folder, AppPaths::legacyScreenshotFolder(), "shots"));
        QVERIFY(create(Entry::folder, AppPaths::screenshotFolder(), "current shots"));
        LegacyMigration::run();

        QSettings standard(AppPaths::settingsFile(), QSettings::IniFormat);
        QVERIFY(!standard.contains(QStringLiteral("late")));
        QCOMPARE(describe(AppPaths::dataFolder()), QStringLiteral("folder: first"));
        QCOMPARE(describe(AppPaths::legacyDataFolder()), QStringLiteral("folder: second"));
        QCOMPARE(describe(AppPaths::legacyScreenshotFolder()), QStringLiteral("folder: shots"));
        QCOMPARE(describe(AppPaths::screenshotFolder()), QStringLiteral("folder: current shots"));
    }
};

QTEST_GUILESS_MAIN(TestLegacyMigration)
#include "tst_legacymigration.moc"

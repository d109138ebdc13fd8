#include "settings/Preferences.h"
#include "platform/UserDefaults.h"

#include "KiteCore/L10n.h"

#include <QFile>
#include <QMetaProperty>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <array>
#include <memory>

namespace {

// Every switch except onboarded, which starts off.
constexpr std::array onByDefault{"alwaysOnTop",         "snapToEdges",         "pauseWhenHidden",
                                 "restoreWindows",      "lockAspect",          "autoHideControls",
                                 "webCleanup",          "webCompatibilityMode", "bilibiliClean",
                                 "bilibiliHideDanmaku", "webControlTakeover",  "saveHistory",
                                 "resumePlayback",      "globalShortcuts"};

ShortcutBindingMap customBindings()
{
    return {{ShortcutAction::screenshot, KeyCombo(1, {KeyCombo::Modifier::command, KeyCombo::Modifier::shift})},
            {ShortcutAction::moveCenter, KeyCombo(8, {KeyCombo::Modifier::control})}};
}

unsigned modeOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0xFFFF;
    return info.st_mode & 0777;
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;

    std::unique_ptr<QSettings> openStore() const { return UserDefaults::open(m_file); }

    // What another reader of the file sees, bypassing the store under test.
    QVariant storedRaw(const QString &key) const
    {
        return QSettings(m_file, QSettings::IniFormat).value(key);
    }

    QStringList storedKeys() const { return QSettings(m_file, QSettings::IniFormat).allKeys(); }

    void writeFile(const QByteArray &content) const
    {
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray readFile() const
    {
        QFile file(m_file);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        // Nothing here may reach the real user's settings.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_file = m_dir->filePath(QStringLiteral("Lumivane/Lumivane.conf"));
    }

    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void freshDefaults_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("theme") << u"theme"_qs << QVariant(u"system"_qs);
        QTest::newRow("language") << u"language"_qs << QVariant::fromValue(AppLanguage::system);
        QTest::newRow("defaultWidth") << u"defaultWidth"_qs << QVariant(640.0);
        QTest::newRow("playbackRoute") << u"playbackRoute"_qs << QVariant(u"inline"_qs);
        QTest::newRow("externalPlayer") << u"externalPlayer"_qs << QVariant(u"system"_qs);
        QTest::newRow("onboarded") << u"onboarded"_qs << QVariant(false);
        QTest::newRow("shortcutStatus") << u"shortcutStatus"_qs << QVariant(QString());
        for (const char *flag : onByDefault)
            QTest::newRow(flag) << QString::fromLatin1(flag) << QVariant(true);
    }

    void freshDefaults()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        auto store = openStore();
        const Preferences preferences(*store);
        const QVariant actual = preferences.property(name.toLatin1().constData());
        QVERIFY2(actual.isValid(), "no such property");
        QCOMPARE(actual, expected);
        QCOMPARE(storedKeys(), QStringList());
    }

    void freshBindingsAreTheDefaults()
    {
        auto store = openStore();
        const Preferences preferences(*store);
        const ShortcutBindingMap &bindings = preferences.shortcutBindings();
        QCOMPARE(bindings.size(), 3u);
        QCOMPARE(bindings.at(ShortcutAction::playPause),
                 KeyCombo(35, {KeyCombo::Modifier::control, KeyCombo::Modifier::option}));
        QVERIFY(bindings == ShortcutBindings::defaults());
    }

    void writeBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("raw");
        QTest::newRow("theme") << u"theme"_qs << QVariant(u"dark"_qs) << u"dark"_qs;
        QTest::newRow("unlisted theme kept") << u"theme"_qs << QVariant(u"sepia"_qs) << u"sepia"_qs;
        QTest::newRow("language") << u"language"_qs << QVariant::fromValue(AppLanguage::zh) << u"zh"_qs;
        QTest::newRow("language system") << u"language"_qs << QVariant::fromValue(AppLanguage::system)
                                         << u"system"_qs;
        QTest::newRow("defaultWidth") << u"defaultWidth"_qs << QVariant(812.5) << u"812.5"_qs;
        QTest::newRow("defaultWidth unclamped") << u"defaultWidth"_qs << QVariant(-3.0) << u"-3"_qs;
        QTest::newRow("playbackRoute") << u"playbackRoute"_qs << QVariant(u"external"_qs) << u"external"_qs;
        QTest::newRow("externalPlayer") << u"externalPlayer"_qs << QVariant(u"vlc"_qs) << u"vlc"_qs;
        QTest::newRow("externalPlayer with comma") << u"externalPlayer"_qs << QVariant(u"a, b"_qs)
                                                   << u"a, b"_qs;
        QTest::newRow("onboarded") << u"onboarded"_qs << QVariant(true) << u"true"_qs;
        for (const char *flag : onByDefault)
            QTest::newRow(flag) << QString::fromLatin1(flag) << QVariant(false) << u"false"_qs;
    }

    // Written under the property's name at once, in a form a fresh reader gets back.
    void writeBack()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, raw);
        const QByteArray property = name.toLatin1();
        {
            auto store = openStore();
            Preferences preferences(*store);
            QVERIFY(preferences.setProperty(property.constData(), value));
            QCOMPARE(storedRaw(name).toString(), raw);
            QCOMPARE(storedKeys(), QStringList{name});
        }
        auto store = openStore();
        const Preferences reread(*store);
        QCOMPARE(reread.property(property.constData()), value);
    }

    void storedValuesAreRead_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("language es") << QByteArray("language=es") << u"language"_qs
                                     << QVariant::fromValue(AppLanguage::es);
        QTest::newRow("unknown language") << QByteArray("language=fr") << u"language"_qs
                                          << QVariant::fromValue(AppLanguage::system);
        QTest::newRow("language case matters") << QByteArray("language=EN") << u"language"_qs
                                               << QVariant::fromValue(AppLanguage::system);
        QTest::newRow("unknown theme kept") << QByteArray("theme=neon") << u"theme"_qs << QVariant(u"neon"_qs);
        QTest::newRow("width") << QByteArray("defaultWidth=1024.5") << u"defaultWidth"_qs << QVariant(1024.5);
        QTest::newRow("width not a number") << QByteArray("defaultWidth=wide") << u"defaultWidth"_qs
                                            << QVariant(640.0);
        QTest::newRow("flag off") << QByteArray("alwaysOnTop=false") << u"alwaysOnTop"_qs << QVariant(false);
        QTest::newRow("onboarded") << QByteArray("onboarded=true") << u"onboarded"_qs << QVariant(true);
        QTest::newRow("route") << QByteArray("playbackRoute=external") << u"playbackRoute"_qs
                               << QVariant(u"external"_qs);
        QTest::newRow("legacy player name") << QByteArray("externalPlayer=iina") << u"externalPlayer"_qs
                                            << QVariant(u"iina"_qs);
        QTest::newRow("status from an old run") << QByteArray("shortcutStatus=failed") << u"shortcutStatus"_qs
                                                << QVariant(QString());
    }

    void storedValuesAreRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        auto store = openStore();
        writeFile("[General]\n" + content + "\n");
        store->sync();
        const Preferences preferences(*store);
        QCOMPARE(preferences.property(name.toLatin1().constData()), expected);
    }

    void nothingWrittenWhileLoading()
    {
        auto store = openStore();
        writeFile("[General]\ntheme=dark\nlanguage=fr\nalwaysOnTop=false\ndefaultWidth=wide\n"
                  "shortcutBindings=garbage\n");
        const QByteArray before = readFile();
        store->sync();
        Preferences preferences(*store);
        QCOMPARE(readFile(), before);

        // The same assignment after construction is written.
        preferences.setLanguage(AppLanguage::system);
        preferences.setSnapToEdges(true);
        QCOMPARE(storedRaw(u"language"_qs).toString(), u"system"_qs);
        QCOMPARE(storedRaw(u"snapToEdges"_qs).toString(), u"true"_qs);
        QCOMPARE(storedRaw(u"theme"_qs).toString(), u"dark"_qs);
    }

    void unusableBindingsReadAsDefaults_data()
    {
        QTest::addColumn<std::optional<QString>>("stored");
        QTest::newRow("absent") << std::optional<QString>();
        QTest::newRow("cleared") << std::optional<QString>(u""_qs);
        QTest::newRow("garbage") << std::optional<QString>(u"garbage"_qs);
        QTest::newRow("not an object") << std::optional<QString>(u"[1,2]"_qs);
        QTest::newRow("member without modifiers key")
            << std::optional<QString>(uR"({"playPause":{"keyCode":35}})"_qs);
        QTest::newRow("unknown modifier")
            << std::optional<QString>(uR"({"playPause":{"keyCode":35,"modifiers":["hyper"]}})"_qs);
    }

    void unusableBindingsReadAsDefaults()
    {
        QFETCH(std::optional<QString>, stored);
        auto store = openStore();
        store->setValue(u"theme"_qs, u"system"_qs);
        if (stored)
            store->setValue(u"shortcutBindings"_qs, *stored);
        store->sync();
        const Preferences preferences(*store);
        QVERIFY(preferences.shortcutBindings() == ShortcutBindings::defaults());
    }

    void bindingsRoundTrip()
    {
        {
            auto store = openStore();
            Preferences preferences(*store);
            preferences.setShortcutBindings(customBindings());
            const auto decoded = ShortcutBindings::decode(storedRaw(u"shortcutBindings"_qs).toString());
            QVERIFY(decoded.has_value());
            QVERIFY(*decoded == customBindings());
        }
        auto store = openStore();
        Preferences reread(*store);
        QVERIFY(reread.shortcutBindings() == customBindings());

        // Every binding removed stays removed rather than coming back as the defaults.
        reread.setShortcutBindings({});
        auto again = openStore();
        QVERIFY(Preferences(*again).shortcutBindings().empty());
    }

    void languageIsPublishedAtOnce()
    {
        auto store = openStore();
        store->setValue(u"language"_qs, u"zh"_qs);
        store->sync();
        Preferences preferences(*store);
        QCOMPARE(L10n::language(), AppLanguage::zh);
        QCOMPARE(L("中", "en", "es"), u"中"_qs);

        preferences.setLanguage(AppLanguage::es);
        QCOMPARE(L10n::language(), AppLanguage::es);
        QCOMPARE(L("中", "en", "es"), u"es"_qs);
        QCOMPARE(storedRaw(u"language"_qs).toString(), u"es"_qs);
    }

    void shortcutStatusIsNeverStored()
    {
        auto store = openStore();
        Preferences preferences(*store);
        QSignalSpy spy(&preferences, &Preferences::shortcutStatusChanged);
        preferences.setShortcutStatus(u"Ctrl+Alt+F is taken"_qs);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(preferences.shortcutStatus(), u"Ctrl+Alt+F is taken"_qs);
        preferences.setOnboarded(true);
        QCOMPARE(storedKeys(), QStringList{u"onboarded"_qs});

        auto again = openStore();
        QCOMPARE(Preferences(*again).shortcutStatus(), QString());
    }

    void notifyOnChangeOnly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("theme") << u"theme"_qs << QVariant(u"light"_qs);
        QTest::newRow("language") << u"language"_qs << QVariant::fromValue(AppLanguage::en);
        QTest::newRow("defaultWidth") << u"defaultWidth"_qs << QVariant(480.0);
        QTest::newRow("playbackRoute") << u"playbackRoute"_qs << QVariant(u"external"_qs);
        QTest::newRow("externalPlayer") << u"externalPlayer"_qs << QVariant(u"mpv"_qs);
        QTest::newRow("onboarded") << u"onboarded"_qs << QVariant(true);
        QTest::newRow("shortcutStatus") << u"shortcutStatus"_qs << QVariant(u"ok"_qs);
        QTest::newRow("shortcutBindings") << u"shortcutBindings"_qs << QVariant::fromValue(customBindings());
        for (const char *flag : onByDefault)
            QTest::newRow(flag) << QString::fromLatin1(flag) << QVariant(false);
    }

    void notifyOnChangeOnly()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        auto store = openStore();
        Preferences preferences(*store);
        const QMetaObject *meta = preferences.metaObject();
        const QMetaProperty property = meta->property(meta->indexOfProperty(name.toLatin1().constData()));
        QVERIFY(property.isValid());
        QVERIFY(property.hasNotifySignal());

        QSignalSpy spy(&preferences, property.notifySignal());
        QVERIFY(spy.isValid());
        QVERIFY(property.write(&preferences, value));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(property.read(&preferences), value);
        QVERIFY(property.write(&preferences, value));
        QCOMPARE(spy.count(), 1);
    }

    void fileIsOwnerOnly_data()
    {
        QTest::addColumn<bool>("preexisting");
        QTest::newRow("new file") << false;
        QTest::newRow("file left readable by others") << true;
    }

    void fileIsOwnerOnly()
    {
        QFETCH(bool, preexisting);
        if (preexisting) {
            QVERIFY(QDir().mkpath(QFileInfo(m_file).absolutePath()));
            writeFile("[General]\ntheme=dark\n");
            QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                      | QFile::ReadOther));
        }
        auto store = openStore();
        Preferences preferences(*store);
        preferences.setDefaultWidth(700.0);
        QCOMPARE(modeOf(m_file), 0600u);
        if (!preexisting)
            QCOMPARE(modeOf(QFileInfo(m_file).absolutePath()), 0700u);
        QCOMPARE(storedRaw(u"defaultWidth"_qs).toDouble(), 700.0);
    }

    void sharedUsesTheStandardFile()
    {
        // A folder an earlier run left readable by others is closed.
        const QString folder = m_config.filePath(QStringLiteral("Lumivane"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                  | QFile::ReadOther | QFile::ExeOther));
        Preferences &shared = Preferences::shared();
        QCOMPARE(&shared, &Preferences::shared());
        const QString file = m_config.filePath(QStringLiteral("Lumivane/Lumivane.conf"));
        QCOMPARE(UserDefaults::standard().fileName(), file);
        shared.setRestoreWindows(false);
        QCOMPARE(QSettings(file, QSettings::IniFormat).value(u"restoreWindows"_qs).toString(), u"false"_qs);
        QCOMPARE(modeOf(file), 0600u);
        QCOMPARE(modeOf(QFileInfo(file).absolutePath()), 0700u);
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"

#include "settings/Preferences.h"
#include "platform/UserDefaults.h"

#include "KiteCore/L10n.h"
#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QMetaProperty>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

namespace {
const ShortcutBindingMap custom{{ShortcutAction::screenshot, KeyCombo(1, {KeyCombo::Modifier::command, KeyCombo::Modifier::shift})}};
} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

    TemporaryHome m_home;
    QString m_file;
    int m_files = 0;

    QSettings stored() const { return QSettings(m_file, QSettings::IniFormat); }
    void useNewFile() { m_file = m_home.filePath(QStringLiteral("stores/%1/Lumivane.conf").arg(++m_files)); }

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // An untouched setting reads its default and writes nothing. A change is written at once under
    // the property's name (the shortcut status never), notified, published and read back; setting
    // the same value again notifies nothing.
    void eachSetting()
    {
        struct Row { const char *name; QVariant initial, changed; QString raw; };
        QList<Row> rows{{"theme", "system", "sepia", "sepia"},
                        {"language", QVariant::fromValue(AppLanguage::system), QVariant::fromValue(AppLanguage::zh), "zh"},
                        {"defaultWidth", 640.0, -3.5, "-3.5"}, {"playbackRoute", "inline", "external", "external"},
                        {"externalPlayer", "system", "a, b", "a, b"}, {"onboarded", false, true, "true"},
                        {"shortcutBindings", QVariant::fromValue(ShortcutBindings::defaults()), QVariant::fromValue(custom), ShortcutBindings::encode(custom)},
                        {"shortcutStatus", QString(), "Ctrl+Alt+F is taken", {}}};
        for (const char *flag : {"alwaysOnTop", "snapToEdges", "pauseWhenHidden", "restoreWindows", "lockAspect", "autoHideControls", "webCleanup",
                                 "webCompatibilityMode", "bilibiliClean", "bilibiliHideDanmaku", "webControlTakeover", "saveHistory", "resumePlayback",
                                 "globalShortcuts"})
            rows.append({flag, true, false, "false"});
        useNewFile();
        auto store = UserDefaults::open(m_file);
        Preferences preferences(*store);
        qsizetype written = 0;
        for (const Row &row : rows) {
            const QMetaProperty property = preferences.metaObject()->property(preferences.metaObject()->indexOfProperty(row.name));
            QSignalSpy spy(&preferences, property.notifySignal());
            QVERIFY2(property.read(&preferences) == row.initial && stored().allKeys().size() == written, row.name);
            QVERIFY2(property.write(&preferences, row.changed) && spy.count() == 1, row.name);
            written += row.raw.isNull() ? 0 : 1;
            QVERIFY2(stored().allKeys().size() == written && stored().value(row.name).toString() == row.raw && L10n::language() == preferences.language(), row.name);
        }
        QSignalSpy themes(&preferences, &Preferences::themeChanged), statuses(&preferences, &Preferences::shortcutStatusChanged);
        preferences.setTheme("sepia");
        preferences.setShortcutStatus("Ctrl+Alt+F is taken");
        QVERIFY(themes.isEmpty() && statuses.isEmpty());
        auto again = UserDefaults::open(m_file);
        const Preferences reread(*again);
        for (const Row &row : rows)
            QVERIFY2(reread.property(row.name) == (row.raw.isNull() ? row.initial : row.changed), row.name);
    }

    // What an earlier run stored: what cannot be used reads as the default, and loading writes
    // nothing back.
    void storedValues()
    {
        struct Row { const char *name, *stored; QVariant expected; };
        const QVariant defaults = QVariant::fromValue(ShortcutBindings::defaults());
        const Row rows[] = {{"language", "es", QVariant::fromValue(AppLanguage::es)}, {"language", "EN", QVariant::fromValue(AppLanguage::system)},
                            {"theme", "neon", "neon"}, {"defaultWidth", "1024.5", 1024.5}, {"defaultWidth", "wide", 640.0},
                            {"defaultWidth", "16384", 16384.0}, {"defaultWidth", "16385", 640.0}, {"defaultWidth", "1e300", 640.0},
                            {"alwaysOnTop", "false", false}, {"shortcutStatus", "failed", QString()}, {"shortcutBindings", "garbage", defaults},
                            {"shortcutBindings", R"({"playPause":{"keyCode":35}})", defaults},
                            {"shortcutBindings", "{}", QVariant::fromValue(ShortcutBindingMap())}};
        for (const Row &row : rows) {
            useNewFile();
            auto store = UserDefaults::open(m_file);
            store->setValue(row.name, QString::fromUtf8(row.stored));
            store->sync();
            const QByteArray before = TestFiles::contentOf(m_file);
            const Preferences preferences(*store);
            QVERIFY2(preferences.property(row.name) == row.expected && L10n::language() == preferences.language(), row.stored);
            QVERIFY2(TestFiles::contentOf(m_file) == before, row.stored);
        }
    }

    // A file that is no settings text, or no file at all, is kept aside once and the store starts
    // empty. A folder that cannot hold the file fails every save, and is left as it is.
    void damagedOrBlocked()
    {
        struct Row { const char *name; QByteArray content; bool fifo = false, blocked = false; };
        const Row rows[] = {{"random bytes", QByteArray("\x8f\0\xffjunk=\x01", 10)}, {"a FIFO", {}, true}, {"a file for the folder", "theme=x", false, true}};
        for (const Row &row : rows) {
            useNewFile();
            const QFileInfo target(row.blocked ? QFileInfo(m_file).path() : m_file);
            QVERIFY(QDir().mkpath(target.path()) && (row.fifo ? ::mkfifo(qPrintable(m_file), 0644) == 0 : (TestFiles::writeContent(target.filePath(), row.content), true)));
            QVERIFY(QFile::setPermissions(target.filePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
            for (const QString theme : {"dark", "light"}) {
                auto store = UserDefaults::open(m_file);
                Preferences preferences(*store);
                QVERIFY2(row.blocked || preferences.theme() == (theme == "dark" ? "system" : "dark"), row.name);
                preferences.setTheme(theme);
                QVERIFY2(preferences.saveError().has_value() == row.blocked && preferences.saveError().value_or(m_file).contains(m_file), row.name);
            }
            const QStringList copies = target.dir().entryList({target.fileName() + ".damaged-*"}, QDir::Files | QDir::System);
            QVERIFY2(copies.size() == !row.blocked && TestFiles::mode(target.filePath()) == (row.blocked ? 0604 : 0600), row.name);
            QVERIFY2(row.fifo || TestFiles::contentOf(target.dir().filePath(copies.value(0, target.fileName()))) == row.content, row.name);
        }
    }

    // The shared preferences use the standard file, which with its folder is readable by its owner
    // only, however an earlier run left them.
    void sharedFileIsOwnerOnly()
    {
        const QString file = m_home.configHome() + QStringLiteral("/Lumivane/Lumivane.conf");
        TestFiles::writeContent(file, "[General]\ntheme=dark\n");
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(QFileInfo(file).path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther));
        QVERIFY(UserDefaults::standard().fileName() == file && Preferences::shared().theme() == "dark");
        Preferences::shared().setRestoreWindows(false);
        QCOMPARE(QSettings(file, QSettings::IniFormat).value("restoreWindows").toString(), "false");
        QVERIFY(TestFiles::mode(file) == 0600 && TestFiles::mode(QFileInfo(file).path()) == 0700);
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"

#include "settings/Preferences.h"
#include "platform/UserDefaults.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QColor desktopWindow(0x12, 0x34, 0x56);

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 100
           && palette.color(QPalette::WindowText).lightness() > 160
           && palette.color(QPalette::Base).lightness() < 100
           && palette.color(QPalette::Text).lightness() > 160;
}

bool isLight(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() > 160
           && palette.color(QPalette::WindowText).lightness() < 100
           && palette.color(QPalette::Base).lightness() > 160
           && palette.color(QPalette::Text).lightness() < 100;
}

} // namespace

class TestPreferencesTheme : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_desktopStyle;

    std::unique_ptr<QSettings> storeWithTheme(const QString &theme) const
    {
        auto store = UserDefaults::open(m_dir.filePath(QStringLiteral("Lumivane/Lumivane.conf")));
        store->setValue(QStringLiteral("theme"), theme);
        store->sync();
        return store;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        // A look no theme produces, so giving the desktop's back is visible.
        QPalette desktop = QApplication::palette();
        desktop.setColor(QPalette::Window, desktopWindow);
        QApplication::setPalette(desktop);
        m_desktopStyle = QApplication::style()->name();
    }

    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void themes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("expected");
        QTest::newRow("dark") << u"dark"_qs << u"dark"_qs;
        QTest::newRow("light") << u"light"_qs << u"light"_qs;
        QTest::newRow("system") << u"system"_qs << u"desktop"_qs;
        QTest::newRow("unknown") << u"Dark "_qs << u"desktop"_qs;
    }

    // Each row starts from the opposite fixed look, so a theme that leaves the look alone fails.
    void themes()
    {
        QFETCH(QString, theme);
        QFETCH(QString, expected);
        const QString start = expected == u"dark" ? u"light"_qs : u"dark"_qs;
        auto store = storeWithTheme(start);
        Preferences preferences(*store);
        QVERIFY(start == u"dark" ? isDark(QApplication::palette()) : isLight(QApplication::palette()));

        preferences.setTheme(theme);
        const QPalette palette = QApplication::palette();
        if (expected == u"dark") {
            QVERIFY(isDark(palette));
            QCOMPARE(QApplication::style()->name().toLower(), u"fusion"_qs);
        } else if (expected == u"light") {
            QVERIFY(isLight(palette));
            QCOMPARE(QApplication::style()->name().toLower(), u"fusion"_qs);
        } else {
            QCOMPARE(palette.color(QPalette::Window), desktopWindow);
            QCOMPARE(QApplication::style()->name(), m_desktopStyle);
        }
    }

    void storedThemeAppliesAtStart()
    {
        auto dark = storeWithTheme(u"dark"_qs);
        const Preferences darkPreferences(*dark);
        QVERIFY(isDark(QApplication::palette()));

        auto system = storeWithTheme(u"system"_qs);
        const Preferences systemPreferences(*system);
        QCOMPARE(QApplication::palette().color(QPalette::Window), desktopWindow);
    }
};

QTEST_MAIN(TestPreferencesTheme)
#include "tst_preferencestheme.moc"

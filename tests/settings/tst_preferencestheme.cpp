#include "settings/Preferences.h"
#include "platform/UserDefaults.h"

#include "TemporaryHome.h"

#include <QApplication>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QTest>

namespace {

const QColor desktopWindow(0x12, 0x34, 0x56);

// Dark text on a light ground, or the other way round.
bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 100 && palette.color(QPalette::WindowText).lightness() > 160
           && palette.color(QPalette::Base).lightness() < 100 && palette.color(QPalette::Text).lightness() > 160;
}

bool isLight(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() > 160 && palette.color(QPalette::WindowText).lightness() < 100
           && palette.color(QPalette::Base).lightness() > 160 && palette.color(QPalette::Text).lightness() < 100;
}

} // namespace

class TestPreferencesTheme : public QObject
{
    Q_OBJECT

    TemporaryHome m_home;
    QString m_desktopStyle;

    std::unique_ptr<QSettings> storeWithTheme(const QString &theme) const
    {
        auto store = UserDefaults::open(m_home.filePath("Lumivane.conf"));
        store->setValue("theme", theme);
        store->sync();
        return store;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // A look no theme produces, so giving the desktop's back is visible.
        QPalette desktop = QApplication::palette();
        desktop.setColor(QPalette::Window, desktopWindow);
        QApplication::setPalette(desktop);
        m_desktopStyle = QApplication::style()->name();
    }

    // "dark" and "light" fix the look, at start and when changed; anything else gives back the
    // desktop's. Each row starts from the opposite fixed look, so a theme that leaves it alone fails.
    void themes()
    {
        struct Row { const char *theme; bool dark, light; };
        const Row rows[] = {{"dark", true, false}, {"light", false, true}, {"system", false, false}, {"Dark ", false, false}};
        for (const Row &row : rows) {
            auto store = storeWithTheme(row.dark ? "light" : "dark");
            Preferences preferences(*store);
            QVERIFY(row.dark ? isLight(QApplication::palette()) : isDark(QApplication::palette()));
            preferences.setTheme(row.theme);
            const QPalette palette = QApplication::palette();
            const bool fixed = row.dark || row.light;
            QVERIFY2(isDark(palette) == row.dark && isLight(palette) == row.light, row.theme);
            QVERIFY2(fixed ? QApplication::style()->name().toLower() == "fusion" : QApplication::style()->name() == m_desktopStyle, row.theme);
            QVERIFY2(fixed || palette.color(QPalette::Window) == desktopWindow, row.theme);
        }
    }
};

QTEST_MAIN(TestPreferencesTheme)
#include "tst_preferencestheme.moc"

#include "ui/HomeTexts.h"

#include "KiteCore/L10n.h"

#include <QLocale>
#include <QTest>

namespace {
const QDateTime now(QDate(2026, 3, 10), QTime(12, 0), Qt::UTC);

struct Row {
    const char *name;
    QString text;
    QString expected;
};

QString ago(qint64 seconds)
{
    return HomeTexts::relativeTime(now.addSecs(-seconds), now);
}

QList<Row> rows()
{
    return {
        {"59 seconds", ago(59), u"just now"_qs},
        {"in the future", ago(-300), u"just now"_qs},
        {"exactly a minute", ago(60), u"1 min ago"_qs},
        {"59 minutes", ago(59 * 60 + 59), u"59 min ago"_qs},
        {"an hour", ago(3600), u"1 h ago"_qs},
        {"23 hours", ago(86399), u"23 h ago"_qs},
        {"six days", ago(604799), u"6 d ago"_qs},
        {"eight days shows the date", ago(8 * 86400),
         QLocale::system().toString(QDate(2026, 3, 2), QLocale::ShortFormat)},
        {"watched rounds", HomeTexts::watched(0.255), u"26% watched"_qs},
        {"files are local", HomeTexts::kindLabel(MediaKind::localFile), u"Local"_qs},
        {"media links are links", HomeTexts::kindLabel(MediaKind::mediaURL), u"Link"_qs},
        {"site counts", HomeTexts::siteSupport(3, 16, 11),
         u"Site support: 3 adapted · 16 experimental · 11 unsupported (Settings → Site support)"_qs},
        {"with a tray", HomeTexts::lostWindowTip(true), u"Lost a window? Use the tray icon or Ctrl+Alt+F."_qs},
        {"without a tray", HomeTexts::lostWindowTip(false),
         u"Lost a window? Press Ctrl+Alt+F, or open the Windows section."_qs},
    };
}
} // namespace

class TestHomeTexts final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { L10n::setLanguage(AppLanguage::en); }

    void texts_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < rows().size(); ++i)
            QTest::newRow(rows().at(i).name) << i;
    }

    void texts()
    {
        QFETCH(int, row);
        const Row r = rows().at(row);
        QCOMPARE(r.text, r.expected);
    }
};

QTEST_MAIN(TestHomeTexts)
#include "tst_hometexts.moc"

#include "playback/Screenshots.h"

#include <QTest>

class TestScreenshots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The title, then the name before the timestamp.
    void namesTheFile()
    {
        const QString family = u"👨‍👩‍👧‍👦"_qs;
        const QString x79(79, u'x');
        const QList<std::array<QString, 2>> rows{
            {u"Evening news: part 2/3"_qs, u"Evening news- part 2-3"_qs},
            {u"a/b\\c:d?e%f*g|h\"i<j>k\nl\rm\tn"_qs + QChar(0) + u"o"_qs, u"a-b-c-d-e-f-g-h-i-j-k-l-m-n-o"_qs},
            {u"  \tname  "_qs, u"-name"_qs},
            {u" / "_qs, u"-"_qs},
            {u"    "_qs, u""_qs},
            {u""_qs, u"截图"_qs},
            {u".."_qs, u".."_qs},
            {QString(200, u'x'), QString(80, u'x')},
            {x79 + u"  tail"_qs, x79},
            {x79 + family + family, x79 + family},
            {x79 + u"🇪🇸🇪🇸"_qs, x79 + u"🇪🇸"_qs},
            {x79 + u"e\u0301z"_qs, x79 + u"e\u0301"_qs},
            // Three UTF-8 bytes a character: 80 and the timestamp would not fit in 255 bytes.
            {QString(100, QChar(0x6f9c)), QString(78, QChar(0x6f9c))},
            {family.repeated(100), family.repeated(9)},
            {QString(100, QChar(0x00e9)), QString(80, QChar(0x00e9))},
        };
        const QDateTime moment(QDate(2026, 3, 5), QTime(14, 7, 9, 900));
        for (const auto &[title, base] : rows) {
            const QString name = Screenshots::fileName(title, moment);
            QCOMPARE(name, base + u"-20260305-140709.png"_qs);
            QVERIFY(name.toUtf8().size() <= 255);
        }
        QVERIFY(Screenshots::fileName(u"a"_qs, moment) != Screenshots::fileName(u"a"_qs, moment.addMSecs(100)));
    }
};

QTEST_GUILESS_MAIN(TestScreenshots)
#include "tst_screenshots.moc"

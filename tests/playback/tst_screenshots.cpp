#include "playback/Screenshots.h"

#include <QTest>
#include <QTextBoundaryFinder>

namespace {

qsizetype graphemeCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

const QString family = QStringLiteral("👨‍👩‍👧‍👦");
const QString flag = QStringLiteral("🇪🇸");
// "e" followed by a combining acute accent: one character, two code units.
const QString accented = QStringLiteral("e\u0301");

} // namespace

class TestScreenshots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sanitizesFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << u"Holiday clip"_qs << u"Holiday clip"_qs;
        QTest::newRow("slash between spaces") << u" / "_qs << u"-"_qs;
        QTest::newRow("spaces only") << u"    "_qs << u""_qs;
        QTest::newRow("empty") << u""_qs << u""_qs;
        QTest::newRow("title with colon and slash") << u"Evening news: part 2/3"_qs << u"Evening news- part 2-3"_qs;
        QTest::newRow("every forbidden character")
            << u"a/b\\c:d?e%f*g|h\"i<j>k\nl\rm\tn"_qs << u"a-b-c-d-e-f-g-h-i-j-k-l-m-n"_qs;
        QTest::newRow("adjacent ones give adjacent dashes") << u"a//b"_qs << u"a--b"_qs;
        QTest::newRow("trimmed after joining") << u"  \tname  "_qs << u"-name"_qs;
        QTest::newRow("NUL cannot cut the name") << (u"ab"_qs + QChar(0) + u"cd"_qs) << u"ab-cd"_qs;
        QTest::newRow("200 characters") << QString(200, u'x') << QString(80, u'x');
        QTest::newRow("cut, then trimmed") << (QString(79, u'x') + u"  tail"_qs) << QString(79, u'x');
        QTest::newRow("81 emoji families keep 80 whole ones")
            << (QString(79, u'a') + family + family) << (QString(79, u'a') + family);
        QTest::newRow("flags stay pairs") << (QString(79, u'a') + flag + flag) << (QString(79, u'a') + flag);
        QTest::newRow("accent stays with its letter")
            << (QString(79, u'a') + accented + u"z"_qs) << (QString(79, u'a') + accented);
        QTest::newRow("dots are just characters") << u".."_qs << u".."_qs;
    }

    void sanitizesFileName()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(Screenshots::sanitizeFileName(name), expected);
    }

    // Each character is three UTF-8 bytes; eighty of them and the timestamp exceed the 255
    // bytes a Linux file name may have, so fewer are kept.
    void longWideTitleStillFitsAFileName_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<qsizetype>("characters");
        QTest::newRow("Chinese") << QString(100, QChar(0x6f9c)) << qsizetype(78);
        QTest::newRow("emoji families") << family.repeated(100) << qsizetype(9);
        QTest::newRow("two-byte letters fit") << QString(100, QChar(0x00e9)) << qsizetype(80);
    }

    void longWideTitleStillFitsAFileName()
    {
        QFETCH(QString, title);
        QFETCH(qsizetype, characters);
        const QString base = Screenshots::sanitizeFileName(title);
        QCOMPARE(graphemeCount(base), characters);
        QVERIFY(title.startsWith(base));
        const QString name = Screenshots::fileName(title, QDateTime::currentDateTime());
        QVERIFY2(name.toUtf8().size() <= 255, qPrintable(QString::number(name.toUtf8().size())));
    }

    void buildsFileName_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("example") << u"Evening news: part 2/3"_qs << u"Evening news- part 2-3-20260305-140709.png"_qs;
        QTest::newRow("empty title") << u""_qs << u"截图-20260305-140709.png"_qs;
        QTest::newRow("spaces only") << u"   "_qs << u"-20260305-140709.png"_qs;
    }

    void buildsFileName()
    {
        QFETCH(QString, title);
        QFETCH(QString, expected);
        const QDateTime moment(QDate(2026, 3, 5), QTime(14, 7, 9));
        QCOMPARE(Screenshots::fileName(title, moment), expected);
    }

    void sameSecondGivesTheSameName()
    {
        const QDateTime moment(QDate(2026, 12, 31), QTime(23, 59, 59, 10));
        QCOMPARE(Screenshots::fileName(u"a"_qs, moment),
                 Screenshots::fileName(u"a"_qs, moment.addMSecs(900)));
        QVERIFY(Screenshots::fileName(u"a"_qs, moment) != Screenshots::fileName(u"a"_qs, moment.addSecs(1)));
    }
};

QTEST_GUILESS_MAIN(TestScreenshots)
#include "tst_screenshots.moc"

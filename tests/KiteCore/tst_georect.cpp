#include "KiteCore/GeoRect.h"

#include <QLocale>
#include <QTest>

class TestGeoRect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A comma decimal separator must not reach the stored text.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The stored text in its shortest exact form, and back to the same rectangle.
    void toText()
    {
        struct Row { GeoRect rect; QString text; };
        const Row rows[] = {{{10.5, -20.25, 300, 400}, "{{10.5, -20.25}, {300, 400}}"},
                            {{0.1, 1.0 / 3.0, 16384, 5e-324}, "{{0.1, 0.3333333333333333}, {16384, 5e-324}}"}};
        for (const Row &row : rows) {
            QCOMPARE(row.rect.toText(), row.text);
            QCOMPARE(GeoRect::fromText(row.text), std::optional(row.rect));
        }
    }

    // Any spacing and plain or exponent numbers; nothing else, nothing non-finite, no negative
    // size, nothing larger or farther than any screen.
    void fromText()
    {
        struct Row { const char *text; std::optional<GeoRect> rect = {}; };
        const Row rows[] = {{" {{ 1.5 ,\t-2 } ,\n{ 3e2 , 4. }} ", GeoRect{1.5, -2, 300, 4}}, {"{{.5,+7},{1E1,0}}", GeoRect{0.5, 7, 10, 0}}, {""},
                            {"{{1, 2}, {3}}"}, {"{{1e999, 2}, {3, 4}}"}, {"{{1, 2}, {3, 4}} x"}, {"{{1,5, 2}, {3, 4}}"}, {"{{0x10, 2}, {3, 4}}"},
                            {"{{nan, 2}, {3, 4}}"}, {"{{1, 2}, {-3, 4}}"}, {"{{1, 2}, {3, -4}}"},
                            {"{{-1e6, 1e6}, {16384, 16384}}", GeoRect{-1e6, 1e6, 16384, 16384}}, {"{{0, 0}, {16385, 4}}"}, {"{{0, 0}, {4, 1e9}}"},
                            {"{{-1.5e6, 0}, {4, 4}}"}, {"{{0, 1e300}, {4, 4}}"}};
        for (const Row &row : rows)
            QVERIFY2(GeoRect::fromText(row.text) == row.rect, row.text);
    }
};

QTEST_GUILESS_MAIN(TestGeoRect)
#include "tst_georect.moc"

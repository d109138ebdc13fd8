#include "KiteCore/GeoRect.h"

#include <QLocale>
#include <QTest>

class TestGeoRect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A comma decimal separator must not reach the stored text.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void edges()
    {
        const GeoRect r{10, 20, 300, 100};
        QCOMPARE(r.minX(), 10.0);
        QCOMPARE(r.midX(), 160.0);
        QCOMPARE(r.maxX(), 310.0);
        QCOMPARE(r.minY(), 20.0);
        QCOMPARE(r.midY(), 70.0);
        QCOMPARE(r.maxY(), 120.0);
        QCOMPARE(r.size(), (GeoSize{300, 100}));
    }

    void toText_data()
    {
        QTest::addColumn<GeoRect>("rect");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole numbers") << GeoRect{0, 0, 100, 200} << "{{0, 0}, {100, 200}}";
        QTest::newRow("fractions") << GeoRect{10.5, -20.25, 300, 400} << "{{10.5, -20.25}, {300, 400}}";
        QTest::newRow("shortest form") << GeoRect{0.1, 1.0 / 3.0, 640, 360}
                                       << "{{0.1, 0.3333333333333333}, {640, 360}}";
        QTest::newRow("large") << GeoRect{1e21, 0, 1, 1} << "{{1e+21, 0}, {1, 1}}";
    }

    void toText()
    {
        QFETCH(GeoRect, rect);
        QFETCH(QString, expected);
        QCOMPARE(rect.toText(), expected);
    }

    void fromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<GeoRect>>("expected");
        using R = std::optional<GeoRect>;
        QTest::newRow("stored form") << "{{12, 34}, {560, 315}}" << R(GeoRect{12, 34, 560, 315});
        QTest::newRow("no spaces") << "{{1,2},{3,4}}" << R(GeoRect{1, 2, 3, 4});
        QTest::newRow("loose spacing") << " {{ 1.5 ,\t-2 } ,\n{ 3e2 , 4. }} " << R(GeoRect{1.5, -2, 300, 4});
        QTest::newRow("leading point and plus") << "{{.5, +7}, {1E1, 0}}" << R(GeoRect{0.5, 7, 10, 0});
        QTest::newRow("empty") << "" << R();
        QTest::newRow("missing number") << "{{1, 2}, {3}}" << R();
        QTest::newRow("extra number") << "{{1, 2, 5}, {3, 4}}" << R();
        QTest::newRow("unclosed") << "{{1, 2}, {3, 4}" << R();
        QTest::newRow("trailing text") << "{{1, 2}, {3, 4}} x" << R();
        QTest::newRow("letters") << "{{a, 2}, {3, 4}}" << R();
        QTest::newRow("decimal comma") << "{{1,5, 2}, {3, 4}}" << R();
        QTest::newRow("hexadecimal") << "{{0x10, 2}, {3, 4}}" << R();
        QTest::newRow("NaN") << "{{nan, 2}, {3, 4}}" << R();
        QTest::newRow("infinity") << "{{inf, 2}, {3, 4}}" << R();
        QTest::newRow("overflow") << "{{1e999, 2}, {3, 4}}" << R();
        QTest::newRow("negative width") << "{{1, 2}, {-3, 4}}" << R();
        QTest::newRow("negative height") << "{{1, 2}, {3, -4}}" << R();
        QTest::newRow("flat list") << "1 2 3 4" << R();
    }

    void fromText()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<GeoRect>, expected);
        QCOMPARE(GeoRect::fromText(text), expected);
    }

    void roundTrip_data()
    {
        QTest::addColumn<GeoRect>("rect");
        QTest::newRow("plain") << GeoRect{100, 200, 640, 360};
        QTest::newRow("awkward fractions") << GeoRect{0.1, 2.0 / 3.0, 1e-300, 123456.789};
        QTest::newRow("negative origin") << GeoRect{-1920.5, -0.25, 800, 450};
        QTest::newRow("huge") << GeoRect{1.7976931348623157e308, -1e308, 1e308, 5e-324};
    }

    void roundTrip()
    {
        QFETCH(GeoRect, rect);
        QCOMPARE(GeoRect::fromText(rect.toText()), std::optional<GeoRect>(rect));
    }
};

QTEST_GUILESS_MAIN(TestGeoRect)
#include "tst_georect.moc"

#include "KiteCore/ThumbnailURL.h"

#include <QTest>

class TestThumbnailURL : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("https unchanged") << "https://i.ytimg.com/vi/x/hqdefault.jpg"
                                         << "https://i.ytimg.com/vi/x/hqdefault.jpg";
        QTest::newRow("http upgraded") << "http://img.example.com/a.jpg?s=1#f"
                                       << "https://img.example.com/a.jpg?s=1#f";
        QTest::newRow("http with port upgraded") << "http://img.example.com:8080/a.png"
                                                 << "https://img.example.com:8080/a.png";
        QTest::newRow("scheme in capitals") << "HTTP://Img.Example.com/a.jpg"
                                            << "https://img.example.com/a.jpg";
        QTest::newRow("trimmed") << " \n https://a.com/b.jpg \t" << "https://a.com/b.jpg";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blank") << " \n " << "";
        QTest::newRow("no host") << "https:///a.jpg" << "";
        QTest::newRow("relative") << "/images/a.jpg" << "";
        QTest::newRow("protocol relative") << "//cdn.example.com/a.jpg" << "";
        QTest::newRow("data scheme") << "data:image/png;base64,AAAA" << "";
        QTest::newRow("file scheme") << "file:///etc/passwd" << "";
        QTest::newRow("javascript scheme") << "javascript:alert(1)" << "";
        QTest::newRow("space inside") << "https://a.com/a b.jpg" << "";
        QTest::newRow("invalid UTF-8 host") << QString::fromUtf8("https://\xff\xfe/") << "";
    }

    void normalize()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const std::optional<QUrl> url = ThumbnailURL::normalize(text);
        QCOMPARE(url.has_value(), !expected.isEmpty());
        if (url)
            QCOMPARE(url->toString(QUrl::FullyEncoded), expected);
    }
};

QTEST_GUILESS_MAIN(TestThumbnailURL)
#include "tst_thumbnailurl.moc"

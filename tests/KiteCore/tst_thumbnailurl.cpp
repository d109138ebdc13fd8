#include "KiteCore/ThumbnailURL.h"

#include <QTest>

class TestThumbnailURL : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Only http(s) with a host, upgraded to https; an empty expectation means refused.
    void normalize()
    {
        struct Row { QString text; const char *expected; };
        const Row rows[] = {{"https://i.ytimg.com/vi/x/hq.jpg", "https://i.ytimg.com/vi/x/hq.jpg"},
                            {" HTTP://Img.Example.com:8080/a.jpg?s=1#f \n", "https://img.example.com:8080/a.jpg?s=1#f"}, {" \n ", ""},
                            {"https:///a.jpg", ""}, {"//cdn.example.com/a.jpg", ""}, {"file:///etc/passwd", ""}, {"https://a.com/a b.jpg", ""},
                            {"https://a.com/" + QString(8179, u'a'), ""}};
        for (const Row &row : rows) {
            const std::optional<QUrl> url = ThumbnailURL::normalize(row.text);
            QCOMPARE(url ? url->toString(QUrl::FullyEncoded) : QString(), QString::fromLatin1(row.expected));
        }
    }
};

QTEST_GUILESS_MAIN(TestThumbnailURL)
#include "tst_thumbnailurl.moc"

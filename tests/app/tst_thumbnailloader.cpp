#include "FakeImageFetcher.h"
#include "TemporaryHome.h"
#include "app/ThumbnailLoader.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <optional>

namespace {
QByteArray png(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QSize none(0, 0);

struct Row {
    const char *name;
    QString url;
    // The fetcher's answer; none means it failed.
    std::optional<QByteArray> answer;
    int requests;
    // The size handed out afterwards, also by a loader started later; empty when none.
    QSize image;
};

const QList<Row> rows{
    {"an http link is never fetched", u"http://img.example/a.png"_qs, png({64, 36}), 0, none},
    {"a large image arrives scaled down and cached", u"https://img.example/a.png"_qs, png({640, 360}), 1, {320, 180}},
    {"a small image keeps its size", u"https://img.example/b.png"_qs, png({64, 36}), 1, {64, 36}},
    {"bytes that are no image leave the placeholder", u"https://img.example/c.png"_qs, QByteArray("<html>"), 1, none},
    {"an image announcing a huge size is not decoded", u"https://img.example/d.png"_qs, png({9000, 40}), 1, none},
    {"a failed fetch is not repeated", u"https://img.example/e.png"_qs, std::nullopt, 1, none},
};
} // namespace

class TestThumbnailLoader final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loads_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void loads()
    {
        QFETCH(int, row);
        const Row &r = rows.at(row);
        TemporaryHome home;
        const QString cache = home.filePath(u"cache/thumbnails"_qs);
        FakeImageFetcher fetcher;
        ThumbnailLoader loader(fetcher, cache);
        QSignalSpy ready(&loader, &ThumbnailLoader::ready);
        QVERIFY(loader.image(r.url).isNull());
        QVERIFY(loader.image(r.url).isNull());
        if (!fetcher.requests.isEmpty()) {
            QCOMPARE(fetcher.lastMaxBytes, ThumbnailLoader::maxBytes);
            r.answer ? Q_EMIT fetcher.fetched(QUrl(r.url), *r.answer) : Q_EMIT fetcher.failed(QUrl(r.url));
        }
        QCOMPARE(ready.count(), r.image.isEmpty() ? 0 : 1);
        QCOMPARE(loader.image(r.url).size(), r.image);
        QCOMPARE(fetcher.requests.size(), r.requests);

        FakeImageFetcher later;
        ThumbnailLoader restarted(later, cache);
        QCOMPARE(restarted.image(r.url).size(), r.image);
        QCOMPARE(later.requests.isEmpty(), !r.image.isEmpty() || r.requests == 0);
    }
};

QTEST_MAIN(TestThumbnailLoader)
#include "tst_thumbnailloader.moc"

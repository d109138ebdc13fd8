#include "KiteCore/MediaSource.h"

#include <QJsonDocument>
#include <QTest>

class TestMediaSource : public QObject
{
    Q_OBJECT

private:
    static QJsonObject validObject()
    {
        return QJsonObject{{"url", "https://www.youtube.com/watch?v=dQw4w9WgXcQ"},
                           {"kind", "web"},
                           {"title", "YouTube"},
                           {"subtitle", "www.youtube.com"},
                           {"thumbnailURL", "https://i.ytimg.com/vi/dQw4w9WgXcQ/hqdefault.jpg"}};
    }

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<QString>("thumbnail");

        QTest::newRow("web with thumbnail") << QUrl("https://www.youtube.com/watch?v=dQw4w9WgXcQ")
            << MediaKind::web << "YouTube" << "www.youtube.com"
            << "https://i.ytimg.com/vi/dQw4w9WgXcQ/hqdefault.jpg";
        QTest::newRow("local unicode file") << QUrl::fromLocalFile("/home/u/视频/a b#c%.mkv")
            << MediaKind::localFile << "a b#c%" << "视频" << "";
        QTest::newRow("media URL with port and query")
            << QUrl("https://cdn.example.com:8443/x/index.m3u8?t=a%26b#f") << MediaKind::mediaURL
            << "cdn.example.com" << "cdn.example.com" << "";
        QTest::newRow("empty texts") << QUrl("http://a.com") << MediaKind::web << "" << "" << "";
    }

    void roundTrip()
    {
        QFETCH(QUrl, url);
        QFETCH(MediaKind, kind);
        QFETCH(QString, title);
        QFETCH(QString, subtitle);
        QFETCH(QString, thumbnail);
        const std::optional<QUrl> thumbnailURL =
            thumbnail.isEmpty() ? std::nullopt : std::optional<QUrl>(QUrl(thumbnail));
        const MediaSource source(url, kind, title, subtitle, thumbnailURL);

        const QJsonObject object = source.toJson();
        QCOMPARE(object.value("url").toString(), url.toString(QUrl::FullyEncoded));
        QCOMPARE(object.value("kind").toString(), toRaw(kind));
        QCOMPARE(object.contains("thumbnailURL"), thumbnailURL.has_value());

        // Through text, as the stores write it.
        const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
        const std::optional<MediaSource> decoded =
            MediaSource::fromJson(QJsonDocument::fromJson(bytes).object());
        QVERIFY(decoded.has_value());
        QCOMPARE(*decoded, source);
        QCOMPARE(decoded->urlString(), source.urlString());
    }

    void rejected_data()
    {
        QTest::addColumn<QJsonObject>("object");

        for (const char *key : {"url", "kind", "title", "subtitle"}) {
            QJsonObject missing = validObject();
            missing.remove(key);
            QTest::addRow("missing %s", key) << missing;
            QJsonObject wrongType = validObject();
            wrongType.insert(key, 7);
            QTest::addRow("%s not a string", key) << wrongType;
        }
        QJsonObject badKind = validObject();
        badKind.insert("kind", "Web");
        QTest::newRow("kind in wrong case") << badKind;
        badKind.insert("kind", "stream");
        QTest::newRow("unknown kind") << badKind;
        QJsonObject badURL = validObject();
        badURL.insert("url", "http://exa mple.com");
        QTest::newRow("unparsable url") << badURL;
        badURL.insert("url", "");
        QTest::newRow("empty url") << badURL;
        QJsonObject badThumbnail = validObject();
        badThumbnail.insert("thumbnailURL", 3);
        QTest::newRow("thumbnail not a string") << badThumbnail;
        QTest::newRow("empty object") << QJsonObject{};
    }

    void rejected()
    {
        QFETCH(QJsonObject, object);
        QVERIFY(!MediaSource::fromJson(object).has_value());
    }

    void optionalThumbnail_data()
    {
        QTest::addColumn<QJsonValue>("thumbnail");
        QTest::newRow("omitted") << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("null") << QJsonValue(QJsonValue::Null);
    }

    void optionalThumbnail()
    {
        QFETCH(QJsonValue, thumbnail);
        QJsonObject object = validObject();
        object.remove("thumbnailURL");
        if (!thumbnail.isUndefined())
            object.insert("thumbnailURL", thumbnail);
        const std::optional<MediaSource> decoded = MediaSource::fromJson(object);
        QVERIFY(decoded.has_value());
        QCOMPARE(decoded->thumbnailURL(), std::nullopt);
        QCOMPARE(decoded->title(), QStringLiteral("YouTube"));
        QVERIFY(!decoded->toJson().contains("thumbnailURL"));
    }

    void equalityComparesEveryField()
    {
        const MediaSource base(QUrl("https://a.com"), MediaKind::web, "t", "s");
        QCOMPARE(base, MediaSource(QUrl("https://a.com"), MediaKind::web, "t", "s"));
        QVERIFY(base != MediaSource(QUrl("https://b.com"), MediaKind::web, "t", "s"));
        QVERIFY(base != MediaSource(QUrl("https://a.com"), MediaKind::mediaURL, "t", "s"));
        QVERIFY(base != MediaSource(QUrl("https://a.com"), MediaKind::web, "T", "s"));
        QVERIFY(base != MediaSource(QUrl("https://a.com"), MediaKind::web, "t", "S"));
        MediaSource withThumbnail = base;
        withThumbnail.setThumbnailURL(QUrl("https://a.com/t.jpg"));
        QVERIFY(base != withThumbnail);
    }
};

QTEST_GUILESS_MAIN(TestMediaSource)
#include "tst_mediasource.moc"

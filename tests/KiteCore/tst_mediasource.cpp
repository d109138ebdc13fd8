#include "KiteCore/MediaSource.h"

#include <QJsonDocument>
#include <QTest>

class TestMediaSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Through text, as the stores write it.
    void roundTrip()
    {
        const MediaSource sources[] = {
            {QUrl("https://www.youtube.com/watch?v=x"), MediaKind::web, "YouTube", "www.youtube.com", QUrl("https://i.ytimg.com/t.jpg")},
            {QUrl::fromLocalFile("/home/u/视频/a b#c%.mkv"), MediaKind::localFile, "a b#c%", "视频"},
            {QUrl("https://cdn.example.com:8443/x/index.m3u8?t=a%26b#f"), MediaKind::mediaURL, "", ""}};
        for (const MediaSource &source : sources) {
            const QJsonObject object = source.toJson();
            QVERIFY(object["url"] == source.urlString() && object["kind"] == toRaw(source.kind()));
            QCOMPARE(object.contains("thumbnailURL"), source.thumbnailURL().has_value());
            const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
            QCOMPARE(MediaSource::fromJson(QJsonDocument::fromJson(bytes).object()), std::optional(source));
        }
    }

    // Every text key is required; the thumbnail may be absent or null but not anything else.
    void fromJson()
    {
        struct Row { const char *key; QJsonValue value; bool accepted = false; };
        const Row rows[] = {{"url", QJsonValue::Undefined}, {"kind", 7}, {"title", QJsonValue::Undefined}, {"subtitle", 7},
                            {"kind", "Web"}, {"url", "http://exa mple.com"}, {"url", ""}, {"thumbnailURL", 3},
                            {"thumbnailURL", QJsonValue::Undefined, true}, {"thumbnailURL", QJsonValue::Null, true}};
        for (const Row &row : rows) {
            QJsonObject object{{"url", "https://a.com/v"}, {"kind", "web"}, {"title", "A"}, {"subtitle", "a.com"},
                               {"thumbnailURL", "https://a.com/t.jpg"}};
            row.value.isUndefined() ? void(object.remove(row.key)) : void(object.insert(row.key, row.value));
            const std::optional<MediaSource> decoded = MediaSource::fromJson(object);
            QVERIFY2(decoded.has_value() == row.accepted && (!decoded || !decoded->thumbnailURL()), row.key);
        }
    }
};

QTEST_GUILESS_MAIN(TestMediaSource)
#include "tst_mediasource.moc"

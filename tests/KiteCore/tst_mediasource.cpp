#include "KiteCore/MediaSource.h"

#include <QJsonDocument>
#include <QTest>

class TestMediaSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Through text, as the stores write it; every text key is required, the thumbnail may be
    // absent or null but nothing else.
    void json()
    {
        const MediaSource sources[] = {
            {QUrl("https://www.youtube.com/watch?v=x"), MediaKind::web, "YouTube", "www.youtube.com", QUrl("https://i.ytimg.com/t.jpg")},
            {QUrl::fromLocalFile("/home/u/视频/a b#c%.mkv"), MediaKind::localFile, "a b#c%", "视频"}};
        for (const MediaSource &source : sources) {
            const QJsonObject object = source.toJson();
            QVERIFY(object["url"] == source.urlString() && object.contains("thumbnailURL") == source.thumbnailURL().has_value());
            const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
            QCOMPARE(MediaSource::fromJson(QJsonDocument::fromJson(bytes).object()), std::optional(source));
        }
        struct Row { const char *key; QJsonValue value; bool accepted = false; };
        const Row rows[] = {{"url", QJsonValue::Undefined}, {"kind", 7}, {"title", QJsonValue::Undefined}, {"subtitle", 7}, {"kind", "Web"},
                            {"url", "http://exa mple.com"}, {"url", ""}, {"thumbnailURL", 3}, {"thumbnailURL", QJsonValue::Undefined, true},
                            {"thumbnailURL", QJsonValue::Null, true}};
        for (const Row &row : rows) {
            QJsonObject object = sources[0].toJson();
            row.value.isUndefined() ? void(object.remove(row.key)) : void(object.insert(row.key, row.value));
            const std::optional<MediaSource> decoded = MediaSource::fromJson(object);
            QVERIFY2(decoded.has_value() == row.accepted && (!decoded || !decoded->thumbnailURL()), row.key);
        }
    }

    // Names are cut to 300 characters, the last one an ellipsis, never inside a surrogate pair.
    void boundedNames()
    {
        struct Row { QString name, expected; };
        const QString a298(298, u'a');
        for (const Row &row : {Row{QString(300, u'a'), QString(300, u'a')}, {a298 + "bcd", a298 + "b\u2026"}, {a298 + "\U0001F600d", a298 + "\u2026"}})
            QVERIFY(MediaSource(QUrl("https://a.example"), MediaKind::web, row.name, row.name).subtitle() == row.expected
                    && MediaSource(QUrl("https://a.example"), MediaKind::web, row.name, row.name).title() == row.expected);
    }
};

QTEST_GUILESS_MAIN(TestMediaSource)
#include "tst_mediasource.moc"

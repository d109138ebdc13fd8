#include "windows/WindowStateStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

namespace {

const QUrl sourceURL(QStringLiteral("file:///tmp/a.mp4"));

StoredWindowState sampleState()
{
    return StoredWindowState(QStringLiteral("{{100, 200}, {640, 386}}"), 0.85, true, 0.5, false);
}

QJsonObject sampleObject()
{
    return QJsonObject{
        {QStringLiteral("frame"), QStringLiteral("{{100, 200}, {640, 386}}")},
        {QStringLiteral("opacity"), 0.85},
        {QStringLiteral("pinned"), true},
        {QStringLiteral("volume"), 0.5},
        {QStringLiteral("lockAspect"), false},
    };
}

QByteArray withValue(const QString &key, const QJsonValue &value)
{
    QJsonObject object = sampleObject();
    object.insert(key, value);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray without(const QString &key)
{
    QJsonObject object = sampleObject();
    object.remove(key);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

Q_DECLARE_METATYPE(StoredWindowState)

char *toString(const StoredWindowState &state)
{
    return QTest::toString(QString::fromUtf8(state.toJson().value_or("(not finite)")));
}

class TestWindowStateStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QSettings> m_settings;

    QString settingsPath() const { return m_folder.filePath(QStringLiteral("Lumivane.conf")); }

    // A new settings object over the same file, after the old one has written it out.
    QSettings &reopened()
    {
        m_settings->sync();
        m_settings = std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat);
        return *m_settings;
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(settingsPath());
        m_settings = std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat);
    }

    void cleanup() { m_settings.reset(); }

    void key_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("local file, 15 digits") << sourceURL << "winstate.8abd908f52188c2";
        QTest::newRow("empty absolute string") << QUrl() << "winstate.cbf29ce484222325";
        // Published FNV-1a 64 test vectors; these strings are their own absolute form.
        QTest::newRow("vector a") << QUrl(QStringLiteral("a")) << "winstate.af63dc4c8601ec8c";
        QTest::newRow("vector foobar") << QUrl(QStringLiteral("foobar"))
                                       << "winstate.85944171f73967e8";
    }

    void key()
    {
        QFETCH(QUrl, url);
        QFETCH(QString, expected);
        QCOMPARE(WindowStateStore::key(url), expected);
    }

    void keyDependsOnTheAbsoluteString_data()
    {
        QTest::addColumn<QUrl>("first");
        QTest::addColumn<QUrl>("second");
        QTest::addColumn<bool>("same");
        const QUrl video(QStringLiteral("https://www.youtube.com/watch?v=abc"));
        QTest::newRow("same text") << video << QUrl(video.toString()) << true;
        QTest::newRow("one query item more")
            << video << QUrl(QStringLiteral("https://www.youtube.com/watch?v=abc&t=10")) << false;
        QTest::newRow("other query value")
            << video << QUrl(QStringLiteral("https://www.youtube.com/watch?v=abd")) << false;
        QTest::newRow("space and its escape")
            << QUrl::fromLocalFile(QStringLiteral("/tmp/a b.mp4"))
            << QUrl::fromEncoded("file:///tmp/a%20b.mp4") << true;
        QTest::newRow("non-ASCII path is hashed encoded")
            << QUrl::fromLocalFile(QStringLiteral("/tmp/视频.mp4"))
            << QUrl::fromEncoded("file:///tmp/%E8%A7%86%E9%A2%91.mp4") << true;
        QTest::newRow("trailing slash matters")
            << QUrl(QStringLiteral("https://a.com/x")) << QUrl(QStringLiteral("https://a.com/x/"))
            << false;
    }

    void keyDependsOnTheAbsoluteString()
    {
        QFETCH(QUrl, first);
        QFETCH(QUrl, second);
        QFETCH(bool, same);
        QCOMPARE(WindowStateStore::key(first) == WindowStateStore::key(second), same);
    }

    void roundTrip_data()
    {
        QTest::addColumn<StoredWindowState>("state");
        QTest::newRow("typical") << sampleState();
        QTest::newRow("all off, extremes")
            << StoredWindowState(QStringLiteral("{{0, 0}, {320, 220}}"), 0.0, false, 1.0, false);
        QTest::newRow("all on, negative origin")
            << StoredWindowState(QStringLiteral("{{-1280, -40.5}, {1920, 1080}}"), 1.0, true,
                                 0.0, true);
        QTest::newRow("fine fractions")
            << StoredWindowState(QStringLiteral("{{1, 2}, {3, 4}}"), 0.1 + 0.2, true, 1.0 / 3.0,
                                 true);
        QTest::newRow("empty frame text") << StoredWindowState(QString(), 0.5, false, 0.5, true);
        QTest::newRow("text needing escapes")
            << StoredWindowState(QStringLiteral("\"窗口\"\n\\{}"), 0.25, true, 0.75, false);
    }

    void roundTrip()
    {
        QFETCH(StoredWindowState, state);
        WindowStateStore::save(*m_settings, state, sourceURL);
        const std::optional<StoredWindowState> loaded =
            WindowStateStore::load(reopened(), sourceURL);
        QVERIFY(loaded.has_value());
        QCOMPARE(*loaded, state);
    }

    void savedValueIsCompactJsonWithFiveKeys()
    {
        WindowStateStore::save(*m_settings, sampleState(), sourceURL);
        const QVariant value = reopened().value(WindowStateStore::key(sourceURL));
        QCOMPARE(value.metaType().id(), QMetaType::QByteArray);
        const QByteArray bytes = value.toByteArray();
        QVERIFY(!bytes.contains('\n'));
        // Same keys, same values, same JSON types (QJsonValue compares types too).
        QCOMPARE(QJsonDocument::fromJson(bytes).object(), sampleObject());
        // Decimal point, not the German comma the tests run under.
        QVERIFY(bytes.contains("0.85"));
    }

    void saveReplacesAndKeepsOtherSources()
    {
        const QUrl other(QStringLiteral("https://example.com/page"));
        const StoredWindowState second(QStringLiteral("{{5, 6}, {700, 400}}"), 0.4, false, 0.9,
                                       true);
        WindowStateStore::save(*m_settings, sampleState(), sourceURL);
        WindowStateStore::save(*m_settings, sampleState(), other);
        WindowStateStore::save(*m_settings, second, sourceURL);
        QSettings &fresh = reopened();
        QCOMPARE(WindowStateStore::load(fresh, sourceURL), std::optional(second));
        QCOMPARE(WindowStateStore::load(fresh, other), std::optional(sampleState()));
        QVERIFY(!WindowStateStore::load(fresh, QUrl(QStringLiteral("file:///tmp/b.mp4"))));
    }

    void unreadableRecordIsAbsent_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("readable");
        QTest::newRow("intact") << withValue(QStringLiteral("pinned"), true) << true;
        QTest::newRow("whole-number opacity") << withValue(QStringLiteral("opacity"), 1) << true;
        for (const char *key : {"frame", "opacity", "pinned", "volume", "lockAspect"})
            QTest::addRow("without %s", key) << without(QString::fromLatin1(key)) << false;
        QTest::newRow("frame as number") << withValue(QStringLiteral("frame"), 3) << false;
        QTest::newRow("opacity as text") << withValue(QStringLiteral("opacity"), "0.5") << false;
        QTest::newRow("opacity as bool") << withValue(QStringLiteral("opacity"), true) << false;
        QTest::newRow("volume as null")
            << withValue(QStringLiteral("volume"), QJsonValue()) << false;
        QTest::newRow("pinned as number") << withValue(QStringLiteral("pinned"), 1) << false;
        QTest::newRow("lockAspect as text")
            << withValue(QStringLiteral("lockAspect"), "true") << false;
        QTest::newRow("opacity overflows")
            << QByteArray(R"({"frame":"","opacity":1e999,"pinned":true,)"
                          R"("volume":0.5,"lockAspect":true})")
            << false;
        QTest::newRow("truncated") << sampleState().toJson().value().chopped(1) << false;
        QTest::newRow("array") << QByteArray("[1,2,3]") << false;
        QTest::newRow("null") << QByteArray("null") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("garbage") << QByteArray("\xff\xfe\x00\x01garbage", 11) << false;
    }

    void unreadableRecordIsAbsent()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, readable);
        m_settings->setValue(WindowStateStore::key(sourceURL), stored);
        QCOMPARE(WindowStateStore::load(reopened(), sourceURL).has_value(), readable);
    }

    void unknownKeysAreIgnored()
    {
        m_settings->setValue(WindowStateStore::key(sourceURL),
                             withValue(QStringLiteral("cinema"), true));
        QCOMPARE(WindowStateStore::load(*m_settings, sourceURL), std::optional(sampleState()));
    }

    void textValueIsNotARecord()
    {
        const QByteArray json = sampleState().toJson().value();
        m_settings->setValue(WindowStateStore::key(sourceURL), QString::fromUtf8(json));
        QVERIFY(!WindowStateStore::load(reopened(), sourceURL));
    }

    void nonFiniteNumbersAreNotWritten_data()
    {
        QTest::addColumn<double>("opacity");
        QTest::addColumn<double>("volume");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("NaN opacity") << nan << 0.5;
        QTest::newRow("NaN volume") << 0.5 << nan;
        QTest::newRow("infinite opacity") << inf << 0.5;
        QTest::newRow("negative infinite volume") << 0.5 << -inf;
    }

    void nonFiniteNumbersAreNotWritten()
    {
        QFETCH(double, opacity);
        QFETCH(double, volume);
        const StoredWindowState broken(QStringLiteral("{{1, 2}, {640, 360}}"), opacity, true,
                                       volume, true);
        QVERIFY(!broken.toJson());

        WindowStateStore::save(*m_settings, broken, sourceURL);
        QVERIFY(!m_settings->contains(WindowStateStore::key(sourceURL)));

        WindowStateStore::save(*m_settings, sampleState(), sourceURL);
        WindowStateStore::save(*m_settings, broken, sourceURL);
        QCOMPARE(WindowStateStore::load(reopened(), sourceURL), std::optional(sampleState()));
    }
};

QTEST_GUILESS_MAIN(TestWindowStateStore)
#include "tst_windowstatestore.moc"

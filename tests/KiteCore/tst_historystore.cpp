#include "KiteCore/HistoryStore.h"
#include "KiteCore/L10n.h"
#include "KiteCore/StoredJson.h"
#include "TestFiles.h"

#include <QDir>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using TestFiles::contentOf;
using TestFiles::mode;
using TestFiles::writeContent;

using Operation = std::function<void(HistoryStore &, const QUuid &)>;

const char *const childFileVariable = "LUMIVANE_SAVE_LOOP_FILE";

MediaSource source(const QString &url, std::optional<QUrl> thumbnail = std::nullopt)
{
    const QUrl parsed(url);
    return MediaSource(parsed, MediaKind::web, parsed.host(), QStringLiteral("sub ") + parsed.host(),
                       std::move(thumbnail));
}

QString numbered(int i)
{
    return QStringLiteral("https://example.com/v/%1").arg(i);
}

// A valid stored entry, which the rejection rows then spoil one key at a time.
QJsonObject storedEntry()
{
    return QJsonObject{{"id", "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
                       {"urlString", "https://example.com/a"},
                       {"title", "A"},
                       {"subtitle", "example.com"},
                       {"kind", "mediaURL"},
                       {"lastOpened", 86400.5},
                       {"openCount", 3},
                       {"isFavorite", true}};
}

QStringList leftoverTemporaries(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".history-*.tmp")}, QDir::Files | QDir::Hidden);
}

} // namespace

Q_DECLARE_METATYPE(Operation)

class TestHistoryStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    QDateTime m_time;

    QString folder() const { return m_dir->path() + QStringLiteral("/data"); }
    QString file() const { return folder() + QStringLiteral("/history.json"); }
    HistoryStore::Clock clock()
    {
        return [this] { return m_time; };
    }
    void tick() { m_time = m_time.addSecs(60); }

    // Records `count` distinct URLs, the first one oldest.
    void fill(HistoryStore &store, int count)
    {
        for (int i = 0; i < count; ++i) {
            store.record(source(numbered(i)));
            tick();
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/share")).toUtf8());
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_time = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::LocalTime);
        L10n::setLanguage(AppLanguage::zh);
    }

    void cleanup()
    {
        // A failed test may leave a read-only folder behind; the temporary folder must go.
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_dir.reset();
        L10n::setLanguage(AppLanguage::system);
    }

    void progress_data()
    {
        QTest::addColumn<std::optional<double>>("resume");
        QTest::addColumn<std::optional<double>>("duration");
        QTest::addColumn<std::optional<double>>("expected");
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        using O = std::optional<double>;
        QTest::newRow("quarter") << O(30) << O(120) << O(0.25);
        QTest::newRow("no duration") << O(30) << O() << O();
        QTest::newRow("no resume") << O() << O(120) << O();
        QTest::newRow("zero duration") << O(30) << O(0) << O();
        QTest::newRow("negative duration") << O(30) << O(-5) << O();
        QTest::newRow("NaN duration") << O(30) << O(nan) << O();
        QTest::newRow("NaN resume") << O(nan) << O(120) << O();
        QTest::newRow("infinite resume") << O(inf) << O(120) << O();
        QTest::newRow("past the end") << O(200) << O(120) << O(1.0);
        QTest::newRow("negative resume") << O(-10) << O(120) << O(0.0);
        QTest::newRow("infinite duration") << O(30) << O(inf) << O(0.0);
    }

    void progress()
    {
        QFETCH(std::optional<double>, resume);
        QFETCH(std::optional<double>, duration);
        QFETCH(std::optional<double>, expected);
        HistoryItem item;
        item.resumeSeconds = resume;
        item.durationSeconds = duration;
        QCOMPARE(item.progress(), expected);
    }

    void itemJsonForm_data()
    {
        QTest::addColumn<bool>("withOptionals");
        QTest::newRow("all fields") << true;
        QTest::newRow("optionals absent") << false;
    }

    void itemJsonForm()
    {
        QFETCH(bool, withOptionals);
        HistoryItem item;
        item.id = QUuid::fromString(QStringLiteral("{6f9619ff-8b86-d011-b42d-00c04fc964ff}"));
        item.urlString = QStringLiteral("https://example.com/a?b=1");
        item.title = QStringLiteral("标题");
        item.subtitle = QStringLiteral("example.com");
        item.kind = MediaKind::localFile;
        item.lastOpened = QDateTime(QDate(2001, 1, 2), QTime(0, 0, 1, 500), QTimeZone::utc());
        item.openCount = 7;
        item.isFavorite = true;
        if (withOptionals) {
            item.resumeSeconds = 12.25;
            item.durationSeconds = 300;
            item.thumbnailURLString = QStringLiteral("https://img.example.com/t.jpg");
        }

        const QJsonObject json = item.toJson();
        QCOMPARE(json.value("id").toString(), QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
        QCOMPARE(json.value("lastOpened").toDouble(), 86401.5);
        QCOMPARE(json.value("kind").toString(), QStringLiteral("localFile"));
        QCOMPARE(json.value("openCount").toInt(), 7);
        QCOMPARE(json.value("isFavorite").toBool(), true);
        for (const char *key : {"resumeSeconds", "durationSeconds", "thumbnailURLString"})
            QCOMPARE(json.contains(QLatin1String(key)), withOptionals);
        QCOMPARE(json.size(), withOptionals ? 11 : 8);
        QCOMPARE(HistoryItem::fromJson(json), item);
    }

    void itemFromJson_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<bool>("accepted");
        const QJsonValue missing(QJsonValue::Undefined);
        for (const char *key : {"id", "urlString", "title", "subtitle", "kind", "lastOpened", "openCount",
                                "isFavorite"})
            QTest::addRow("without %s", key) << QString(key) << missing << false;
        QTest::newRow("id lower case") << "id" << QJsonValue("6f9619ff-8b86-d011-b42d-00c04fc964ff") << true;
        QTest::newRow("id with braces") << "id" << QJsonValue("{6F9619FF-8B86-D011-B42D-00C04FC964FF}") << false;
        QTest::newRow("id not hex") << "id" << QJsonValue("6F9619FF-8B86-D011-B42D-00C04FC964FG") << false;
        QTest::newRow("id number") << "id" << QJsonValue(12) << false;
        QTest::newRow("unknown kind") << "kind" << QJsonValue("video") << false;
        QTest::newRow("title number") << "title" << QJsonValue(1) << false;
        QTest::newRow("fractional count") << "openCount" << QJsonValue(2.5) << false;
        QTest::newRow("count as text") << "openCount" << QJsonValue("3") << false;
        QTest::newRow("huge count") << "openCount" << QJsonValue(1e12) << false;
        QTest::newRow("date as text") << "lastOpened" << QJsonValue("2026-01-01") << false;
        QTest::newRow("absurd date") << "lastOpened" << QJsonValue(1e300) << false;
        QTest::newRow("favourite as number") << "isFavorite" << QJsonValue(1) << false;
        QTest::newRow("resume as text") << "resumeSeconds" << QJsonValue("10") << false;
        QTest::newRow("resume null") << "resumeSeconds" << QJsonValue(QJsonValue::Null) << true;
        QTest::newRow("duration present") << "durationSeconds" << QJsonValue(99.5) << true;
        QTest::newRow("thumbnail number") << "thumbnailURLString" << QJsonValue(5) << false;
        QTest::newRow("unknown extra key") << "somethingNew" << QJsonValue(true) << true;
    }

    void itemFromJson()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(bool, accepted);
        QJsonObject object = storedEntry();
        if (value.isUndefined())
            object.remove(key);
        else
            object.insert(key, value);
        const auto item = HistoryItem::fromJson(object);
        QCOMPARE(item.has_value(), accepted);
        if (!accepted)
            QVERIFY2(item.error().contains(key), qPrintable(item.error()));
    }

    void recordSameURLAgain_data()
    {
        QTest::addColumn<std::optional<QUrl>>("secondThumbnail");
        QTest::addColumn<QString>("expectedThumbnail");
        QTest::newRow("new thumbnail replaces") << std::optional(QUrl("https://img.example.com/new.jpg"))
                                                << QStringLiteral("https://img.example.com/new.jpg");
        QTest::newRow("no thumbnail keeps old") << std::optional<QUrl>()
                                                << QStringLiteral("https://img.example.com/old.jpg");
    }

    void recordSameURLAgain()
    {
        QFETCH(std::optional<QUrl>, secondThumbnail);
        QFETCH(QString, expectedThumbnail);
        HistoryStore store(file(), clock());
        const HistoryItem first = store.record(source("https://example.com/a", QUrl("https://img.example.com/old.jpg")));
        store.setFavorite(first.id, true);
        store.updateResume(first.id, 42, 100);
        tick();
        store.record(source("https://example.com/b"));
        tick();
        const MediaSource again(QUrl("https://example.com/a"), MediaKind::mediaURL, "New title", "New sub",
                                secondThumbnail);
        const HistoryItem returned = store.record(again);

        QCOMPARE(store.items().size(), 2);
        const HistoryItem &front = store.items().first();
        QCOMPARE(returned, front);
        QCOMPARE(front.id, first.id);
        QCOMPARE(front.openCount, 2);
        QCOMPARE(front.lastOpened, m_time);
        QCOMPARE(front.isFavorite, true);
        QCOMPARE(front.resumeSeconds, std::optional<double>(42));
        QCOMPARE(front.durationSeconds, std::optional<double>(100));
        QCOMPARE(front.title, QStringLiteral("New title"));
        QCOMPARE(front.subtitle, QStringLiteral("New sub"));
        QCOMPARE(front.kind, MediaKind::mediaURL);
        QCOMPARE(front.thumbnailURLString, std::optional(expectedThumbnail));
        QCOMPARE(HistoryStore(file(), clock()).items(), store.items());
    }

    void recordKeysAreExact_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("entries");
        QTest::newRow("same") << "https://example.com/Video" << "https://example.com/Video" << 1;
        QTest::newRow("letter case in path") << "https://example.com/Video" << "https://example.com/video" << 2;
        QTest::newRow("trailing slash") << "https://example.com/v" << "https://example.com/v/" << 2;
        QTest::newRow("query differs") << "https://example.com/v?a=1" << "https://example.com/v?a=2" << 2;
    }

    void recordKeysAreExact()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, entries);
        HistoryStore store(file(), clock());
        store.record(source(first));
        store.record(source(second));
        QCOMPARE(store.items().size(), entries);
        QCOMPARE(store.item(QUrl(second)).value_or(HistoryItem()).id, store.items().first().id);
        QCOMPARE(store.item(QUrl(first)).value_or(HistoryItem()).urlString, first);
        QVERIFY(!store.item(QUrl("https://example.com/elsewhere")));
    }

    void trimming_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<QList<int>>("favourites"); // by recording order, 0 = oldest
        QTest::addColumn<int>("recordIndex");      // an existing index re-opens it
        QTest::addColumn<int>("expectedCount");
        QTest::addColumn<QList<int>>("gone");
        QTest::newRow("below the limit") << 29 << QList<int>{} << 100 << 30 << QList<int>{};
        QTest::newRow("31st drops the oldest") << 30 << QList<int>{} << 100 << 30 << QList<int>{0};
        QTest::newRow("oldest favourite is spared") << 30 << QList<int>{0, 1} << 100 << 30 << QList<int>{2};
        QList<int> all;
        for (int i = 0; i < 30; ++i)
            all << i;
        QTest::newRow("only favourites: grows") << 30 << all << 100 << 31 << QList<int>{};
        QList<int> thirtyOne = all;
        thirtyOne << 30;
        QTest::newRow("re-open over the limit keeps all") << 31 << thirtyOne << 5 << 31 << QList<int>{};
        QTest::newRow("re-open at the limit") << 30 << QList<int>{} << 0 << 30 << QList<int>{};
    }

    void trimming()
    {
        QFETCH(int, existing);
        QFETCH(QList<int>, favourites);
        QFETCH(int, recordIndex);
        QFETCH(int, expectedCount);
        QFETCH(QList<int>, gone);
        // The list is written directly, newest first, so that no trimming happens while seeding.
        QJsonArray seeded;
        for (int i = existing - 1; i >= 0; --i) {
            QJsonObject stored = storedEntry();
            stored.insert("id", StoredJson::uuidText(QUuid::createUuid()));
            stored.insert("urlString", numbered(i));
            stored.insert("isFavorite", favourites.contains(i));
            seeded.append(stored);
        }
        writeContent(file(), QJsonDocument(seeded).toJson());
        HistoryStore store(file(), clock());
        QCOMPARE(store.items().size(), existing);
        store.record(source(numbered(recordIndex)));
        QCOMPARE(store.items().size(), expectedCount);
        QCOMPARE(store.items().first().urlString, numbered(recordIndex));
        for (int i = 0; i < existing; ++i)
            QCOMPARE(store.item(QUrl(numbered(i))).has_value(), !gone.contains(i));
        QCOMPARE(HistoryStore(file(), clock()).items().size(), expectedCount);
    }

    void updateResume_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<std::optional<double>>("duration");
        QTest::addColumn<double>("expectedResume");
        QTest::addColumn<std::optional<double>>("expectedDuration");
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        using O = std::optional<double>;
        QTest::newRow("past the end") << 500.0 << O(300) << 300.0 << O(300);
        QTest::newRow("negative") << -5.0 << O(300) << 0.0 << O(300);
        QTest::newRow("NaN duration clears") << 42.0 << O(nan) << 42.0 << O();
        QTest::newRow("infinite duration clears") << 42.0 << O(inf) << 42.0 << O();
        QTest::newRow("absent duration clears") << 42.0 << O() << 42.0 << O();
        QTest::newRow("zero duration clears") << 42.0 << O(0) << 42.0 << O();
        QTest::newRow("NaN position") << nan << O(300) << 0.0 << O(300);
        QTest::newRow("infinite position") << inf << O(300) << 0.0 << O(300);
        QTest::newRow("ordinary") << 61.5 << O(300) << 61.5 << O(300);
    }

    void updateResume()
    {
        QFETCH(double, seconds);
        QFETCH(std::optional<double>, duration);
        QFETCH(double, expectedResume);
        QFETCH(std::optional<double>, expectedDuration);
        HistoryStore store(file(), clock());
        const QUuid id = store.record(source("https://example.com/a")).id;
        store.updateResume(id, 10, 1000);
        store.updateResume(id, seconds, duration);
        QCOMPARE(store.items().first().resumeSeconds, std::optional(expectedResume));
        QCOMPARE(store.items().first().durationSeconds, expectedDuration);
        QCOMPARE(HistoryStore(file(), clock()).items(), store.items());
    }

    void whenOperationsSave_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("saves");
        QTest::addColumn<QString>("expectedTitle");
        const QUuid unknown = QUuid::createUuid();
        const QString same = QStringLiteral("example.com");
        QTest::newRow("new title, trimmed") << Operation([](HistoryStore &s, const QUuid &id) {
            s.updateTitle(id, "  Real title \n");
        }) << true << "Real title";
        QTest::newRow("blank title") << Operation([](HistoryStore &s, const QUuid &id) { s.updateTitle(id, " \t\n"); })
                                     << false << same;
        QTest::newRow("unchanged title") << Operation([](HistoryStore &s, const QUuid &id) {
            s.updateTitle(id, " example.com ");
        }) << false << same;
        QTest::newRow("title, unknown id") << Operation([unknown](HistoryStore &s, const QUuid &) {
            s.updateTitle(unknown, "X");
        }) << false << same;
        QTest::newRow("new thumbnail") << Operation([](HistoryStore &s, const QUuid &id) {
            s.updateThumbnail(id, " https://img.example.com/2.jpg ");
        }) << true << same;
        QTest::newRow("empty thumbnail") << Operation([](HistoryStore &s, const QUuid &id) {
            s.updateThumbnail(id, "  ");
        }) << false << same;
        QTest::newRow("unchanged thumbnail") << Operation([](HistoryStore &s, const QUuid &id) {
            s.updateThumbnail(id, "https://img.example.com/1.jpg");
        }) << false << same;
        QTest::newRow("favourite unchanged still saves") << Operation([](HistoryStore &s, const QUuid &id) {
            s.setFavorite(id, false);
        }) << true << same;
        QTest::newRow("favourite, unknown id") << Operation([unknown](HistoryStore &s, const QUuid &) {
            s.setFavorite(unknown, true);
        }) << false << same;
        QTest::newRow("resume, unknown id") << Operation([unknown](HistoryStore &s, const QUuid &) {
            s.updateResume(unknown, 5, 10);
        }) << false << same;
        QTest::newRow("remove, unknown id") << Operation([unknown](HistoryStore &s, const QUuid &) {
            s.remove(unknown);
        }) << false << same;
    }

    void whenOperationsSave()
    {
        QFETCH(Operation, operation);
        QFETCH(bool, saves);
        QFETCH(QString, expectedTitle);
        HistoryStore store(file(), clock());
        const QUuid id = store.record(source("https://example.com/a", QUrl("https://img.example.com/1.jpg"))).id;
        QVERIFY(QFile::remove(file()));
        operation(store, id);
        QCOMPARE(QFile::exists(file()), saves);
        QCOMPARE(store.items().size(), 1);
        QCOMPARE(store.items().first().title, expectedTitle);
        if (saves)
            QCOMPARE(HistoryStore(file(), clock()).items(), store.items());
    }

    void removeAndClear()
    {
        HistoryStore store(file(), clock());
        fill(store, 3);
        const QUuid middle = store.items().at(1).id;
        store.remove(middle);
        QCOMPARE(store.items().size(), 2);
        QVERIFY(!store.item(QUrl(numbered(1))));
        QCOMPARE(HistoryStore(file(), clock()).items(), store.items());
        store.clear();
        QVERIFY(store.items().isEmpty());
        QCOMPARE(contentOf(file()), QByteArray("[]"));
    }

    void fileIsOneCompactArrayInListOrder()
    {
        HistoryStore store(file(), clock());
        fill(store, 3);
        const QByteArray data = contentOf(file());
        QVERIFY(!data.contains('\n'));
        const QJsonArray array = QJsonDocument::fromJson(data).array();
        QCOMPARE(array.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(array.at(i).toObject().value("urlString").toString(), numbered(2 - i));
    }

    void loadKeepsFileOrderAndDuplicates()
    {
        QJsonObject older = storedEntry();
        QJsonObject newer = storedEntry();
        newer.insert("id", "00000000-0000-0000-0000-000000000001");
        newer.insert("lastOpened", 999999.0);
        writeContent(file(), QJsonDocument(QJsonArray{older, newer}).toJson());
        HistoryStore store(file(), clock());
        QVERIFY(!store.persistenceError());
        QCOMPARE(store.items().size(), 2);
        QVERIFY(store.items().at(0).lastOpened < store.items().at(1).lastOpened);
        QCOMPARE(store.item(QUrl("https://example.com/a")).value_or(HistoryItem()).id, store.items().at(0).id);
    }

    void openCountStopsAtItsLimit()
    {
        QJsonObject entry = storedEntry();
        entry.insert("openCount", std::numeric_limits<int>::max());
        writeContent(file(), QJsonDocument(QJsonArray{entry}).toJson());
        HistoryStore store(file(), clock());
        QCOMPARE(store.record(source("https://example.com/a")).openCount, std::numeric_limits<int>::max());
    }

    void missingFile()
    {
        HistoryStore store(file(), clock());
        QCOMPARE(store.fileURL(), QUrl::fromLocalFile(file()));
        QVERIFY(store.items().isEmpty());
        QCOMPARE(store.persistenceError(), std::nullopt);
        QVERIFY(QFileInfo(folder()).isDir());
        QVERIFY(!QFile::exists(file()));
    }

    // A file that cannot be read is kept aside, and the text says why and where, in the
    // interface language.
    void damagedFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("keptAs");
        QByteArray valid = QJsonDocument(QJsonArray{storedEntry()}).toJson(QJsonDocument::Compact);
        QJsonObject withoutCount = storedEntry();
        withoutCount.remove("openCount");
        QJsonObject numericKind = storedEntry();
        numericKind.insert("kind", 2);
        const QString zh = QStringLiteral("历史记录读取失败：");
        const QString zhKept = QStringLiteral("原文件已另存为：");
        QTest::newRow("empty") << QByteArray() << QString() << AppLanguage::en
                               << "Couldn't read the history: " << "the damaged file was kept as ";
        QTest::newRow("truncated") << valid.left(valid.size() / 2) << QString() << AppLanguage::es
                                   << "No se ha podido leer el historial: " << "el archivo dañado se guardó como ";
        QTest::newRow("not JSON") << QByteArray("hello, history") << QString() << AppLanguage::zh << zh << zhKept;
        QTest::newRow("object, not a list") << QByteArray(R"({"items":[]})") << "list" << AppLanguage::zh << zh
                                            << zhKept;
        QTest::newRow("list of numbers") << QByteArray("[1,2]") << "not an object" << AppLanguage::zh << zh << zhKept;
        QTest::newRow("entry without openCount")
            << QJsonDocument(QJsonArray{storedEntry(), withoutCount}).toJson()
            << "entry 2: missing or invalid \"openCount\"" << AppLanguage::zh << zh << zhKept;
        QTest::newRow("kind of wrong type") << QJsonDocument(QJsonArray{numericKind}).toJson() << "kind"
                                            << AppLanguage::zh << zh << zhKept;
    }

    void damagedFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QFETCH(AppLanguage, language);
        QFETCH(QString, prefix);
        QFETCH(QString, keptAs);
        L10n::setLanguage(language);
        writeContent(file(), content);
        HistoryStore store(file(), clock());

        const QString copy = file() + QStringLiteral(".damaged-20260304-050607");
        QVERIFY(store.items().isEmpty());
        QVERIFY(store.persistenceError());
        const QString error = *store.persistenceError();
        QVERIFY2(error.startsWith(prefix), qPrintable(error));
        QVERIFY2(error.contains(keptAs + copy), qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(contentOf(copy), content);
        QCOMPARE(mode(copy), 0600);
        QCOMPARE(contentOf(file()), content);

        store.record(source("https://example.com/fresh"));
        QCOMPARE(store.persistenceError(), std::nullopt);
        HistoryStore reloaded(file(), clock());
        QCOMPARE(reloaded.persistenceError(), std::nullopt);
        QCOMPARE(reloaded.items(), store.items());
        QCOMPARE(contentOf(copy), content);
    }

    void damagedCopiesNeverOverwrite()
    {
        const QString base = file() + QStringLiteral(".damaged-20260304-050607");
        const QStringList expected{base, base + QStringLiteral("-2"), base + QStringLiteral("-3")};
        for (int round = 0; round < expected.size(); ++round) {
            const QByteArray content = "broken " + QByteArray::number(round);
            writeContent(file(), content);
            HistoryStore store(file(), clock());
            QVERIFY2(store.persistenceError().value_or(QString()).contains(expected.at(round)), qPrintable(store.persistenceError().value_or(QString())));
        }
        for (int round = 0; round < expected.size(); ++round)
            QCOMPARE(contentOf(expected.at(round)), "broken " + QByteArray::number(round));
    }

    void folderInPlaceOfFileIsMovedAside()
    {
        QVERIFY(QDir().mkpath(file() + QStringLiteral("/inner")));
        HistoryStore store(file(), clock());
        const QString copy = file() + QStringLiteral(".damaged-20260304-050607");
        QVERIFY(store.persistenceError().value_or(QString()).contains(copy));
        QVERIFY(QFileInfo(copy + QStringLiteral("/inner")).isDir());
        store.record(source("https://example.com/a"));
        QCOMPARE(store.persistenceError(), std::nullopt);
        QCOMPARE(HistoryStore(file(), clock()).items().size(), 1);
    }

    void folderCannotBeCreated()
    {
        writeContent(folder(), "a file where the folder should be");
        HistoryStore store(file(), clock());
        QVERIFY(store.items().isEmpty());
        QVERIFY2(store.persistenceError().value_or(QString()).startsWith(QStringLiteral("无法创建历史记录目录：")),
                 qPrintable(store.persistenceError().value_or(QString())));
        store.record(source("https://example.com/a"));
        QCOMPARE(store.items().size(), 1);
        QVERIFY2(store.persistenceError().value_or(QString()).startsWith(QStringLiteral("历史记录保存失败：")),
                 qPrintable(store.persistenceError().value_or(QString())));
        QCOMPARE(contentOf(folder()), QByteArray("a file where the folder should be"));
    }

    void saveFailureKeepsFileAndList_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::newRow("read-only folder") << "readOnlyFolder";
        QTest::newRow("file size limit") << "sizeLimit";
    }

    void saveFailureKeepsFileAndList()
    {
        QFETCH(QString, cause);
        HistoryStore store(file(), clock());
        const QUuid first = store.record(source("https://example.com/a")).id;
        const QByteArray before = contentOf(file());

        rlimit original{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
        if (cause == u"readOnlyFolder") {
            QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));
            QFile probe(folder() + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QSKIP("this user can write into read-only folders (root)");
            }
        } else {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit tight = original;
            tight.rlim_cur = 16;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        }

        store.record(source("https://example.com/b"));
        setrlimit(RLIMIT_FSIZE, &original);
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(store.items().size(), 2);
        QVERIFY(store.persistenceError());
        QVERIFY2(store.persistenceError().value_or(QString()).startsWith(QStringLiteral("历史记录保存失败：")),
                 qPrintable(store.persistenceError().value_or(QString())));
        QCOMPARE(contentOf(file()), before);
        QCOMPARE(leftoverTemporaries(folder()), QStringList());

        store.setFavorite(first, true);
        QCOMPARE(store.persistenceError(), std::nullopt);
        QCOMPARE(HistoryStore(file(), clock()).items(), store.items());
    }

    void createdFilesAndFoldersAreOwnerOnly()
    {
        const QString nested = m_dir->path() + QStringLiteral("/a/b/Lumivane/history.json");
        HistoryStore store(nested, clock());
        store.record(source("https://example.com/a"));
        for (const char *sub : {"/a", "/a/b", "/a/b/Lumivane"})
            QCOMPARE(mode(m_dir->path() + QLatin1String(sub)), 0700);
        QCOMPARE(mode(nested), 0600);

        QVERIFY(QFile::setPermissions(nested, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        store.record(source("https://example.com/b"));
        QCOMPARE(mode(nested), 0600);
    }

    void staleTemporariesRemovedAtLoad()
    {
        const QStringList ours{".history-6F9619FF-8B86-D011-B42D-00C04FC964FF.tmp", ".history-x.tmp"};
        const QStringList others{".playlist-x.tmp", "history.json.damaged-20260101-000000", ".history-x.bak"};
        for (const QString &name : ours + others)
            writeContent(folder() + QLatin1Char('/') + name, "partial");
        HistoryStore store(file(), clock());
        for (const QString &name : ours)
            QVERIFY2(!QFile::exists(folder() + QLatin1Char('/') + name), qPrintable(name));
        for (const QString &name : others)
            QVERIFY2(QFile::exists(folder() + QLatin1Char('/') + name), qPrintable(name));
    }

    // A writer killed at any moment leaves the old list or the new one, never a torn file.
    void crashSafety()
    {
        {
            HistoryStore seed(file(), clock());
            for (int i = 0; i < HistoryStore::maxItems; ++i)
                seed.record(source(numbered(i) + QStringLiteral("?pad=") + QString(400, QLatin1Char('x'))));
        }
        const QList<HistoryItem> seeded = HistoryStore(file(), clock()).items();
        const QByteArray seededContent = contentOf(file());
        QRandomGenerator random(20261206);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(childFileVariable), file());

        constexpr int rounds = 200;
        int failures = 0;
        int midWrite = 0;
        qint64 confirmed = 0;
        QElapsedTimer elapsed;
        elapsed.start();
        for (int round = 0; round < rounds; ++round) {
            QProcess child;
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("saveLoopChild")});
            QVERIFY(child.waitForStarted());
            const int wanted = random.bounded(1, 4);
            int seen = 0;
            QByteArray other;
            // Generous bounds: an fsync on a machine busy with other writes can take seconds.
            const QDeadlineTimer deadline(60000);
            while (seen < wanted && child.state() == QProcess::Running && !deadline.hasExpired()) {
                if (!child.canReadLine())
                    child.waitForReadyRead(static_cast<int>(qMax<qint64>(deadline.remainingTime(), 1)));
                while (child.canReadLine()) {
                    const QByteArray line = child.readLine().trimmed();
                    if (line.startsWith("saved ")) {
                        ++seen;
                        confirmed = line.mid(6).toLongLong();
                    } else {
                        other += line + '\n';
                    }
                }
            }
            // Several confirmations may arrive in one read, so more than wanted is fine.
            QVERIFY2(seen >= wanted, qPrintable(QStringLiteral("round %1: child stopped early (state %5, %2, exit %3): %4")
                                                    .arg(round)
                                                    .arg(child.errorString())
                                                    .arg(child.exitCode())
                                                    .arg(QString::fromUtf8(other + child.readAll()))
                                                    .arg(int(child.state()))));
            // Spread the kill over the whole save cycle.
            QElapsedTimer jitter;
            jitter.start();
            const qint64 jitterNanoseconds = random.bounded(3000) * 1000;
            while (jitter.nsecsElapsed() < jitterNanoseconds) {
            }
            child.kill();
            QVERIFY(child.waitForFinished(60000));

            midWrite += static_cast<int>(leftoverTemporaries(folder()).size());
            HistoryStore check(file(), clock());
            const bool intact = !check.persistenceError() && check.items().size() == seeded.size()
                                && check.items().first().id == seeded.first().id
                                && check.items().first().resumeSeconds.value_or(-1) >= static_cast<double>(confirmed);
            if (!intact) {
                ++failures;
                qWarning() << "round" << round << check.persistenceError().value_or(QString());
                writeContent(file(), seededContent);
                confirmed = 0;
            }
        }
        qInfo("crash safety: %d rounds, %d failures, %d kills during a write, %lld saves confirmed, %lld ms", rounds,
              failures, midWrite, confirmed, elapsed.elapsed());
        QCOMPARE(failures, 0);
    }

    // Runs only as the child process of crashSafety: saves until it is killed.
    void saveLoopChild()
    {
        const QString path = qEnvironmentVariable(childFileVariable);
        if (path.isEmpty())
            QSKIP("only runs as the child of crashSafety");
        HistoryStore store(path);
        QVERIFY(!store.persistenceError() && !store.items().isEmpty());
        const QUuid id = store.items().first().id;
        auto counter = static_cast<long long>(store.items().first().resumeSeconds.value_or(0));
        QElapsedTimer lifetime;
        lifetime.start();
        while (lifetime.elapsed() < 120000) {
            store.updateResume(id, static_cast<double>(++counter), 1e12);
            QVERIFY(!store.persistenceError());
            std::printf("saved %lld\n", counter);
            std::fflush(stdout);
        }
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"

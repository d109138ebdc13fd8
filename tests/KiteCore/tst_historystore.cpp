#include "KiteCore/HistoryStore.h"
#include "KiteCore/L10n.h"
#include "KiteCore/StoredJson.h"
#include "TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QtNumeric>

#include <functional>
#include <limits>

using O = std::optional<double>;

namespace {

constexpr int intMax = std::numeric_limits<int>::max();

MediaSource source(const QString &url, std::optional<QUrl> thumbnail = {}) { return {QUrl(url), MediaKind::web, "Title", "sub", thumbnail}; }

QString numbered(int i) { return QStringLiteral("https://example.com/v/%1").arg(i); }

QJsonObject stored(const QString &url, bool favourite = false, int count = 3)
{
    return HistoryItem{QUuid::createUuid(), url, "A", "s", MediaKind::mediaURL, QDateTime::fromSecsSinceEpoch(0), count, favourite, {}, {}, {}}.toJson();
}

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QDateTime m_now{QDate(2026, 3, 4), QTime(5, 6, 7)};

    QString file() const { return m_dir.filePath("data/history.json"); }
    HistoryStore open() { return HistoryStore(file(), [this] { return m_now; }); }
    void seed(const QJsonArray &entries) { TestFiles::writeContent(file(), QJsonDocument(entries).toJson()); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(file());
        L10n::setLanguage(AppLanguage::en);
    }

    // Optional values are written only when present; each key is checked on the way in.
    void item()
    {
        HistoryItem item{QUuid::createUuid(), "https://example.com/a?b=1", "标题", "s", MediaKind::localFile, m_now, 7, true, {}, {}, {}};
        QVERIFY(item.toJson().size() == 8 && HistoryItem::fromJson(item.toJson()) == item);
        item = {item.id, item.urlString, "t", "s", MediaKind::web, m_now, 1, false, 12.25, 300, "https://img.example.com/t.jpg"};
        QCOMPARE(HistoryItem::fromJson(item.toJson()), item);
        struct Row { const char *key; QJsonValue value; bool accepted = false; };
        const Row rows[] = {{"id", "{" + StoredJson::uuidText(item.id) + "}"}, {"urlString", 1}, {"title", QJsonValue::Undefined},
                            {"kind", "video"}, {"lastOpened", "2026-01-01"}, {"lastOpened", 1e300}, {"openCount", 2.5}, {"isFavorite", 1},
                            {"resumeSeconds", "10"}, {"durationSeconds", "5"}, {"thumbnailURLString", 5},
                            {"resumeSeconds", QJsonValue::Null, true}, {"somethingNew", true, true},
                            {"urlString", QString(8193, 'u')}, {"thumbnailURLString", QString(8193, 't')}};
        for (const Row &row : rows) {
            QJsonObject object = item.toJson();
            row.value.isUndefined() ? void(object.remove(row.key)) : void(object.insert(row.key, row.value));
            const auto decoded = HistoryItem::fromJson(object);
            QVERIFY2(decoded ? row.accepted : !row.accepted && decoded.error().contains(row.key), row.key);
        }
        // Names stored before they were bounded are cut on the way in.
        QJsonObject named = item.toJson();
        named.insert("title", QString(400, 't'));
        named.insert("subtitle", QString(400, 's'));
        QVERIFY(HistoryItem::fromJson(named)->title.size() == 300 && HistoryItem::fromJson(named)->subtitle.size() == 300);
        // How far playback got, 0...1, only with a usable position and length.
        struct Progress { O resume, duration, expected; };
        for (const Progress &row : std::initializer_list<Progress>{{30, 120, 0.25}, {30, 0, {}}, {qQNaN(), 120, {}}, {200, 120, 1.0}, {-10, 120, 0.0}})
            QCOMPARE((HistoryItem{{}, {}, {}, {}, MediaKind::web, {}, 1, false, row.resume, row.duration, {}}.progress()), row.expected);
    }

    // Opening a known URL again updates its entry and moves it to the front; URLs must match
    // exactly; the count stops at its limit.
    void recordAgain()
    {
        HistoryStore store = open();
        const HistoryItem first = store.record(source("https://example.com/a", QUrl("https://t/old")));
        store.setFavorite(first.id, true);
        store.updateResume(first.id, 42, 100);
        store.record(source("https://example.com/b"));
        m_now = m_now.addSecs(60);
        const HistoryItem again = store.record(MediaSource(QUrl("https://example.com/a"), MediaKind::mediaURL, "New", "Sub"));
        QVERIFY(store.items().size() == 2 && store.items().first() == again && again.thumbnailURLString == "https://t/old");
        QVERIFY(again.id == first.id && again.openCount == 2 && again.lastOpened == m_now && again.isFavorite);
        QVERIFY(again.resumeSeconds == 42.0 && again.title == "New" && again.subtitle == "Sub" && again.kind == MediaKind::mediaURL);
        QCOMPARE(store.record(source("https://example.com/a", QUrl("https://t/new"))).thumbnailURLString, "https://t/new");
        for (const char *other : {"https://example.com/A", "https://example.com/a/", "https://example.com/a?x=1"})
            store.record(source(other));
        QVERIFY(store.items().size() == 5 && store.item(QUrl("https://example.com/a")).value_or(HistoryItem()).id == first.id);
        QCOMPARE(open().items(), store.items());
        seed({stored(numbered(0), false, intMax)});
        QCOMPARE(open().record(source(numbered(0))).openCount, intMax);
    }

    // At most 30 entries: a new one drops the oldest that is neither a favourite nor itself.
    void trimming()
    {
        struct Row { const char *name; int existing, oldestFavourites, opened; qsizetype count; int gone = -1; };
        const Row rows[] = {{"below the limit", 29, 0, 100, 30}, {"31st drops the oldest", 30, 0, 100, 30, 0},
                            {"favourites spared", 30, 2, 100, 30, 2}, {"only favourites", 30, 30, 100, 31},
                            {"re-opening over the limit", 31, 31, 5, 31}};
        for (const Row &row : rows) {
            QJsonArray entries;
            for (int i = row.existing - 1; i >= 0; --i)
                entries.append(stored(numbered(i), i < row.oldestFavourites));
            seed(entries);
            HistoryStore store = open();
            store.record(source(numbered(row.opened)));
            QVERIFY2(store.items().size() == row.count && store.items().first().urlString == numbered(row.opened), row.name);
            for (int i = 0; i < row.existing; ++i)
                QVERIFY2(store.item(QUrl(numbered(i))).has_value() == (i != row.gone), row.name);
        }
    }

    // Each change is saved at once and reads back the same; one that changes nothing writes nothing.
    void changes()
    {
        HistoryStore store = open();
        const QUuid id = store.record(source("https://example.com/a", QUrl("https://t/1"))).id;
        const auto saves = [&](const std::function<void()> &change) {
            QFile::remove(file());
            change();
            return QFileInfo::exists(file()) && open().items() == store.items();
        };
        QVERIFY(saves([&] { store.updateTitle(id, QString(400, 'x')); }) && store.items()[0].title.size() == 300);
        QVERIFY(saves([&] { store.updateTitle(id, " Real \n"); }) && store.items()[0].title == "Real");
        QVERIFY(saves([&] { store.updateThumbnail(id, " https://t/2 "); }) && store.items()[0].thumbnailURLString == "https://t/2");
        QVERIFY(saves([&] { store.setFavorite(id, false); }));
        const QUuid unknown = QUuid::createUuid();
        const std::function<void()> idle[] = {
            [&] { store.updateTitle(id, " \t"); }, [&] { store.updateTitle(id, " Real "); }, [&] { store.updateThumbnail(id, " "); },
            [&] { store.updateThumbnail(id, "https://t/2"); }, [&] { store.updateThumbnail(id, "https://t/" + QString(8192, 'x')); },
            [&] { store.updateTitle(unknown, "X"); },
            [&] { store.updateThumbnail(unknown, "https://t/3"); }, [&] { store.setFavorite(unknown, true); },
            [&] { store.updateResume(unknown, 5, 10); }, [&] { store.remove(unknown); }};
        for (const auto &change : idle)
            QVERIFY(!saves(change) && store.items().size() == 1);
        // The position lies within the length, which must be a positive number.
        struct Row { double seconds; O length, resume, duration; };
        const Row rows[] = {{500, 300, 300, 300}, {-5, 300, 0, 300}, {qInf(), 300, 0, 300}, {42, qInf(), 42, {}}, {42, 0, 42, {}}};
        for (const Row &row : rows) {
            QVERIFY(saves([&] { store.updateResume(id, row.seconds, row.length); }));
            QVERIFY(store.items()[0].resumeSeconds == row.resume && store.items()[0].durationSeconds == row.duration);
        }
        QVERIFY(saves([&] { store.remove(id); }) && store.items().isEmpty());
        store.record(source("https://example.com/b"));
        QVERIFY(saves([&] { store.clear(); }) && store.items().isEmpty());
    }

    // A missing file is an empty list and the file is one compact array, newest first. What
    // cannot be read, a folder that cannot be made and a failed save each say so; the next save
    // that works clears the message.
    void onDisk()
    {
        HistoryStore store = open();
        QVERIFY(store.items().isEmpty() && !store.persistenceError() && !QFileInfo::exists(file()) && store.fileURL() == QUrl::fromLocalFile(file()));
        for (int i = 0; i < 3; ++i)
            store.record(source(numbered(i)));
        const QByteArray data = TestFiles::contentOf(file());
        QVERIFY(!data.contains('\n') && QJsonDocument::fromJson(data).array().first()["urlString"] == numbered(2));
        const auto error = [](const HistoryStore &s) { return s.persistenceError().value_or(QString()); };
        TestFiles::writeContent(file(), "hello, history");
        HistoryStore damaged = open();
        QVERIFY2(damaged.items().isEmpty() && error(damaged).startsWith("Couldn't read the history: "), qPrintable(error(damaged)));
        damaged.record(source(numbered(0)));
        QVERIFY(!damaged.persistenceError() && open().items() == damaged.items());
        QVERIFY(QDir(QFileInfo(file()).path()).removeRecursively());
        TestFiles::writeContent(QFileInfo(file()).path(), "a file where the folder should be");
        HistoryStore blocked = open();
        QVERIFY2(error(blocked).startsWith("Couldn't create the history folder: "), qPrintable(error(blocked)));
        blocked.record(source(numbered(0)));
        QVERIFY(blocked.items().size() == 1 && error(blocked).startsWith("Couldn't save the history: "));
        QVERIFY(QFile::remove(QFileInfo(file()).path()));
        blocked.setFavorite(blocked.items().first().id, true);
        QVERIFY(!blocked.persistenceError() && open().items() == blocked.items());
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"

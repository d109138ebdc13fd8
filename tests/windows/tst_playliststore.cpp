#include "platform/AppPaths.h"
#include "windows/PlaylistStore.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>

namespace {

using TestFiles::contentOf;
using TestFiles::mode;
using TestFiles::writeContent;

QString numbered(int i)
{
    return QStringLiteral("https://example.com/v/%1").arg(i);
}

PlaylistItem entry(const QString &url)
{
    return PlaylistItem{QUuid::createUuid(), url, QStringLiteral("T ") + url, QStringLiteral("example.com"),
                        QStringLiteral("web")};
}

QList<PlaylistItem> entries(int from, int to)
{
    QList<PlaylistItem> list;
    for (int i = from; i < to; ++i)
        list << entry(numbered(i));
    return list;
}

QJsonObject storedEntry()
{
    return QJsonObject{{"id", "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
                       {"urlString", "file:///home/u/a.mp4"},
                       {"title", "a"},
                       {"subtitle", "u"},
                       {"kind", "localFile"}};
}

QStringList urlsOf(const QList<PlaylistItem> &items)
{
    QStringList urls;
    for (const PlaylistItem &item : items)
        urls << item.urlString;
    return urls;
}

} // namespace

class TestPlaylistStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    QDateTime m_time;

    QString folder() const { return m_dir->path() + QStringLiteral("/data"); }
    QString file() const { return folder() + QStringLiteral("/playlist.json"); }
    PlaylistStore::Clock clock()
    {
        return [this] { return m_time; };
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/share")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/config")).toUtf8());
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_time = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::LocalTime);
    }

    void cleanup()
    {
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_dir.reset();
        qunsetenv("LUMIVANE_TEST_MODE");
    }

    void itemFromSource_data()
    {
        QTest::addColumn<MediaSource>("source");
        QTest::addColumn<QString>("kind");
        QTest::newRow("local file") << MediaSource(QUrl::fromLocalFile("/home/u/Film night.mkv"), MediaKind::localFile,
                                                   "Film night", "u")
                                    << "localFile";
        QTest::newRow("media link") << MediaSource(QUrl("https://cdn.example.com/a.m3u8"), MediaKind::mediaURL,
                                                   "cdn.example.com", "cdn.example.com")
                                    << "mediaURL";
        QTest::newRow("web page") << MediaSource(QUrl("https://example.com/watch?v=1"), MediaKind::web, "Example",
                                                 "example.com", QUrl("https://img.example.com/t.jpg"))
                                  << "web";
    }

    void itemFromSource()
    {
        QFETCH(MediaSource, source);
        QFETCH(QString, kind);
        const PlaylistItem item = PlaylistItem::fromSource(source);
        QCOMPARE(item.urlString, source.urlString());
        QCOMPARE(item.title, source.title());
        QCOMPARE(item.subtitle, source.subtitle());
        QCOMPARE(item.kind, kind);
        QVERIFY(!item.id.isNull());
        QVERIFY(PlaylistItem::fromSource(source).id != item.id);

        const QJsonObject json = item.toJson();
        QCOMPARE(json.keys(), (QStringList{"id", "kind", "subtitle", "title", "urlString"}));
        QCOMPARE(json.value("id").toString(), item.id.toString(QUuid::WithoutBraces).toUpper());
        QCOMPARE(PlaylistItem::fromJson(json), item);
    }

    void itemFromJson_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<bool>("accepted");
        for (const char *key : {"id", "urlString", "title", "subtitle", "kind"})
            QTest::addRow("without %s", key) << QString(key) << QJsonValue(QJsonValue::Undefined) << false;
        QTest::newRow("id lower case") << "id" << QJsonValue("6f9619ff-8b86-d011-b42d-00c04fc964ff") << true;
        QTest::newRow("id with braces") << "id" << QJsonValue("{6F9619FF-8B86-D011-B42D-00C04FC964FF}") << false;
        QTest::newRow("id too short") << "id" << QJsonValue("6F9619FF-8B86-D011-B42D-00C04FC964F") << false;
        QTest::newRow("kind is free text") << "kind" << QJsonValue("podcast") << true;
        QTest::newRow("kind null") << "kind" << QJsonValue(QJsonValue::Null) << false;
        QTest::newRow("title number") << "title" << QJsonValue(3) << false;
        QTest::newRow("extra key ignored") << "resumeSeconds" << QJsonValue(3) << true;
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
        const auto item = PlaylistItem::fromJson(object);
        QCOMPARE(item.has_value(), accepted);
        if (!accepted)
            QVERIFY2(item.error().contains(key), qPrintable(item.error()));
    }

    void add_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<int>("added");
        QTest::addColumn<int>("total");
        QTest::newRow("same URL twice in one call") << 0 << QStringList{"https://a.example/x", "https://a.example/x"}
                                                    << 1 << 1;
        QTest::newRow("already queued skipped") << 3 << QStringList{numbered(1), "https://a.example/x"} << 1 << 4;
        QTest::newRow("case differs: both kept") << 0 << QStringList{"https://a.example/X", "https://a.example/x"}
                                                 << 2 << 2;
        QTest::newRow("199 takes one more") << 199 << QStringList{"https://a.example/1", "https://a.example/2"} << 1
                                            << 200;
        QTest::newRow("200 takes none") << 200 << QStringList{"https://a.example/1"} << 0 << 200;
        QTest::newRow("nothing new") << 2 << QStringList{numbered(0), numbered(1)} << 0 << 2;
        QTest::newRow("empty call") << 2 << QStringList{} << 0 << 2;
    }

    void add()
    {
        QFETCH(int, existing);
        QFETCH(QStringList, given);
        QFETCH(int, added);
        QFETCH(int, total);
        PlaylistStore store(file(), clock());
        if (existing > 0)
            QCOMPARE(store.add(entries(0, existing)), existing);
        const QByteArray before = contentOf(file());
        QList<PlaylistItem> items;
        for (const QString &url : given)
            items << entry(url);

        QCOMPARE(store.add(items), added);
        QCOMPARE(store.items().size(), total);
        // Only an add that appended something writes the file.
        QCOMPARE(contentOf(file()) == before, added == 0);
        QCOMPARE(PlaylistStore(file(), clock()).items(), store.items());
        const QStringList urls = urlsOf(store.items());
        QCOMPARE(QSet<QString>(urls.cbegin(), urls.cend()).size(), urls.size());
    }

    void removeById()
    {
        PlaylistItem twin = entry("https://a.example/1");
        PlaylistItem other = entry("https://a.example/2");
        PlaylistItem sameId = entry("https://a.example/3");
        sameId.id = twin.id;
        writeContent(file(), QJsonDocument(QJsonArray{twin.toJson(), other.toJson(), sameId.toJson(),
                                                      entry("https://a.example/4").toJson()})
                                 .toJson());
        PlaylistStore store(file(), clock());
        QCOMPARE(store.items().size(), 4);
        store.remove(twin.id);
        QCOMPARE(urlsOf(store.items()), (QStringList{"https://a.example/2", "https://a.example/4"}));
        QCOMPARE(PlaylistStore(file(), clock()).items(), store.items());
    }

    // An unreadable file is kept aside as the history's is; the next save replaces it.
    void removeUnknownStillWritesAndClearsError()
    {
        writeContent(file(), "not json");
        PlaylistStore store(file(), clock());
        const QString copy = file() + QStringLiteral(".damaged-20260304-050607");
        QVERIFY2(store.persistenceError().value_or(QString()).contains(copy),
                 qPrintable(store.persistenceError().value_or(QString())));
        store.remove(QUuid::createUuid());
        QCOMPARE(store.persistenceError(), std::nullopt);
        QCOMPARE(contentOf(file()), QByteArray("[]"));
    }

    void clearItemsThenPersist()
    {
        PlaylistStore store(file(), clock());
        store.add(entries(0, 3));
        const QByteArray before = contentOf(file());
        store.clearItems();
        QVERIFY(store.items().isEmpty());
        QCOMPARE(contentOf(file()), before);
        store.persist();
        QCOMPARE(contentOf(file()), QByteArray("[]"));
    }

    void fileIsOneCompactArrayInPlayOrder()
    {
        PlaylistStore store(file(), clock());
        store.add(entries(0, 3));
        const QByteArray data = contentOf(file());
        QVERIFY(!data.contains('\n'));
        const QJsonArray array = QJsonDocument::fromJson(data).array();
        QCOMPARE(array.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(array.at(i).toObject().value("urlString").toString(), numbered(i));
            QCOMPARE(array.at(i).toObject().size(), 5);
        }
    }

    void missingFile()
    {
        PlaylistStore store(file(), clock());
        QCOMPARE(store.fileURL(), QUrl::fromLocalFile(file()));
        QVERIFY(store.items().isEmpty());
        QCOMPARE(store.persistenceError(), std::nullopt);
        QVERIFY(!QFile::exists(file()));
    }

    void saveFailureKeepsFileAndList_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::newRow("read-only folder") << "readOnlyFolder";
        QTest::newRow("file size limit") << "sizeLimit";
        QTest::newRow("folder taken by a file") << "folderIsFile";
    }

    void saveFailureKeepsFileAndList()
    {
        QFETCH(QString, cause);
        const QString target = cause == u"folderIsFile" ? folder() + QStringLiteral("/blocked/playlist.json") : file();
        PlaylistStore store(target, clock());
        if (cause == u"folderIsFile")
            writeContent(folder() + QStringLiteral("/blocked"), "occupied");
        else
            store.add({entry("https://a.example/1")});
        const QByteArray before = contentOf(target);

        rlimit original{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
        if (cause == u"readOnlyFolder") {
            QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));
            QFile probe(folder() + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QSKIP("this user can write into read-only folders (root)");
            }
        } else if (cause == u"sizeLimit") {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit tight = original;
            tight.rlim_cur = 16;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        }

        const int added = store.add({entry("https://a.example/2")});
        setrlimit(RLIMIT_FSIZE, &original);
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(added, 1);
        QCOMPARE(store.items().last().urlString, QStringLiteral("https://a.example/2"));
        QVERIFY(store.persistenceError());
        QCOMPARE(contentOf(target), before);
        QCOMPARE(QDir(folder()).entryList({".playlist-*.tmp"}, QDir::Files | QDir::Hidden), QStringList());

        if (cause == u"folderIsFile")
            QVERIFY(QFile::remove(folder() + QStringLiteral("/blocked")));
        store.persist();
        QCOMPARE(store.persistenceError(), std::nullopt);
        QCOMPARE(PlaylistStore(target, clock()).items(), store.items());
    }

    void createdFilesAndFoldersAreOwnerOnly()
    {
        const QString nested = m_dir->path() + QStringLiteral("/x/y/playlist.json");
        PlaylistStore store(nested, clock());
        store.add({entry("https://a.example/1")});
        QCOMPARE(mode(m_dir->path() + QStringLiteral("/x")), 0700);
        QCOMPARE(mode(m_dir->path() + QStringLiteral("/x/y")), 0700);
        QCOMPARE(mode(nested), 0600);
    }

    void testModeSelectsFolder_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("folderName");
        QTest::newRow("1") << QByteArray("1") << "Lumivane-Verification";
        QTest::newRow("0") << QByteArray("0") << "Lumivane";
        QTest::newRow("true") << QByteArray("true") << "Lumivane";
        QTest::newRow("1 with space") << QByteArray(" 1") << "Lumivane";
        QTest::newRow("unset") << QByteArray() << "Lumivane";
    }

    void testModeSelectsFolder()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, folderName);
        const QString dataHome = m_dir->path() + QStringLiteral("/xdg-data");
        qputenv("XDG_DATA_HOME", dataHome.toUtf8());
        if (value.isNull())
            qunsetenv("LUMIVANE_TEST_MODE");
        else
            qputenv("LUMIVANE_TEST_MODE", value);

        PlaylistStore store(AppPaths::playlistFile(), clock());
        store.add({entry("https://a.example/1")});
        qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/share")).toUtf8());

        const QStringList made = QDir(dataHome).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(made, QStringList{folderName});
        QCOMPARE(PlaylistStore(dataHome + QLatin1Char('/') + folderName + QStringLiteral("/playlist.json"), clock())
                     .items()
                     .size(),
                 1);
    }
};

QTEST_GUILESS_MAIN(TestPlaylistStore)
#include "tst_playliststore.moc"

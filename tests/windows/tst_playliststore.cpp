#include "platform/AppPaths.h"
#include "windows/PlaylistStore.h"

#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QTest>

namespace {
QList<PlaylistItem> entries(const QStringList &urls)
{
    QList<PlaylistItem> items;
    for (const QString &url : urls)
        items << PlaylistItem::fromSource(MediaSource(QUrl(url), MediaKind::web, u"T"_qs, u"example.com"_qs));
    return items;
}

QStringList numbered(int count)
{
    QStringList urls;
    for (int i = 0; i < count; ++i)
        urls << u"https://example.com/v/%1"_qs.arg(i);
    return urls;
}
} // namespace

class TestPlaylistStore : public QObject
{
    Q_OBJECT
    TemporaryHome m_home;
    const QString m_file = m_home.filePath(u"data/playlist.json"_qs);

private Q_SLOTS:
    void init() { QFile::remove(m_file); }

    // Every field is a string and must be there; an error names the field.
    void itemFromJson()
    {
        const PlaylistItem item = entries({u"https://a.example/x"_qs}).first();
        QCOMPARE(PlaylistItem::fromJson(item.toJson()).value(), item);
        for (const QString &key : {u"id"_qs, u"urlString"_qs, u"title"_qs, u"subtitle"_qs, u"kind"_qs}) {
            QJsonObject broken = item.toJson();
            broken.insert(key, 3);
            const auto read = PlaylistItem::fromJson(broken);
            QVERIFY2(!read && read.error().contains(key), qPrintable(key));
        }
    }

    // Adds skip URLs already queued (exactly: case counts) and stop at 200 items; only an
    // add that appended something writes the file, which the next launch reads back.
    void add()
    {
        struct Row { int existing; QStringList given; int added; };
        const QStringList twice{u"https://a.example/x"_qs, u"https://a.example/x"_qs};
        for (const Row &row : QList<Row>{{0, twice, 1}, {3, {numbered(3).at(1), u"https://a.example/x"_qs}, 1},
                                         {0, {u"https://a.example/X"_qs, u"https://a.example/x"_qs}, 2},
                                         {199, twice, 1}, {200, twice, 0}}) {
            QFile::remove(m_file);
            PlaylistStore store(m_file);
            store.add(entries(numbered(row.existing)));
            const QByteArray before = TestFiles::contentOf(m_file);
            QCOMPARE(store.add(entries(row.given)), row.added);
            QCOMPARE(store.items().size(), row.existing + row.added);
            QCOMPARE(TestFiles::contentOf(m_file) == before, row.added == 0);
            QCOMPARE(PlaylistStore(m_file).items(), store.items());
        }
    }

    // Remove takes every item with the id and writes; clearing writes only on persist().
    void removeAndClear()
    {
        PlaylistStore store(m_file);
        QList<PlaylistItem> items = entries(numbered(3));
        items[2].id = items[0].id;
        store.add(items);
        store.remove(items[0].id);
        QCOMPARE(PlaylistStore(m_file).items(), QList<PlaylistItem>{items[1]});
        store.clearItems();
        QVERIFY(store.items().isEmpty() && PlaylistStore(m_file).items().size() == 1);
        store.persist();
        QCOMPARE(TestFiles::contentOf(m_file), QByteArray("[]"));
    }

    // Test mode keeps its playlist apart from the user's: only the value "1" selects it.
    void testModeFolder()
    {
        for (const auto &[value, folder] : {std::pair{"1", "Lumivane-Verification"}, std::pair{"true", "Lumivane"}}) {
            qputenv("LUMIVANE_TEST_MODE", value);
            PlaylistStore(AppPaths::playlistFile()).add(entries({u"https://a.example/1"_qs}));
            qunsetenv("LUMIVANE_TEST_MODE");
            QVERIFY(QFile::remove(m_home.dataHome() + u"/%1/playlist.json"_qs.arg(QLatin1String(folder))));
        }
    }
};

QTEST_GUILESS_MAIN(TestPlaylistStore)
#include "tst_playliststore.moc"

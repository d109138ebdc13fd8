#include "platform/AppPaths.h"
#include "windows/PlaylistStore.h"

#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QTest>

namespace {
// Items for the URLs, then `count` more for numbered ones.
QList<PlaylistItem> entries(const QStringList &urls, int count = 0)
{
    QList<PlaylistItem> items;
    for (int i = -int(urls.size()); i < count; ++i) {
        const QString url = i < 0 ? urls.at(i + urls.size()) : u"https://example.com/v/%1"_qs.arg(i);
        items << PlaylistItem::fromSource(MediaSource(QUrl(url), MediaKind::web, u"T"_qs, u"example.com"_qs));
    }
    return items;
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
        // Names stored before they were bounded are cut on the way in; an address cannot be.
        QJsonObject named = item.toJson();
        named.insert(u"title"_qs, QString(400, u't'));
        named.insert(u"subtitle"_qs, QString(400, u's'));
        QVERIFY(PlaylistItem::fromJson(named)->title.size() == 300 && PlaylistItem::fromJson(named)->subtitle.size() == 300);
        named.insert(u"urlString"_qs, QString(8193, u'u'));
        QVERIFY(!PlaylistItem::fromJson(named));
    }

    // Adds skip URLs already queued (exactly: case counts) and stop at 200 items; only an
    // add that appended something writes the file, which the next launch reads back.
    void add()
    {
        struct Row { int existing; QStringList given; int added; };
        const QStringList twice{u"https://a.example/x"_qs, u"https://a.example/x"_qs};
        for (const Row &row : QList<Row>{{0, twice, 1}, {3, {u"https://example.com/v/1"_qs, u"https://a.example/x"_qs}, 1},
                                         {0, {u"https://a.example/X"_qs, u"https://a.example/x"_qs}, 2},
                                         {199, twice, 1}, {200, twice, 0}}) {
            QFile::remove(m_file);
            PlaylistStore store(m_file);
            store.add(entries({}, row.existing));
            const QByteArray before = TestFiles::contentOf(m_file);
            QVERIFY(store.add(entries(row.given)) == row.added && store.items().size() == row.existing + row.added);
            QCOMPARE(TestFiles::contentOf(m_file) == before, row.added == 0);
            QCOMPARE(PlaylistStore(m_file).items(), store.items());
        }
    }

    // Remove takes every item with the id and writes; clearing writes only on persist().
    void removeAndClear()
    {
        PlaylistStore store(m_file);
        QList<PlaylistItem> items = entries({}, 3);
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

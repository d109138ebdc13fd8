#include "platform/AppPaths.h"
#include "windows/PlaylistStore.h"

#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QJsonDocument>
#include <QTest>

using TestFiles::contentOf;

namespace {

PlaylistItem entry(const QString &url)
{
    return PlaylistItem::fromSource(MediaSource(QUrl(url), MediaKind::web, u"T"_qs, u"example.com"_qs));
}

QList<PlaylistItem> entries(const QStringList &urls)
{
    QList<PlaylistItem> list;
    for (const QString &url : urls)
        list << entry(url);
    return list;
}

QStringList numbered(int count)
{
    QStringList urls;
    for (int i = 0; i < count; ++i)
        urls << u"https://example.com/v/%1"_qs.arg(i);
    return urls;
}

QStringList urlsOf(const PlaylistStore &store)
{
    QStringList urls;
    for (const PlaylistItem &item : store.items())
        urls << item.urlString;
    return urls;
}

} // namespace

class TestPlaylistStore : public QObject
{
    Q_OBJECT

private:
    TemporaryHome m_home;

    QString file() const { return m_home.filePath(u"data/playlist.json"_qs); }

private Q_SLOTS:
    void init() { QFile::remove(file()); }

    // Every field is a string and must be there; an error names the field.
    void itemFromJson()
    {
        const PlaylistItem original = entry(u"https://a.example/x"_qs);
        const QJsonObject stored = original.toJson();
        QCOMPARE(PlaylistItem::fromJson(stored).value(), original);
        for (const QString &key : {u"id"_qs, u"urlString"_qs, u"title"_qs, u"subtitle"_qs, u"kind"_qs}) {
            QJsonObject broken = stored;
            broken.insert(key, 3);
            const auto item = PlaylistItem::fromJson(broken);
            QVERIFY2(!item && item.error().contains(key), qPrintable(key));
        }
    }

    // Adds skip URLs already queued (exactly, case counts) and stop at 200 items; only an add
    // that appended something writes the file, which the next launch reads back.
    void add()
    {
        struct Row {
            const char *name;
            int existing;
            QStringList given;
            int added;
        };
        const QList<Row> rows{
            {"same URL twice in one call", 0, {u"https://a.example/x"_qs, u"https://a.example/x"_qs}, 1},
            {"already queued skipped", 3, {numbered(3).at(1), u"https://a.example/x"_qs}, 1},
            {"case differs: both kept", 0, {u"https://a.example/X"_qs, u"https://a.example/x"_qs}, 2},
            {"199 take one more", 199, {u"https://a.example/1"_qs, u"https://a.example/2"_qs}, 1},
            {"200 take none", 200, {u"https://a.example/1"_qs}, 0},
        };
        for (const Row &row : rows) {
            QFile::remove(file());
            PlaylistStore store(file());
            store.add(entries(numbered(row.existing)));
            const QByteArray before = contentOf(file());
            QVERIFY2(store.add(entries(row.given)) == row.added, row.name);
            QCOMPARE(store.items().size(), row.existing + row.added);
            QCOMPARE(contentOf(file()) == before, row.added == 0);
            QCOMPARE(PlaylistStore(file()).items(), store.items());
        }
    }

    // Remove takes every item with the id and writes; clearing writes only on persist().
    void removeAndClear()
    {
        PlaylistStore store(file());
        QList<PlaylistItem> items = entries({u"https://a.example/1"_qs, u"https://a.example/2"_qs,
                                             u"https://a.example/3"_qs});
        items[2].id = items[0].id;
        store.add(items);
        store.remove(items[0].id);
        QCOMPARE(urlsOf(PlaylistStore(file())), QStringList{u"https://a.example/2"_qs});
        store.clearItems();
        QVERIFY(store.items().isEmpty());
        QCOMPARE(PlaylistStore(file()).items().size(), 1);
        store.persist();
        QCOMPARE(contentOf(file()), QByteArray("[]"));
    }

    // Test mode keeps its playlist apart from the user's: only the value "1" selects it.
    void testModeFolder()
    {
        for (const auto &[value, folder] : {std::pair{"1", "Lumivane-Verification"}, std::pair{"true", "Lumivane"}}) {
            qputenv("LUMIVANE_TEST_MODE", value);
            PlaylistStore(AppPaths::playlistFile()).add({entry(u"https://a.example/1"_qs)});
            qunsetenv("LUMIVANE_TEST_MODE");
            QVERIFY(QFile::exists(m_home.dataHome() + u"/%1/playlist.json"_qs.arg(QLatin1String(folder))));
        }
        QVERIFY(QFile::remove(m_home.dataHome() + u"/Lumivane/playlist.json"_qs));
    }
};

QTEST_GUILESS_MAIN(TestPlaylistStore)
#include "tst_playliststore.moc"

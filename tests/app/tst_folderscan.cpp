#include "TestFiles.h"
#include "app/FolderScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Files made in the scanned folder; links as "name=target"; what the scan lists.
struct Row {
    const char *name;
    QStringList files;
    QStringList links;
    QStringList expected;
};
const QList<Row> rows{
    {"media only by extension, hidden files skipped, sorted by title",
     {"b.mp4", "a.MKV", "notes.txt", ".c.mp3", "live.m3u8", "clip.mp4.part"}, {}, {"a.MKV", "b.mp4"}},
    {"digit runs compare by value, case ignored", {"track10.mp3", "track2.mp3", "Track1.mp3", "TRACK3.mp3"}, {},
     {"Track1.mp3", "track2.mp3", "TRACK3.mp3", "track10.mp3"}},
    {"folders entered, hidden ones not; equal titles keep the order found",
     {"x/y/zeta.mp4", "top.webm", ".hidden/alpha.mp4", "x/.secret.mkv", "x/mid.ogg", "b/Song.mp3", "a/song.mp4"}, {},
     {"x/mid.ogg", "a/song.mp4", "b/Song.mp3", "top.webm", "x/y/zeta.mp4"}},
    {"linked files count, broken links and loops end, a folder is entered once",
     {"a/v.mp4", "real/r.mp4", "shared/s.mp4"},
     {"a/loop=.", "a/up=a", "one=shared", "two=shared", "alias.mkv=real/r.mp4", "gone.mp4=missing.mp4"},
     {"alias.mkv", "real/r.mp4", "one/s.mp4", "a/v.mp4"}},
};

} // namespace

class TestFolderScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scan()
    {
        for (const Row &row : rows) {
            QTemporaryDir scanned;
            for (const QString &file : row.files)
                TestFiles::writeContent(scanned.filePath(file), {});
            for (const QString &link : row.links) {
                const QStringList names = link.split(u'=');
                QVERIFY(QFile::link(scanned.filePath(names.at(1)), scanned.filePath(names.at(0))));
            }

            const QList<PlaylistItem> items = FolderScan::mediaItems(QUrl::fromLocalFile(scanned.path()));

            QStringList found;
            for (const PlaylistItem &item : items)
                found << QDir(scanned.path()).relativeFilePath(QUrl(item.urlString).toLocalFile());
            QCOMPARE(found, row.expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestFolderScan)
#include "tst_folderscan.moc"

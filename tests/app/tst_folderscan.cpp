#include "app/FolderScan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

QStringList relativePaths(const QList<PlaylistItem> &items, const QString &root)
{
    QStringList paths;
    for (const PlaylistItem &item : items)
        paths.append(QDir(root).relativeFilePath(QUrl(item.urlString).toLocalFile()));
    return paths;
}

} // namespace

class TestFolderScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scan_data()
    {
        QTest::addColumn<QStringList>("files");
        // "name=target": a symbolic link at name (relative to the folder) pointing at target;
        // a target starting with "@" lies in a second folder outside the scanned one.
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("media only, hidden skipped, sorted by title")
            << QStringList{u"b.mp4"_qs, u"a.MKV"_qs, u"notes.txt"_qs, u".c.mp3"_qs} << QStringList{}
            << QStringList{u"a.MKV"_qs, u"b.mp4"_qs};
        QTest::newRow("digit runs compare by value, case ignored")
            << QStringList{u"track10.mp3"_qs, u"track2.mp3"_qs, u"Track1.mp3"_qs, u"TRACK3.mp3"_qs}
            << QStringList{} << QStringList{u"Track1.mp3"_qs, u"track2.mp3"_qs, u"TRACK3.mp3"_qs, u"track10.mp3"_qs};
        QTest::newRow("nested folders entered, hidden folders not")
            << QStringList{u"x/y/zeta.mp4"_qs, u"top.webm"_qs, u".hidden/alpha.mp4"_qs, u"x/.secret.mkv"_qs,
                           u"x/mid.ogg"_qs}
            << QStringList{} << QStringList{u"x/mid.ogg"_qs, u"top.webm"_qs, u"x/y/zeta.mp4"_qs};
        QTest::newRow("every scanned extension in capitals")
            << QStringList{u"01.MP4"_qs, u"02.M4V"_qs, u"03.MOV"_qs, u"04.WEBM"_qs, u"05.MKV"_qs, u"06.AVI"_qs,
                           u"07.MP3"_qs, u"08.M4A"_qs, u"09.WAV"_qs, u"10.FLAC"_qs, u"11.OGG"_qs, u"12.AAC"_qs,
                           u"13.AIFF"_qs}
            << QStringList{}
            << QStringList{u"01.MP4"_qs, u"02.M4V"_qs, u"03.MOV"_qs, u"04.WEBM"_qs, u"05.MKV"_qs, u"06.AVI"_qs,
                           u"07.MP3"_qs, u"08.M4A"_qs, u"09.WAV"_qs, u"10.FLAC"_qs, u"11.OGG"_qs, u"12.AAC"_qs,
                           u"13.AIFF"_qs};
        QTest::newRow("stream playlists and look-alikes left out")
            << QStringList{u"live.m3u8"_qs, u"clip.mp4.part"_qs, u"mp4"_qs, u"song.mp3"_qs} << QStringList{}
            << QStringList{u"song.mp3"_qs};
        QTest::newRow("unicode names and folders")
            << QStringList{u"Über/Émile.mp3"_qs, u"中文 电影.mkv"_qs, u"ñandú 2.flac"_qs, u"ñandú 10.flac"_qs}
            << QStringList{} << QStringList{u"Über/Émile.mp3"_qs, u"ñandú 2.flac"_qs, u"ñandú 10.flac"_qs,
                                            u"中文 电影.mkv"_qs};
        QTest::newRow("equal titles keep the order found")
            << QStringList{u"b/Song.mp3"_qs, u"a/song.mp4"_qs} << QStringList{}
            << QStringList{u"a/song.mp4"_qs, u"b/Song.mp3"_qs};
        QTest::newRow("link back to an ancestor ends")
            << QStringList{u"a/v.mp4"_qs} << QStringList{u"a/loop=."_qs, u"a/up=a"_qs}
            << QStringList{u"a/v.mp4"_qs};
        QTest::newRow("linked folder outside entered once")
            << QStringList{u"here.mp3"_qs} << QStringList{u"one=@shared"_qs, u"two=@shared"_qs}
            << QStringList{u"here.mp3"_qs, u"one/outside.mp4"_qs};
        QTest::newRow("linked file counts, broken link does not")
            << QStringList{u"real/r.mp4"_qs} << QStringList{u"alias.mkv=real/r.mp4"_qs, u"gone.mp4=missing.mp4"_qs}
            << QStringList{u"alias.mkv"_qs, u"real/r.mp4"_qs};
        QTest::newRow("empty folder") << QStringList{} << QStringList{} << QStringList{};
    }

    void scan()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, links);
        QFETCH(QStringList, expected);
        QTemporaryDir scanned;
        QTemporaryDir outside;
        QVERIFY(scanned.isValid() && outside.isValid());
        QVERIFY(touch(outside.filePath(u"shared/outside.mp4"_qs)));
        for (const QString &file : files)
            QVERIFY(touch(scanned.filePath(file)));
        for (const QString &link : links) {
            const QString name = link.section(u'=', 0, 0);
            const QString target = link.section(u'=', 1);
            const QString targetPath = target.startsWith(u'@') ? outside.filePath(target.mid(1))
                                                                : scanned.filePath(target);
            QVERIFY(QFile::link(targetPath, scanned.filePath(name)));
        }

        const QList<PlaylistItem> items = FolderScan::mediaItems(QUrl::fromLocalFile(scanned.path()));
        QCOMPARE(relativePaths(items, scanned.path()), expected);
        for (const PlaylistItem &item : items) {
            QCOMPARE(item.kind, u"localFile"_qs);
            QVERIFY(!item.id.isNull());
            const QFileInfo file(QUrl(item.urlString).toLocalFile());
            QCOMPARE(item.title, file.completeBaseName());
            QCOMPARE(item.subtitle, file.dir().dirName());
        }
    }

    void everyEntryHasItsOwnId()
    {
        QTemporaryDir folder;
        QVERIFY(touch(folder.filePath(u"a.mp4"_qs)) && touch(folder.filePath(u"b.mp4"_qs)));
        const QList<PlaylistItem> first = FolderScan::mediaItems(QUrl::fromLocalFile(folder.path()));
        const QList<PlaylistItem> second = FolderScan::mediaItems(QUrl::fromLocalFile(folder.path()));
        QCOMPARE(first.size(), 2);
        QCOMPARE(second.size(), 2);
        QCOMPARE(QSet<QUuid>({first[0].id, first[1].id, second[0].id, second[1].id}).size(), 4);
    }

    void notAFolder_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("a media file") << u"{root}/clip.mp4"_qs;
        QTest::newRow("missing folder") << u"{root}/nowhere"_qs;
        QTest::newRow("web address") << u"https://example.com/media/"_qs;
        QTest::newRow("empty") << QString();
    }

    void notAFolder()
    {
        QFETCH(QString, url);
        QTemporaryDir root;
        QVERIFY(touch(root.filePath(u"clip.mp4"_qs)));
        url.replace(u"{root}"_qs, QUrl::fromLocalFile(root.path()).toString());
        QVERIFY(FolderScan::mediaItems(QUrl(url)).isEmpty());
    }

    // As root every folder stays readable, so the locked files are expected exactly when
    // this process can read the folder.
    void unreadableSubfolder()
    {
        QTemporaryDir root;
        QVERIFY(touch(root.filePath(u"open/a.mp4"_qs)));
        QVERIFY(touch(root.filePath(u"locked/b.mp4"_qs)));
        const QString locked = root.filePath(u"locked"_qs);
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        const bool readable = QFileInfo(locked).isReadable() && QDir(locked).entryList(QDir::Files).size() == 1;

        const QStringList found
            = relativePaths(FolderScan::mediaItems(QUrl::fromLocalFile(root.path())), root.path());
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ExeOwner));
        const QStringList expected = readable ? QStringList{u"open/a.mp4"_qs, u"locked/b.mp4"_qs}
                                              : QStringList{u"open/a.mp4"_qs};
        QCOMPARE(found, expected);
    }

    // Made in memory when possible: thousands of new files on disk make fsync slow for every
    // other test running beside this one.
    void fiveThousandFiles()
    {
        const QFileInfo shm(u"/dev/shm"_qs);
        QTemporaryDir root(shm.isDir() && shm.isWritable() ? u"/dev/shm/tst_folderscan-XXXXXX"_qs
                                                           : QDir::tempPath() + u"/tst_folderscan-XXXXXX"_qs);
        QVERIFY(root.isValid());
        for (int folder = 0; folder < 10; ++folder) {
            for (int n = 1; n <= 500; ++n) {
                const QString name = u"season %1/episode %2.mkv"_qs.arg(folder).arg(folder * 500 + n);
                QVERIFY(touch(root.filePath(name)));
            }
        }
        QElapsedTimer timer;
        timer.start();
        const QList<PlaylistItem> items = FolderScan::mediaItems(QUrl::fromLocalFile(root.path()));
        const qint64 elapsed = timer.elapsed();
        qInfo("5000 files scanned and sorted in %lld ms", elapsed);
        QCOMPARE(items.size(), 5000);
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(items.at(i).title, u"episode %1"_qs.arg(i + 1));
        // Generous for a loaded two-core machine; typically a small fraction of this.
        QVERIFY2(elapsed < 3000, qPrintable(u"took %1 ms"_qs.arg(elapsed)));
    }
};

QTEST_GUILESS_MAIN(TestFolderScan)
#include "tst_folderscan.moc"

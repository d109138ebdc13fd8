#include "ModelHarness.h"

#include "app/AppModel.h"
#include "playback/PlaybackSession.h"

#include "KiteCore/HistoryStore.h"
#include "KiteCore/L10n.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

namespace {
QStringList titles(const QList<PlaylistItem> &items)
{
    QStringList result;
    for (const PlaylistItem &item : items)
        result << item.title;
    return result;
}

QStringList sessionURLs(const AppModel &model)
{
    QStringList urls;
    for (const PlaybackSession *session : model.sessions())
        urls << session->source().urlString();
    return urls;
}

// What history.json holds now, read the way the next start reads it.
std::optional<double> storedResume(const ModelHarness &harness, const QString &url)
{
    const HistoryStore reread(harness.historyFile());
    const std::optional<HistoryItem> item = reread.item(QUrl(url));
    return item ? item->resumeSeconds : std::nullopt;
}

QString fileURL(const QString &path)
{
    return QUrl::fromLocalFile(path).toString();
}
} // namespace

class TestAppModelPlaylist final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }

    void resumeWritesAreThrottled_data();
    void resumeWritesAreThrottled();
    void eachSessionHasItsOwnThrottle();
    void retitleAndThumbnail_data();
    void retitleAndThumbnail();
    void historyWriteFailureRaisesTheWarning();
    void historyLoadFailureIsShownUnprefixed();
    void addFolderSortsAndSkips();
    void addToPlaylist_data();
    void addToPlaylist();
    void openingAFolderFillsThePlaylist_data();
    void openingAFolderFillsThePlaylist();
    void openingAnEntryMarksIt();
    void advance_data();
    void advance();
    void removeAndClear_data();
    void removeAndClear();
    void addFilesAndFolderUseTheOpenPanel();
    void drop_data();
    void drop();
};

// Each step: seconds the clock moves first, the elapsed time reported, the stored position after.
void TestAppModelPlaylist::resumeWritesAreThrottled_data()
{
    QTest::addColumn<bool>("resumePlayback");
    QTest::addColumn<bool>("saveHistory");
    QTest::addColumn<QList<double>>("clockSteps");
    QTest::addColumn<QList<double>>("elapsed");
    QTest::addColumn<QList<double>>("stored"); // -1: nothing stored

    QTest::newRow("first second, then throttle")
        << true << true << QList<double>{0, 1, 5, 4} << QList<double>{0.5, 2, 7, 11}
        << QList<double>{-1, 2, 2, 11};
    QTest::newRow("exactly one second is not enough")
        << true << true << QList<double>{0, 8} << QList<double>{1.0, 1.5}
        << QList<double>{-1, 1.5};
    QTest::newRow("resuming off") << false << true << QList<double>{0, 9}
                                  << QList<double>{5, 20} << QList<double>{-1, -1};
    QTest::newRow("history off") << true << false << QList<double>{0, 9}
                                 << QList<double>{5, 20} << QList<double>{-1, -1};
}

void TestAppModelPlaylist::resumeWritesAreThrottled()
{
    QFETCH(bool, resumePlayback);
    QFETCH(bool, saveHistory);
    QFETCH(QList<double>, clockSteps);
    QFETCH(QList<double>, elapsed);
    QFETCH(QList<double>, stored);
    ModelHarness harness;
    // The entry exists either way, so only the switches decide.
    PlaybackSession *session = harness.openClip(1);
    harness.preferences().setResumePlayback(resumePlayback);
    harness.preferences().setSaveHistory(saveHistory);

    for (qsizetype step = 0; step < elapsed.size(); ++step) {
        harness.advanceClock(clockSteps.at(step));
        Q_EMIT session->progressReported(elapsed.at(step), 60.0);
        const std::optional<double> expected =
            stored.at(step) < 0 ? std::nullopt : std::optional(stored.at(step));
        QCOMPARE(storedResume(harness, ModelHarness::clipURL(1)), expected);
    }
}

void TestAppModelPlaylist::eachSessionHasItsOwnThrottle()
{
    ModelHarness harness;
    PlaybackSession *first = harness.openClip(1);
    PlaybackSession *second = harness.openClip(2);

    Q_EMIT first->progressReported(5, 60.0);
    harness.advanceClock(1);
    Q_EMIT second->progressReported(6, 60.0);

    QCOMPARE(storedResume(harness, ModelHarness::clipURL(1)), std::optional(5.0));
    QCOMPARE(storedResume(harness, ModelHarness::clipURL(2)), std::optional(6.0));
}

void TestAppModelPlaylist::retitleAndThumbnail_data()
{
    QTest::addColumn<bool>("saveHistory");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("thumbnail");
    QTest::addColumn<int>("historyChanges");

    // "=" stands for the title the entry already has.
    QTest::newRow("same title, no thumbnail change") << true << "=" << "" << 0;
    QTest::newRow("new title") << true << "Evening news" << "" << 1;
    QTest::newRow("new thumbnail") << true << "=" << "https://img.example/t.jpg" << 1;
    QTest::newRow("both") << true << "Evening news" << "https://img.example/t.jpg" << 2;
    QTest::newRow("history off") << false << "Evening news" << "https://img.example/t.jpg" << 0;
}

void TestAppModelPlaylist::retitleAndThumbnail()
{
    QFETCH(bool, saveHistory);
    QFETCH(QString, title);
    QFETCH(QString, thumbnail);
    QFETCH(int, historyChanges);
    ModelHarness harness;
    AppModel &model = harness.model();
    PlaybackSession *session = harness.openClip(1);
    const HistoryItem before = model.history().first();
    harness.preferences().setSaveHistory(saveHistory);
    if (title == u"=")
        title = before.title;
    QSignalSpy changes(&model, &AppModel::historyChanged);

    Q_EMIT session->titleReported(title);
    // Pages report the same thumbnail again and again: only the first one is written.
    for (int repeat = 0; repeat < 2 && !thumbnail.isEmpty(); ++repeat)
        Q_EMIT session->thumbnailReported(QUrl(thumbnail));

    QCOMPARE(changes.count(), historyChanges);
    const HistoryItem after = HistoryStore(harness.historyFile()).items().first();
    QCOMPARE(after.title, saveHistory ? title : before.title);
    QCOMPARE(after.thumbnailURLString,
             saveHistory && !thumbnail.isEmpty() ? std::optional(thumbnail) : std::nullopt);
}

void TestAppModelPlaylist::historyWriteFailureRaisesTheWarning()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    QVERIFY(!model.storageWarning());
    // A folder where the file should be makes every later write fail.
    QFile::remove(harness.historyFile());
    QVERIFY(QDir().mkpath(harness.historyFile()));

    harness.openClip(2);

    QVERIFY(model.storageWarning());
    QVERIFY2(model.storageWarning()->startsWith(u"Couldn't save local history: "_qs),
             qPrintable(*model.storageWarning()));
    QVERIFY(model.storageWarning()->size() > u"Couldn't save local history: "_qs.size());
}

void TestAppModelPlaylist::historyLoadFailureIsShownUnprefixed()
{
    ModelHarness harness;
    QDir().mkpath(QFileInfo(harness.historyFile()).absolutePath());
    QFile file(harness.historyFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{ not json");
    file.close();

    harness.restart();

    const std::optional<QString> warning = harness.model().storageWarning();
    QVERIFY(warning);
    QVERIFY(!warning->startsWith(u"Couldn't save local history"_qs));
    // The store's own text, which says where the unreadable file was kept.
    QVERIFY2(warning->contains(u"history.json.damaged-"_qs), qPrintable(*warning));
}

void TestAppModelPlaylist::addFolderSortsAndSkips()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.touch(u"music/b.mp4"_qs);
    harness.touch(u"music/a.MKV"_qs);
    harness.touch(u"music/notes.txt"_qs);
    harness.touch(u"music/.c.mp3"_qs);
    harness.touch(u"music/more/track10.mp3"_qs);
    harness.touch(u"music/more/track2.mp3"_qs);
    harness.openClip(1);

    model.addToPlaylist({QUrl::fromLocalFile(harness.folder().filePath(u"music"_qs))});

    QCOMPARE(titles(model.playlist()),
             (QStringList{u"a"_qs, u"b"_qs, u"track2"_qs, u"track10"_qs}));
    QCOMPARE(model.section(), HomeSection::playlist);
    QCOMPARE(model.sessions().size(), 1);
    QCOMPARE(titles(PlaylistStore(harness.playlistFile()).items()), titles(model.playlist()));
}

// Files in the given order; whether a window is open first; what gets queued and opened.
void TestAppModelPlaylist::addToPlaylist_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("windowOpen");
    QTest::addColumn<QStringList>("queued");
    QTest::addColumn<int>("windowsAfter");

    QTest::newRow("no window: first of the playlist opens")
        << QStringList{u"x/one.mp4"_qs, u"x/two.mp3"_qs} << false
        << QStringList{u"one"_qs, u"two"_qs} << 1;
    QTest::newRow("window open: nothing starts")
        << QStringList{u"x/one.mp4"_qs} << true << QStringList{u"one"_qs} << 1;
    QTest::newRow("missing files are skipped")
        << QStringList{u"!gone.mp4"_qs, u"x/one.mp4"_qs} << false << QStringList{u"one"_qs}
        << 1;
    QTest::newRow("nothing usable changes nothing")
        << QStringList{u"!gone.mp4"_qs} << false << QStringList{} << 0;
    QTest::newRow("same file twice is queued once")
        << QStringList{u"x/one.mp4"_qs, u"x/one.mp4"_qs} << false << QStringList{u"one"_qs}
        << 1;
}

void TestAppModelPlaylist::addToPlaylist()
{
    QFETCH(QStringList, files);
    QFETCH(bool, windowOpen);
    QFETCH(QStringList, queued);
    QFETCH(int, windowsAfter);
    ModelHarness harness;
    AppModel &model = harness.model();
    if (windowOpen)
        harness.openClip(1);
    QList<QUrl> urls;
    for (const QString &file : files) {
        urls << QUrl::fromLocalFile(file.startsWith(u'!') ? harness.folder().filePath(file.mid(1))
                                                          : harness.touch(file));
    }
    QSignalSpy sections(&model, &AppModel::sectionChanged);

    model.addToPlaylist(urls);

    QCOMPARE(titles(model.playlist()), queued);
    QCOMPARE(sections.count(), queued.isEmpty() ? 0 : 1);
    QCOMPARE(model.sessions().size(), windowsAfter);
    if (!windowOpen && !queued.isEmpty()) {
        QCOMPARE(sessionURLs(model), QStringList{model.playlist().first().urlString});
        QCOMPARE(model.currentPlaylistItemID(), std::optional(model.playlist().first().id));
    }
}

void TestAppModelPlaylist::openingAFolderFillsThePlaylist_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("absolute path") << "%1/films";
    QTest::newRow("with a tilde") << "~/films";
    QTest::newRow("with a trailing slash") << "%1/films/";
}

void TestAppModelPlaylist::openingAFolderFillsThePlaylist()
{
    QFETCH(QString, text);
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.touch(u"films/one.mp4"_qs);
    harness.openClip(1);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", harness.folder().path().toLocal8Bit());

    model.open(text.contains(u"%1"_qs) ? text.arg(harness.folder().path()) : text);

    qputenv("HOME", home);
    QCOMPARE(titles(model.playlist()), QStringList{u"one"_qs});
    QCOMPARE(model.sessions().size(), 1);
    QVERIFY(!model.inputError());
}

void TestAppModelPlaylist::openingAnEntryMarksIt()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    const QString one = harness.touch(u"x/one.mp4"_qs);
    const QString two = harness.touch(u"x/two.mp4"_qs);
    model.addToPlaylist({QUrl::fromLocalFile(one), QUrl::fromLocalFile(two)});
    QCOMPARE(model.currentPlaylistItemID(), std::nullopt);

    model.open(two);
    QCOMPARE(model.currentPlaylistItemID(), std::optional(model.playlist().at(1).id));
    model.open(ModelHarness::clipURL(5));
    QCOMPARE(model.currentPlaylistItemID(), std::optional(model.playlist().at(1).id));
}

// Entries a, b, c are queued; the given one reaches its end.
void TestAppModelPlaylist::advance_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("nextAlreadyOpen");
    QTest::addColumn<QStringList>("windowsAfter");
    QTest::addColumn<QString>("current");

    QTest::newRow("first moves to second") << "a" << false << QStringList{u"b"_qs} << "b";
    QTest::newRow("last stays open") << "c" << false << QStringList{u"c"_qs} << "c";
    QTest::newRow("next already open comes forward")
        << "a" << true << QStringList{u"b"_qs} << "b";
    QTest::newRow("not in the playlist stays") << "z" << false << QStringList{u"z"_qs} << "";
}

void TestAppModelPlaylist::advance()
{
    QFETCH(QString, ending);
    QFETCH(bool, nextAlreadyOpen);
    QFETCH(QStringList, windowsAfter);
    QFETCH(QString, current);
    ModelHarness harness;
    AppModel &model = harness.model();
    QHash<QString, QString> urls;
    for (const QString &name : {u"a"_qs, u"b"_qs, u"c"_qs, u"z"_qs})
        urls.insert(name, fileURL(harness.touch(u"q/"_qs + name + u".mp4"_qs)));
    harness.openClip(9);
    model.addToPlaylist({QUrl(urls[u"a"_qs]), QUrl(urls[u"b"_qs]), QUrl(urls[u"c"_qs])});
    model.close(*model.sessions().first());
    if (nextAlreadyOpen)
        model.open(urls[u"b"_qs]);
    model.open(urls[ending]);
    PlaybackSession *endingSession = nullptr;
    for (PlaybackSession *session : model.sessions()) {
        if (session->source().urlString() == urls[ending])
            endingSession = session;
    }
    QVERIFY(endingSession);
    const std::optional<QUuid> currentBefore = model.currentPlaylistItemID();

    Q_EMIT endingSession->reachedEnd();

    QStringList expected;
    for (const QString &name : windowsAfter)
        expected << urls[name];
    QCOMPARE(sessionURLs(model), expected);
    if (current.isEmpty()) {
        QCOMPARE(model.currentPlaylistItemID(), currentBefore);
    } else {
        const auto entry = std::ranges::find(model.playlist(), urls[current],
                                             &PlaylistItem::urlString);
        QCOMPARE(model.currentPlaylistItemID(), std::optional(entry->id));
    }
}

void TestAppModelPlaylist::removeAndClear_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("removedIndex");
    QTest::addColumn<int>("entriesAfter");
    QTest::addColumn<bool>("currentKept");

    QTest::newRow("remove the current entry") << "remove" << 0 << 1 << false;
    QTest::newRow("remove another entry") << "remove" << 1 << 1 << true;
    QTest::newRow("remove an unknown id") << "remove" << -1 << 2 << true;
    QTest::newRow("clear") << "clear" << -1 << 0 << false;
}

void TestAppModelPlaylist::removeAndClear()
{
    QFETCH(QString, operation);
    QFETCH(int, removedIndex);
    QFETCH(int, entriesAfter);
    QFETCH(bool, currentKept);
    ModelHarness harness;
    AppModel &model = harness.model();
    model.addToPlaylist({QUrl::fromLocalFile(harness.touch(u"q/a.mp4"_qs)),
                         QUrl::fromLocalFile(harness.touch(u"q/b.mp4"_qs))});
    const std::optional<QUuid> current = model.currentPlaylistItemID();
    QVERIFY(current);

    if (operation == u"clear")
        model.clearPlaylist();
    else
        model.removePlaylistItem(removedIndex < 0 ? QUuid::createUuid()
                                                  : model.playlist().at(removedIndex).id);

    QCOMPARE(model.playlist().size(), entriesAfter);
    QCOMPARE(PlaylistStore(harness.playlistFile()).items().size(), entriesAfter);
    QCOMPARE(model.currentPlaylistItemID(), currentKept ? current : std::nullopt);
    QCOMPARE(model.sessions().size(), 1);
}

void TestAppModelPlaylist::addFilesAndFolderUseTheOpenPanel()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    harness.touch(u"d/inner.mp4"_qs);
    harness.panelAnswer = {QUrl::fromLocalFile(harness.touch(u"x/one.mp4"_qs)),
                           QUrl::fromLocalFile(harness.touch(u"x/two.mp4"_qs))};
    model.addFilesToPlaylist();
    harness.panelAnswer = {QUrl::fromLocalFile(harness.folder().filePath(u"d"_qs))};
    model.addFolderToPlaylist();
    harness.panelAnswer = {};
    model.addFilesToPlaylist();

    QCOMPARE(titles(model.playlist()),
             (QStringList{u"one"_qs, u"two"_qs, u"inner"_qs}));
    QCOMPARE(harness.panels.size(), 3);
    QVERIFY(harness.panels.at(0).allowsMultipleSelection);
    QVERIFY(!harness.panels.at(0).choosesFolders);
    QVERIFY(harness.panels.at(1).choosesFolders);
}

void TestAppModelPlaylist::drop_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("windows");
    QTest::addColumn<QString>("input");

    QTest::newRow("folder") << "folder" << true << 1 << 1 << "";
    QTest::newRow("file") << "file" << true << 0 << 1 << "%file";
    QTest::newRow("file with a web link after it") << "file+link" << true << 0 << 1 << "%file";
    QTest::newRow("web link") << "link" << true << 0 << 1 << "https://media.example/d.mp4";
    QTest::newRow("text") << "text" << true << 0 << 1 << "https://media.example/t.mp4";
    QTest::newRow("text that is no link") << "bad text" << true << 0 << 0 << "no link at all";
    QTest::newRow("nothing usable") << "image" << false << 0 << 0 << "";
}

void TestAppModelPlaylist::drop()
{
    QFETCH(QString, kind);
    QFETCH(bool, accepted);
    QFETCH(int, entries);
    QFETCH(int, windows);
    QFETCH(QString, input);
    ModelHarness harness;
    AppModel &model = harness.model();
    const QString file = harness.touch(u"drop/clip.mp4"_qs);
    QMimeData data;
    if (kind == u"folder")
        data.setUrls({QUrl::fromLocalFile(harness.folder().filePath(u"drop"_qs))});
    else if (kind == u"file")
        data.setUrls({QUrl::fromLocalFile(file)});
    else if (kind == u"file+link")
        data.setUrls({QUrl(u"https://media.example/d.mp4"_qs), QUrl::fromLocalFile(file)});
    else if (kind == u"link")
        data.setUrls({QUrl(u"https://media.example/d.mp4"_qs)});
    else if (kind == u"text")
        data.setText(u"https://media.example/t.mp4"_qs);
    else if (kind == u"bad text")
        data.setText(u"no link at all"_qs);
    else
        data.setImageData(QColor(Qt::red));

    QCOMPARE(model.acceptDrop(data), accepted);

    const QString expectedInput = input == u"%file" ? file : input;
    QTRY_COMPARE_WITH_TIMEOUT(model.sessions().size() + (model.inputError() ? 1 : 0),
                              accepted ? 1 : 0, 2000);
    QCOMPARE(model.sessions().size(), windows);
    QCOMPARE(model.playlist().size(), entries);
    QCOMPARE(model.input(), expectedInput);
}

QTEST_MAIN(TestAppModelPlaylist)
#include "tst_appmodelplaylist.moc"

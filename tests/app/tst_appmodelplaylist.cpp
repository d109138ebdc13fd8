#include "ModelHarness.h"


#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

using H = ModelHarness;

namespace {

// What history.json holds now, read the way the next start reads it.
std::optional<double> storedResume(const H &h, int clip)
{
    const std::optional<HistoryItem> item = HistoryStore(h.historyFile()).item(QUrl(H::clipURL(clip)));
    return item ? item->resumeSeconds : std::nullopt;
}

// Adds paths below the home, where x/ holds one.mp4 and two.mp3, and links.
void add(H &h, const QStringList &entries)
{
    h.touch(u"x/one.mp4"_qs);
    h.touch(u"x/two.mp3"_qs);
    QList<QUrl> urls;
    for (const QString &entry : entries)
        urls << (entry.startsWith(u"https:") ? QUrl(entry) : QUrl::fromLocalFile(h.home().filePath(entry)));
    h.model().addToPlaylist(urls);
}

// Entries a, b and c are queued while clip 9 plays; then it closes, the entry after "b" first
// when asked, and the given one opens and plays to its end.
void playsToEnd(H &h, const QString &ending, bool nextOpen = false)
{
    const auto url = [&h](const QString &name) { return QUrl::fromLocalFile(h.touch(u"q/%1.mp4"_qs.arg(name))); };
    h.openClip(9);
    h.model().addToPlaylist({url(u"a"_qs), url(u"b"_qs), url(u"c"_qs)});
    h.model().close(*h.model().sessions().first());
    if (nextOpen)
        h.model().open(url(u"b"_qs).toString());
    h.model().open(url(ending).toString());
    Q_EMIT h.model().sessions().last()->reachedEnd();
}

void addThroughTheOpenDialog(H &h)
{
    h.openClip(1);
    h.touch(u"d/inner.mp4"_qs);
    h.panelAnswer = {QUrl::fromLocalFile(h.touch(u"x/one.mp4"_qs)), QUrl::fromLocalFile(h.touch(u"x/two.mp4"_qs))};
    h.model().addFilesToPlaylist();
    h.panelAnswer = {QUrl::fromLocalFile(h.home().filePath(u"d"_qs))};
    h.model().addFolderToPlaylist();
    const OpenPanel files = h.panels.value(0), folder = h.panels.value(1);
    QVERIFY(files.allowsMultipleSelection && !files.choosesFolders);
    QVERIFY(!folder.allowsMultipleSelection && folder.choosesFolders);
}

// The drop is carried out on the next turn of the event loop.
void drops(H &h, const QString &path)
{
    h.touch(u"drop/clip.mp4"_qs);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(h.home().filePath(path))});
    QVERIFY(h.model().acceptDrop(data) && h.model().sessions().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!h.model().sessions().isEmpty(), 2000);
}

// Clips 1 to 3 were opened and closed again; the given one is starred.
void watched(H &h, int starred = 0)
{
    for (const int clip : {1, 2, 3})
        h.model().close(*h.openClip(clip));
    if (starred > 0)
        h.model().setFavorite(h.model().history().at(3 - starred).id, true);
}

const QList<H::Operation> rows{
    {"a star is kept across a restart and lists the entry as a favourite",
     [](H &h) { watched(h, 2); h.restart(); QCOMPARE(h.model().favorites().value(0).urlString, H::clipURL(2)); },
     "windows | history clip3 clip2* clip1"},
    {"un-starring keeps the entry", [](H &h) { watched(h, 2); h.model().setFavorite(h.model().history().at(1).id, false); },
     "windows | history clip3 clip2 clip1"},
    {"removing takes one entry out", [](H &h) { watched(h); h.model().removeFromHistory(h.model().history().at(1).id); },
     "windows | history clip3 clip1"},
    {"clearing removes favourites too", [](H &h) { watched(h, 1); h.model().clearHistory(); }, "windows"},
    {"without a window the first added entry opens", [](H &h) { add(h, {u"x/one.mp4"_qs, u"x/two.mp3"_qs}); },
     "windows one | section playlist | playlist one* two"},
    {"a folder adds what the scan finds", [](H &h) { add(h, {u"x"_qs}); },
     "windows one | section playlist | playlist one* two"},
    {"missing files and links change nothing",
     [](H &h) { add(h, {u"gone.mp4"_qs, u"https://media.example/a.mp4"_qs}); }, "windows"},
    {"a folder's path fills the playlist; with a window open nothing starts",
     [](H &h) { h.touch(u"films/one.mp4"_qs); h.openClip(1); h.model().open(u"~/films"_qs); },
     "windows clip1 | section playlist | playlist one"},
    {"the next entry replaces the one that ended", [](H &h) { playsToEnd(h, u"a"_qs); },
     "windows b | section playlist | playlist a b* c | history b a clip9"},
    {"the last entry stays", [](H &h) { playsToEnd(h, u"c"_qs); },
     "windows c | section playlist | playlist a b c* | history c clip9"},
    {"a next entry already open comes forward", [](H &h) { playsToEnd(h, u"a"_qs, true); },
     "windows b | section playlist | playlist a b* c | history a b clip9"},
    {"a window not in the playlist stays", [](H &h) { playsToEnd(h, u"z"_qs); },
     "windows z | section playlist | playlist a b c | history z clip9"},
    {"removing another entry keeps the current one",
     [](H &h) { add(h, {u"x"_qs}); h.model().removePlaylistItem(h.model().playlist().at(1).id); },
     "windows one | section playlist | playlist one*"},
    {"removing the current entry clears the mark",
     [](H &h) { add(h, {u"x"_qs}); h.model().removePlaylistItem(h.model().playlist().at(0).id); },
     "windows one | section playlist | playlist two"},
    {"clearing empties the playlist and leaves the windows", [](H &h) { add(h, {u"x"_qs}); h.model().clearPlaylist(); },
     "windows one | section playlist"},
    {"files and a folder come through the Open dialog", addThroughTheOpenDialog,
     "windows clip1 | section playlist | playlist one two inner"},
    {"a dropped folder fills the playlist", [](H &h) { drops(h, u"drop"_qs); },
     "windows clip | section playlist | playlist clip*"},
    {"a dropped file opens, its path in the field", [](H &h) { drops(h, u"drop/clip.mp4"_qs); },
     "windows clip | input ~/drop/clip.mp4"},
};

} // namespace

class TestAppModelPlaylist final : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void operations_data() { H::addRows(rows); }
    void operations() { H::checkRow(rows); }

    // A position is saved once past its first second, then at most every 8 s per window, and
    // only while both history and resuming are on.
    void resumePositionsAreThrottled()
    {
        ModelHarness harness;
        PlaybackSession *first = harness.openClip(1);
        PlaybackSession *second = harness.openClip(2);
        // Seconds the clock moves, the position reported, the position stored (-1: none).
        for (const auto &[clock, elapsed, stored] : {std::tuple{0, 1.0, -1}, {0, 2.0, 2}, {5, 7.0, 2}, {3, 11.0, 11}}) {
            harness.advanceClock(clock);
            Q_EMIT first->progressReported(elapsed, 60.0);
            QCOMPARE(storedResume(harness, 1).value_or(-1), double(stored));
        }
        Q_EMIT second->progressReported(5, 60.0);
        QCOMPARE(storedResume(harness, 2), std::optional(5.0));
        for (const bool resume : {false, true}) {
            harness.preferences().setResumePlayback(resume);
            harness.preferences().setSaveHistory(!resume);
            harness.advanceClock(9);
            Q_EMIT first->progressReported(30, 60.0);
            QCOMPARE(storedResume(harness, 1), std::optional(11.0));
        }
    }

    // Pages report the same title and thumbnail again and again: only changes are written.
    void titlesAndThumbnailsReachTheHistory()
    {
        ModelHarness harness;
        PlaybackSession *session = harness.openClip(1);
        QSignalSpy changes(&harness.model(), &AppModel::historyChanged);
        const auto stored = [&harness] { return HistoryStore(harness.historyFile()).items().first(); };
        const QUrl thumbnail(u"https://img.example/t.jpg"_qs);

        Q_EMIT session->titleReported(stored().title);
        Q_EMIT session->titleReported(u"Evening news"_qs);
        Q_EMIT session->thumbnailReported(thumbnail);
        Q_EMIT session->thumbnailReported(thumbnail);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(stored().title, u"Evening news"_qs);
        QCOMPARE(stored().thumbnailURLString, std::optional(thumbnail.toString()));

        harness.preferences().setSaveHistory(false);
        Q_EMIT session->titleReported(u"Late news"_qs);
        Q_EMIT session->thumbnailReported(QUrl(u"https://img.example/u.jpg"_qs));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(stored().title, u"Evening news"_qs);
    }

    // Each store's failure shows in the store's own words, one line each, until a save of that
    // store works again.
    void storageFailuresRaiseTheWarning()
    {
        ModelHarness harness;
        harness.openClip(1);
        QVERIFY(!harness.model().storageWarning());
        // A folder where the file should be makes every later write fail.
        QVERIFY(QFile::remove(harness.historyFile()) && QDir().mkpath(harness.historyFile()));
        harness.openClip(2);
        QVERIFY(harness.model().storageWarning().value().startsWith(u"Couldn't save the history: "_qs));
        QVERIFY(QDir(harness.historyFile()).removeRecursively());
        harness.openClip(3);
        QVERIFY(!harness.model().storageWarning());

        harness.touch(u"data/playlist.json"_qs);
        harness.restart();
        QVERIFY(harness.model().storageWarning().value().startsWith(u"Couldn't read the playlist: "_qs));
        Q_EMIT harness.preferences().saveErrorChanged(u"Couldn't save the settings"_qs);
        QVERIFY(harness.model().storageWarning()->contains(u"playlist.json.damaged-"_qs)
                && harness.model().storageWarning()->endsWith(u"\nCouldn't save the settings"_qs));
        harness.model().clearPlaylist();
        QCOMPARE(harness.model().storageWarning(), std::optional(u"Couldn't save the settings"_qs));
    }
};

QTEST_MAIN(TestAppModelPlaylist)
#include "tst_appmodelplaylist.moc"

#include "ModelHarness.h"

#include "app/QuitGuard.h"


#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

using H = ModelHarness;

namespace {

void openClips(H &h, int count, bool hidden = false)
{
    for (int n = 1; n <= count; ++n) {
        PlaybackSession *session = h.openClip(n);
        if (hidden)
            h.model().hide(*session);
    }
}

void makeReady(const PlaybackSession *session)
{
    FakeNativePlayer *player = H::player(*session);
    player->emitStatus(player->currentItem(), NativePlayer::Status::readyToPlay);
}

// Clip 1 reports a position, closes and opens again: the seeks of its new player once ready.
QList<FakeNativePlayer::Seek> seeksOnReopening(H &h, bool resume)
{
    PlaybackSession *session = h.openClip(1);
    Q_EMIT session->progressReported(42.0, 100.0);
    h.model().close(*session);
    h.preferences().setResumePlayback(resume);
    makeReady(session = h.openClip(1));
    return H::player(*session)->seeks();
}

// Hands clip 1 to the chosen external player; the completion runs once the hand-off worked.
void handOff(H &h, const QString &player, bool installed = false)
{
    if (installed)
        h.workspace().installPlayer(player);
    h.preferences().setExternalPlayer(player);
    int completions = 0;
    h.model().openExternal(MediaSource(QUrl(H::clipURL(1)), MediaKind::mediaURL, u"clip1"_qs, {}), false,
                           [&completions] { ++completions; });
    const std::optional<AppError> &error = h.model().inputError();
    QCOMPARE(completions, error ? 0 : 1);
    QVERIFY(!error || error->kind() == AppError::Kind::external);
}

void paste(H &h, const QString &clipboard)
{
    h.model().setInput(u"before"_qs);
    QGuiApplication::clipboard()->setText(clipboard);
    h.model().pasteAndOpen();
}

const QString eightHidden = u"windows clip1- clip2- clip3- clip4- clip5- clip6- clip7- clip8-"_qs;

const QList<H::Operation> rows{
    {"text that is no link is reported", [](H &h) { h.model().open(u"ftp://files.example/a.mp4"_qs); },
     "windows | error ftp: links aren't supported. | home 1"},
    {"a link already open brings its window forward", [](H &h) { openClips(h, 2, true); h.openClip(1); },
     "windows clip1 clip2-"},
    {"a ninth is refused, hidden ones count", [](H &h) { openClips(h, 8, true); h.openClip(9); },
     eightHidden + " | error At most 8 floating windows at once. | home 1"},
    {"a ninth is refused in the front window too",
     [](H &h) {
         openClips(h, 8);
         h.model().hide(*h.model().sessions().last());
         h.openClip(9);
         QCOMPARE(h.model().sessions().at(6)->toast(), u"At most 8 floating windows at once."_qs);
     }, u"windows clip1 clip2 clip3 clip4 clip5 clip6 clip7 clip8- | error At most 8 floating windows at once. | home 1"_qs},
    {"the external route comes before every check",
     [](H &h) { openClips(h, 8, true); h.preferences().setPlaybackRoute(u"external"_qs); h.openClip(1); },
     eightHidden + " | desktop clip1"},
    {"a link opens a window, with a warning for sites that need DRM or signing in",
     [](H &h) {
         for (const QString &site : {u"a.example"_qs, u"www.netflix.com"_qs, u"www.douyin.com"_qs})
             h.model().open(u"https://"_qs + site + u"/v"_qs);
         const auto toast = [&h](int n) { return h.model().sessions().at(n)->toast().value_or(QString()); };
         QVERIFY(toast(0).isEmpty() && toast(1).contains(u"needs DRM") && toast(2).contains(u"anti-bot"));
     }, "windows v v v"},
    {"a remembered position reaches the reopened window while resuming is on",
     [](H &h) {
         QVERIFY(seeksOnReopening(h, false).isEmpty());
         QCOMPARE(seeksOnReopening(h, true).value(0).seconds, 42.0);
     }, "windows clip1"},
    {"toggle all hides all while one shows, and they still count",
     [](H &h) {
         openClips(h, 1, true);
         h.openClip(2);
         h.model().toggleAll();
         QVERIFY(!h.model().mostRecentVisibleSession());
     }, "windows clip1- clip2-"},
    // Recovering raises a faint window's opacity.
    {"toggle all shows all when all are hidden",
     [](H &h) {
         h.openClip(1)->setOpacity(0.3);
         openClips(h, 2, true);
         h.model().toggleAll();
         QCOMPARE(h.model().sessions().first()->opacity(), 0.7);
     }, "windows clip1 clip2"},
    {"toggle all ends click-through and shows all",
     [](H &h) { openClips(h, 1, true); h.openClip(2)->setClickThrough(true); h.model().toggleAll(); },
     "windows clip1 clip2"},
    {"toggle all without windows shows home", [](H &h) { h.model().toggleAll(); }, "windows | home 1"},
    {"toggle playback pauses the first visible window",
     [](H &h) {
         openClips(h, 3);
         std::ranges::for_each(h.model().sessions(), makeReady);
         h.model().hide(*h.model().sessions().first());
         // Offscreen there is no active window, so the first visible one is meant.
         QApplication::setActiveWindow(nullptr);
         h.model().togglePlaybackOfActive();
         QCOMPARE(H::player(*h.model().sessions().at(1))->rate(), 0.0);
         QVERIFY(H::player(*h.model().sessions().at(2))->rate() > 0);
     }, "windows clip1- clip2 clip3"},
    {"closing tears the window down",
     [](H &h) {
         openClips(h, 2);
         QPointer<PlaybackSession> closing = h.model().sessions().last();
         QPointer<QObject> controller = h.model().controller(*closing);
         const int menuUpdates = h.menuUpdates;
         h.model().close(*closing);
         QSignalSpy changes(&h.model(), &AppModel::sessionDidChange);
         closing->setPinned(true);
         QCOMPARE(changes.count(), 0);
         h.model().sessions().first()->setPinned(true);
         QVERIFY(changes.count() > 0);
         QCOMPARE(h.menuUpdates, menuUpdates + 1);
         QTRY_VERIFY_WITH_TIMEOUT(closing.isNull() && controller.isNull(), 2000);
     }, "windows clip1 | history clip2 clip1"},
    {"nothing is remembered while restoring is off",
     [](H &h) { h.openClip(1); h.preferences().setRestoreWindows(false); h.openClip(2); },
     "windows clip1 clip2 | remembered"},
    // An unusable remembered window is reported; of the rest, the first two come back, once.
    {"remembered windows come back once",
     [](H &h) {
         h.settings().setValue(AppModel::lastWindowURLsKey,
                             QStringList{u"ftp://old.example/a.mp4"_qs, H::clipURL(1), H::clipURL(2), H::clipURL(3)});
         h.restart();
         h.model().restoreWindowsIfNeeded();
         h.model().close(*h.model().sessions().first());
         h.model().restoreWindowsIfNeeded();
     }, "windows clip2 | home 1 | history clip2 clip1"},
    {"a window opened before the restore stays, in front of the remembered ones",
     [](H &h) {
         h.settings().setValue(AppModel::lastWindowURLsKey, QStringList{H::clipURL(1), H::clipURL(2)});
         h.restart();
         h.openClip(3);
         h.model().restoreWindowsIfNeeded();
     }, "windows clip1 clip2 clip3"},
    {"pasting blank text is refused", [](H &h) { paste(h, u" \n\t"_qs); },
     "windows | input before | error The clipboard has no link or path. | home 1"},
    {"paste and open opens the link as pasted", [](H &h) { paste(h, u"  https://media.example/a.mp4"_qs); },
     "windows a | input   https://media.example/a.mp4"},
    {"open file opens the one file chosen",
     [](H &h) {
         h.model().openFile();
         h.panelAnswer = {QUrl::fromLocalFile(h.touch(u"media/film one.mp4"_qs))};
         h.model().openFile();
         QVERIFY(!h.panels.first().allowsMultipleSelection && !h.panels.first().choosesFolders);
     }, "windows film one | input ~/media/film one.mp4"},
    {"iina is never installed here", [](H &h) { handOff(h, u"iina"_qs, true); },
     "windows | error IINA isn't installed. Install it or switch to System default. | home 1"},
    {"mpv refuses", [](H &h) { h.workspace().setLaunchError(u"mpv could not start."_qs); handOff(h, u"mpv"_qs, true); },
     "windows | error mpv could not start. | home 1 | launched mpv:clip1"},
    {"mpv takes it", [](H &h) { handOff(h, u"mpv"_qs, true); },
     "windows | history clip1 | launched mpv:clip1"},
    {"the system default is Lumivane",
     [](H &h) { h.workspace().setDefaultHandler(Workspace::ownDesktopEntry()); handOff(h, u"system"_qs); },
     "windows | error This file type opens with Lumivane by default. Choose VLC or mpv in Settings. | home 1"},
    {"the system refuses", [](H &h) { h.workspace().setOpenAccepted(false); handOff(h, u"system"_qs); },
     "windows | error The system couldn't open this. | home 1 | desktop clip1"},
    {"an unknown stored player means the system, history off",
     [](H &h) { h.preferences().setSaveHistory(false); handOff(h, u"quicktime"_qs); }, "windows | desktop clip1"},
    {"an external request closes the window after the hand-off",
     [](H &h) {
         h.preferences().setExternalPlayer(u"vlc"_qs);
         h.workspace().installPlayer(u"vlc"_qs);
         h.openClip(1)->requestExternal();
     }, "windows | history clip1 | launched vlc:clip1"},
    {"an external request that fails keeps the window",
     [](H &h) { h.preferences().setExternalPlayer(u"vlc"_qs); h.openClip(1)->requestExternal(); },
     "windows clip1 | error VLC isn't installed. Install it or switch to System default. | home 1"},
    {"the browser takes web links only",
     [](H &h) {
         for (const QString &url : {u"HTTP://a.example/a"_qs, u"rtmp://a.example/b"_qs})
             h.model().openInBrowser(MediaSource(QUrl(url), MediaKind::mediaURL, {}, {}));
     }, "windows | desktop a"},
    // Qt closes every window when the application quits; the windows open at that moment must
    // come back at the next start. Last, as it closes every window of the process.
    {"quitting keeps the windows open at quit",
     [](H &h) {
         openClips(h, 2);
         QuitGuard guard(h.model());
         qApp->installEventFilter(&guard);
         QTimer::singleShot(0, qApp, &QCoreApplication::quit);
         QApplication::exec();
         QVERIFY(h.model().isTerminating());
     }, "windows | history clip2 clip1 | remembered clip1 clip2"},
};

} // namespace

class TestAppModelOpen final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operations_data() { H::addRows(rows); }
    void operations() { H::checkRow(rows); }
};

QTEST_MAIN(TestAppModelOpen)
#include "tst_appmodelopen.moc"

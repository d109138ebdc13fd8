#include "ModelHarness.h"

#include "app/AppModel.h"
#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/HistoryStore.h"
#include "KiteCore/L10n.h"
#include "KiteCore/SiteCapabilities.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace {
QStringList sessionURLs(const AppModel &model)
{
    QStringList urls;
    for (const PlaybackSession *session : model.sessions())
        urls << session->source().urlString();
    return urls;
}

QStringList rememberedURLs(QSettings &settings)
{
    return settings.value(AppModel::lastWindowURLsKey).toStringList();
}

bool windowShown(const AppModel &model, const PlaybackSession &session)
{
    const PlayerWindowController *controller = model.controller(session);
    return controller && controller->window() && controller->window()->isVisible();
}
} // namespace

class TestAppModelOpen final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }

    void openText_data();
    void openText();
    void oddTextEndsInAWindowOrAMessage_data();
    void oddTextEndsInAWindowOrAMessage();
    void openSourceTwiceBringsTheWindowForward_data();
    void openSourceTwiceBringsTheWindowForward();
    void limitOfEightCountsHiddenWindows_data();
    void limitOfEightCountsHiddenWindows();
    void externalRouteComesBeforeEveryCheck();
    void unsupportedSitesOpenWithAWarning_data();
    void unsupportedSitesOpenWithAWarning();
    void resumePositionReachesTheNewSession_data();
    void resumePositionReachesTheNewSession();
    void closingTearsTheSessionDown();
    void hideKeepsTheSessionCounted();
    void sessionChangesReachTheModelUntilClosed();
    void toggleAll_data();
    void toggleAll();
    void recoverAllRaisesLowOpacity_data();
    void recoverAllRaisesLowOpacity();
    void togglePlaybackPicksTheFirstVisibleSession();
    void rememberedWindowsListsAtMostEight();
    void rememberedWindowsRemovedWhenRestoringIsOff();
    void closingWhileQuittingKeepsTheRememberedList();
    void restoreOpensAtMostThreeOnce();
    void restoreReportsAnUnparsableRememberedURL();
    void paste_data();
    void paste();
    void openFileOpensTheChosenFile();
    void openExternal_data();
    void openExternal();
    void requestExternalClosesTheWindowOnlyAfterTheHandOff_data();
    void requestExternalClosesTheWindowOnlyAfterTheHandOff();
    void openInBrowser_data();
    void openInBrowser();
};

// Every text ends in a window or in the error card, never in silence.
void TestAppModelOpen::openText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("windows");

    QTest::newRow("media link") << "https://media.example/a.mp4" << 1;
    QTest::newRow("web page") << "https://www.example.org/watch" << 1;
    QTest::newRow("link with spaces around") << "  https://media.example/a.mp4\n" << 1;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blank") << " \n\t " << 0;
    QTest::newRow("unsupported scheme") << "ftp://files.example/a.mp4" << 0;
    QTest::newRow("missing file") << "/no/such/folder/clip.mp4" << 0;
    QTest::newRow("javascript") << "javascript:alert(1)" << 0;
}

void TestAppModelOpen::openText()
{
    QFETCH(QString, text);
    QFETCH(int, windows);
    ModelHarness harness;
    AppModel &model = harness.model();

    model.open(text);

    QCOMPARE(model.sessions().size(), windows);
    QCOMPARE(model.inputError().has_value(), windows == 0);
    if (windows == 0) {
        QCOMPARE(model.inputError()->kind(), AppError::Kind::input);
        QVERIFY(!model.inputError()->message().isEmpty());
        QCOMPARE(harness.showHomeCalls, 1);
    } else {
        QVERIFY(windowShown(model, *model.sessions().first()));
        QCOMPARE(model.history().size(), 1);
    }
}

// Whatever arrives ends in exactly one of a window and a message.
void TestAppModelOpen::oddTextEndsInAWindowOrAMessage_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("control characters") << QString::fromUtf8("\x01\x02\x7f");
    QTest::newRow("very long word") << QString(20000, u'a');
    QTest::newRow("very long link") << u"https://example.org/"_qs + QString(20000, u'b');
    QTest::newRow("quotes only") << "\"\"";
    QTest::newRow("lone tilde path") << "~/no-such-file.mp4";
    QTest::newRow("nul inside") << QString(u"https://a.example/\0x.mp4"_qs);
    QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x8E\xAC");
}

void TestAppModelOpen::oddTextEndsInAWindowOrAMessage()
{
    QFETCH(QString, text);
    ModelHarness harness;
    AppModel &model = harness.model();

    model.open(text);

    QCOMPARE(model.sessions().size() + (model.inputError() ? 1 : 0), 1);
}

void TestAppModelOpen::openSourceTwiceBringsTheWindowForward_data()
{
    QTest::addColumn<int>("openBefore");
    QTest::newRow("one window") << 1;
    QTest::newRow("eight windows") << 8;
}

void TestAppModelOpen::openSourceTwiceBringsTheWindowForward()
{
    QFETCH(int, openBefore);
    ModelHarness harness;
    AppModel &model = harness.model();
    for (int n = 1; n <= openBefore; ++n)
        harness.openClip(n);
    PlaybackSession *first = model.sessions().first();
    model.hide(*first);
    QVERIFY(!windowShown(model, *first));
    QSignalSpy created(&model, &AppModel::sessionsChanged);

    model.open(ModelHarness::clipURL(1));

    QCOMPARE(model.sessions().size(), openBefore);
    QCOMPARE(created.count(), 0);
    QVERIFY(!model.inputError());
    QVERIFY(!first->isHidden());
    QVERIFY(windowShown(model, *first));
}

void TestAppModelOpen::limitOfEightCountsHiddenWindows_data()
{
    QTest::addColumn<int>("openBefore");
    QTest::addColumn<bool>("opens");
    QTest::newRow("seven open") << 7 << true;
    QTest::newRow("eight open") << 8 << false;
}

void TestAppModelOpen::limitOfEightCountsHiddenWindows()
{
    QFETCH(int, openBefore);
    QFETCH(bool, opens);
    ModelHarness harness;
    AppModel &model = harness.model();
    for (int n = 1; n <= openBefore; ++n)
        harness.openClip(n);
    for (PlaybackSession *session : model.sessions())
        model.hide(*session);

    model.open(ModelHarness::clipURL(99));

    QCOMPARE(model.sessions().size(), opens ? openBefore + 1 : openBefore);
    QCOMPARE(model.inputError().has_value(), !opens);
    if (!opens) {
        QCOMPARE(model.inputError()->message(), u"At most 8 floating windows at once."_qs);
        QCOMPARE(model.inputError()->recovery(),
                 std::optional(u"Close or hide one of the current windows first."_qs));
        QCOMPARE(model.section(), HomeSection::open);
    }
}

void TestAppModelOpen::externalRouteComesBeforeEveryCheck()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    harness.preferences().setPlaybackRoute(u"external"_qs);

    model.open(ModelHarness::clipURL(1));
    model.open(ModelHarness::clipURL(2));

    QCOMPARE(model.sessions().size(), 1);
    QCOMPARE(harness.workspace().openedUrls(),
             (QList<QUrl>{QUrl(ModelHarness::clipURL(1)), QUrl(ModelHarness::clipURL(2))}));
}

void TestAppModelOpen::unsupportedSitesOpenWithAWarning_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("toastPart");
    QTest::newRow("drm") << "https://www.netflix.com/watch/1" << "Netflix needs DRM (Widevine)";
    QTest::newRow("anti-bot") << "https://www.douyin.com/video/1"
                              << QString::fromUtf8("抖音 is login-gated and anti-bot protected");
    QTest::newRow("unknown site") << "https://www.example.org/page" << QString();
}

void TestAppModelOpen::unsupportedSitesOpenWithAWarning()
{
    QFETCH(QString, url);
    QFETCH(QString, toastPart);
    ModelHarness harness;
    AppModel &model = harness.model();

    model.open(url);

    QCOMPARE(model.sessions().size(), 1);
    const std::optional<QString> toast = model.sessions().first()->toast();
    QCOMPARE(toast.has_value(), !toastPart.isEmpty());
    if (toast) {
        QVERIFY2(toast->startsWith(toastPart), qPrintable(*toast));
        QVERIFY(toast->endsWith(u"Use More → Open in browser."_qs));
    }
}

void TestAppModelOpen::resumePositionReachesTheNewSession_data()
{
    QTest::addColumn<bool>("resume");
    QTest::newRow("resuming on") << true;
    QTest::newRow("resuming off") << false;
}

void TestAppModelOpen::resumePositionReachesTheNewSession()
{
    QFETCH(bool, resume);
    ModelHarness harness;
    AppModel &model = harness.model();
    PlaybackSession *session = harness.openClip(1);
    Q_EMIT session->progressReported(42.0, 100.0);
    model.close(*session);
    harness.preferences().setResumePlayback(resume);

    PlaybackSession *reopened = harness.openClip(1);
    FakeNativePlayer *player = harness.player(*reopened);
    QVERIFY(player);
    player->emitStatus(player->currentItem(), NativePlayer::Status::readyToPlay);

    QCOMPARE(player->seeks().size(), resume ? 1 : 0);
    if (resume)
        QCOMPARE(player->seeks().first().seconds, 42.0);
}

void TestAppModelOpen::closingTearsTheSessionDown()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    QPointer<PlaybackSession> closing = harness.openClip(2);
    harness.openClip(3);
    QPointer<QObject> controller = model.controller(*closing);
    const int menuUpdates = harness.menuUpdates;

    model.close(*closing);

    QCOMPARE(sessionURLs(model), (QStringList{ModelHarness::clipURL(1), ModelHarness::clipURL(3)}));
    QCOMPARE(rememberedURLs(harness.settings()), sessionURLs(model));
    QCOMPARE(harness.menuUpdates, menuUpdates + 1);
    QTRY_VERIFY_WITH_TIMEOUT(closing.isNull() && controller.isNull(), 2000);
    model.open(ModelHarness::clipURL(2));
    QCOMPARE(model.sessions().size(), 3);
}

void TestAppModelOpen::hideKeepsTheSessionCounted()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    PlaybackSession *session = harness.openClip(1);

    model.hide(*session);

    QVERIFY(session->isHidden());
    QVERIFY(!windowShown(model, *session));
    QCOMPARE(model.sessions().size(), 1);
    QCOMPARE(model.mostRecentVisibleSession(), nullptr);
}

void TestAppModelOpen::sessionChangesReachTheModelUntilClosed()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    PlaybackSession *session = harness.openClip(1);
    QSignalSpy changes(&model, &AppModel::sessionDidChange);

    session->setOpacity(0.5);
    session->setPinned(!session->isPinned());
    QCOMPARE(changes.count(), 2);
    model.close(*session);
    const int afterClose = int(changes.count());
    session->setOpacity(0.9);

    QCOMPARE(changes.count(), afterClose);
}

void TestAppModelOpen::toggleAll_data()
{
    QTest::addColumn<int>("windows");
    QTest::addColumn<QList<bool>>("hiddenBefore");
    QTest::addColumn<int>("clickThroughIndex");
    QTest::addColumn<bool>("hiddenAfter");
    QTest::addColumn<int>("homeCalls");

    QTest::newRow("all visible: hide all") << 2 << QList<bool>{false, false} << -1 << true << 0;
    QTest::newRow("one visible: hide all") << 2 << QList<bool>{true, false} << -1 << true << 0;
    QTest::newRow("all hidden: show all") << 2 << QList<bool>{true, true} << -1 << false << 0;
    QTest::newRow("click-through: bring all back")
        << 2 << QList<bool>{false, false} << 1 << false << 0;
    QTest::newRow("no windows: home") << 0 << QList<bool>{} << -1 << false << 1;
}

void TestAppModelOpen::toggleAll()
{
    QFETCH(int, windows);
    QFETCH(QList<bool>, hiddenBefore);
    QFETCH(int, clickThroughIndex);
    QFETCH(bool, hiddenAfter);
    QFETCH(int, homeCalls);
    ModelHarness harness;
    AppModel &model = harness.model();
    for (int n = 0; n < windows; ++n) {
        PlaybackSession *session = harness.openClip(n);
        if (hiddenBefore.at(n))
            model.hide(*session);
        if (n == clickThroughIndex)
            session->setClickThrough(true);
    }

    model.toggleAll();

    for (PlaybackSession *session : model.sessions()) {
        QCOMPARE(session->isHidden(), hiddenAfter);
        QCOMPARE(windowShown(model, *session), !hiddenAfter);
        QVERIFY(!session->clickThrough());
    }
    QCOMPARE(harness.showHomeCalls, homeCalls);
    QCOMPARE(rememberedURLs(harness.settings()), sessionURLs(model));
}

void TestAppModelOpen::recoverAllRaisesLowOpacity_data()
{
    QTest::addColumn<double>("opacity");
    QTest::addColumn<double>("recovered");
    QTest::newRow("faint") << 0.3 << 0.7;
    QTest::newRow("at the floor") << 0.7 << 0.7;
    QTest::newRow("clear") << 0.9 << 0.9;
}

void TestAppModelOpen::recoverAllRaisesLowOpacity()
{
    QFETCH(double, opacity);
    QFETCH(double, recovered);
    ModelHarness harness;
    AppModel &model = harness.model();
    PlaybackSession *session = harness.openClip(1);
    session->setOpacity(opacity);
    model.hide(*session);

    model.recoverAll();

    QCOMPARE(session->opacity(), recovered);
    QVERIFY(!session->isHidden());
    QVERIFY(windowShown(model, *session));
    QCOMPARE(harness.showHomeCalls, 0);
}

void TestAppModelOpen::togglePlaybackPicksTheFirstVisibleSession()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    QList<PlaybackSession *> sessions{harness.openClip(1), harness.openClip(2), harness.openClip(3)};
    for (PlaybackSession *session : sessions) {
        FakeNativePlayer *player = harness.player(*session);
        player->emitStatus(player->currentItem(), NativePlayer::Status::readyToPlay);
    }
    model.hide(*sessions[0]);
    QList<int> pausesBefore;
    for (PlaybackSession *session : sessions)
        pausesBefore << harness.player(*session)->pauseCount();
    // The offscreen platform has no active window, so the first visible session is meant.
    QApplication::setActiveWindow(nullptr);

    model.togglePlaybackOfActive();

    QCOMPARE(harness.player(*sessions[0])->pauseCount(), pausesBefore[0]);
    QCOMPARE(harness.player(*sessions[1])->pauseCount(), pausesBefore[1] + 1);
    QCOMPARE(harness.player(*sessions[2])->pauseCount(), pausesBefore[2]);
}

void TestAppModelOpen::rememberedWindowsListsAtMostEight()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    QStringList expected;
    for (int n = 1; n <= 8; ++n) {
        harness.openClip(n);
        expected << ModelHarness::clipURL(n);
        QCOMPARE(rememberedURLs(harness.settings()), expected);
    }
    model.open(ModelHarness::clipURL(9));
    QCOMPARE(rememberedURLs(harness.settings()), expected);
}

void TestAppModelOpen::rememberedWindowsRemovedWhenRestoringIsOff()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    QVERIFY(harness.settings().contains(AppModel::lastWindowURLsKey));
    harness.preferences().setRestoreWindows(false);

    model.toggleAll();

    QVERIFY(!harness.settings().contains(AppModel::lastWindowURLsKey));
    harness.openClip(2);
    QVERIFY(!harness.settings().contains(AppModel::lastWindowURLsKey));
}

void TestAppModelOpen::closingWhileQuittingKeepsTheRememberedList()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.openClip(1);
    harness.openClip(2);
    model.saveWindowState();
    model.setTerminating(true);

    const QList<PlaybackSession *> sessions = model.sessions();
    for (PlaybackSession *session : sessions)
        model.close(*session);

    QVERIFY(model.sessions().isEmpty());
    QCOMPARE(rememberedURLs(harness.settings()),
             (QStringList{ModelHarness::clipURL(1), ModelHarness::clipURL(2)}));
}

void TestAppModelOpen::restoreOpensAtMostThreeOnce()
{
    ModelHarness harness;
    QStringList stored;
    for (int n = 1; n <= 8; ++n)
        stored << ModelHarness::clipURL(n);
    harness.settings().setValue(AppModel::lastWindowURLsKey, stored);
    harness.restart();
    AppModel &model = harness.model();

    model.restoreWindowsIfNeeded();
    QCOMPARE(sessionURLs(model), stored.first(3));
    model.close(*model.sessions().first());
    model.restoreWindowsIfNeeded();

    QCOMPARE(sessionURLs(model), stored.mid(1, 2));
}

void TestAppModelOpen::restoreReportsAnUnparsableRememberedURL()
{
    ModelHarness harness;
    harness.settings().setValue(AppModel::lastWindowURLsKey,
                                QStringList{u"ftp://old.example/a.mp4"_qs, ModelHarness::clipURL(1)});
    harness.restart();
    AppModel &model = harness.model();

    model.restoreWindowsIfNeeded();

    QCOMPARE(sessionURLs(model), QStringList{ModelHarness::clipURL(1)});
    // The second open succeeded and cleared the card; the failure still reached the home window.
    QCOMPARE(harness.showHomeCalls, 1);
}

void TestAppModelOpen::paste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("error");
    QTest::addColumn<int>("windowsAfterPasteAndOpen");

    QTest::newRow("link with spaces") << "  https://media.example/a.mp4 \n" << false << 1;
    QTest::newRow("only white space") << " \n \t" << true << 0;
    QTest::newRow("empty") << "" << true << 0;
    QTest::newRow("not a link") << "hello there" << false << 0;
}

void TestAppModelOpen::paste()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, error);
    QFETCH(int, windowsAfterPasteAndOpen);
    ModelHarness harness;
    AppModel &model = harness.model();
    model.setInput(u"before"_qs);
    QGuiApplication::clipboard()->setText(clipboard);

    model.paste();

    QCOMPARE(model.inputError().has_value(), error);
    QCOMPARE(model.input(), error ? u"before"_qs : clipboard);
    if (error)
        QCOMPARE(model.inputError()->message(), u"The clipboard has no link or path."_qs);

    model.pasteAndOpen();
    QCOMPARE(model.sessions().size(), windowsAfterPasteAndOpen);
    QCOMPARE(model.inputError().has_value(), windowsAfterPasteAndOpen == 0);
}

void TestAppModelOpen::openFileOpensTheChosenFile()
{
    ModelHarness harness;
    AppModel &model = harness.model();
    const QString path = harness.touch(u"media/film one.mp4"_qs);

    model.openFile();
    QCOMPARE(model.sessions().size(), 0);
    harness.panelAnswer = {QUrl::fromLocalFile(path)};
    model.openFile();

    QCOMPARE(harness.panels.size(), 2);
    QCOMPARE(harness.panels.first().title, u"Choose something to float"_qs);
    QVERIFY(!harness.panels.first().allowsMultipleSelection);
    QCOMPARE(model.input(), path);
    QCOMPARE(sessionURLs(model), QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
}

void TestAppModelOpen::openExternal_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("handler");
    QTest::addColumn<bool>("desktopAccepts");
    QTest::addColumn<QString>("launchError");
    QTest::addColumn<bool>("saveHistory");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("launches");
    QTest::addColumn<int>("desktopOpens");
    QTest::addColumn<int>("historyEntries");

    const QString none;
    QTest::newRow("vlc not installed")
        << "vlc" << none << none << true << none << true
        << "VLC isn't installed. Install it or switch to System default." << 0 << 0 << 0;
    QTest::newRow("mpv not installed")
        << "mpv" << "vlc" << none << true << none << true
        << "mpv isn't installed. Install it or switch to System default." << 0 << 0 << 0;
    QTest::newRow("iina never installed here")
        << "iina" << "iina" << none << true << none << true
        << "IINA isn't installed. Install it or switch to System default." << 0 << 0 << 0;
    QTest::newRow("vlc refuses") << "vlc" << "vlc" << none << true << "VLC could not start." << true
                                 << "VLC could not start." << 1 << 0 << 0;
    QTest::newRow("vlc takes it") << "vlc" << "vlc" << none << true << none << true << none << 1
                                  << 0 << 1;
    QTest::newRow("mpv takes it, history off")
        << "mpv" << "mpv" << none << true << none << false << none << 1 << 0 << 0;
    QTest::newRow("system default is Lumivane")
        << "system" << none << "lumivane.desktop" << true << none << true
        << "This file type opens with Lumivane by default. Choose VLC or mpv in Settings." << 0
        << 0 << 0;
    QTest::newRow("system refuses") << "system" << none << "vlc.desktop" << false << none << true
                                    << "The system couldn't open this." << 0 << 1 << 0;
    QTest::newRow("system takes it")
        << "system" << none << "vlc.desktop" << true << none << true << none << 0 << 1 << 1;
    QTest::newRow("unknown stored value means system")
        << "quicktime" << none << none << true << none << true << none << 0 << 1 << 1;
}

void TestAppModelOpen::openExternal()
{
    QFETCH(QString, player);
    QFETCH(QString, installed);
    QFETCH(QString, handler);
    QFETCH(bool, desktopAccepts);
    QFETCH(QString, launchError);
    QFETCH(bool, saveHistory);
    QFETCH(QString, message);
    QFETCH(int, launches);
    QFETCH(int, desktopOpens);
    QFETCH(int, historyEntries);
    ModelHarness harness;
    AppModel &model = harness.model();
    FakeWorkspace &workspace = harness.workspace();
    harness.preferences().setExternalPlayer(player);
    harness.preferences().setSaveHistory(saveHistory);
    if (!installed.isEmpty())
        workspace.installPlayer(installed);
    if (!handler.isEmpty())
        workspace.setDefaultHandler(u"https"_qs, handler);
    workspace.setOpenAccepted(desktopAccepts);
    workspace.setLaunchError(launchError);
    int completions = 0;
    const MediaSource source(QUrl(ModelHarness::clipURL(1)), MediaKind::mediaURL, u"clip1.mp4"_qs,
                             u"media.example"_qs);

    model.openExternal(source, false, [&completions] { ++completions; });

    QCOMPARE(workspace.launches().size(), launches);
    if (launches > 0) {
        QCOMPARE(workspace.launches().first().executable, u"/usr/bin/"_qs + player);
        QCOMPARE(workspace.launches().first().url, source.url());
    }
    QCOMPARE(workspace.openedUrls().size(), desktopOpens);
    QCOMPARE(model.inputError().has_value(), !message.isEmpty());
    QCOMPARE(completions, message.isEmpty() ? 1 : 0);
    if (!message.isEmpty()) {
        QCOMPARE(model.inputError()->kind(), AppError::Kind::external);
        QCOMPARE(model.inputError()->message(), message);
        QCOMPARE(model.inputError()->recovery(),
                 std::optional(u"Switch to the system default in Settings, or install VLC / mpv."_qs));
    }
    QCOMPARE(model.history().size(), historyEntries);
    QCOMPARE(model.sessions().size(), 0);
}

void TestAppModelOpen::requestExternalClosesTheWindowOnlyAfterTheHandOff_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("player installed") << true;
    QTest::newRow("player missing") << false;
}

void TestAppModelOpen::requestExternalClosesTheWindowOnlyAfterTheHandOff()
{
    QFETCH(bool, installed);
    ModelHarness harness;
    AppModel &model = harness.model();
    harness.preferences().setExternalPlayer(u"vlc"_qs);
    if (installed)
        harness.workspace().installPlayer(u"vlc"_qs);
    PlaybackSession *session = harness.openClip(1);

    session->requestExternal();

    QCOMPARE(model.sessions().size(), installed ? 0 : 1);
    QCOMPARE(model.inputError().has_value(), !installed);
}

void TestAppModelOpen::openInBrowser_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<MediaKind>("kind");
    QTest::addColumn<bool>("opens");
    QTest::newRow("web page") << "https://www.example.org/a" << MediaKind::web << true;
    QTest::newRow("media link, upper-case scheme") << "HTTP://media.example/a.mp4"
                                                   << MediaKind::mediaURL << true;
    QTest::newRow("local file") << "file:///tmp/a.mp4" << MediaKind::localFile << false;
    QTest::newRow("stream of another scheme") << "rtmp://live.example/a" << MediaKind::mediaURL
                                              << false;
}

void TestAppModelOpen::openInBrowser()
{
    QFETCH(QString, url);
    QFETCH(MediaKind, kind);
    QFETCH(bool, opens);
    ModelHarness harness;

    harness.model().openInBrowser(MediaSource(QUrl(url), kind, u"a"_qs, QString()));

    QCOMPARE(harness.workspace().openedUrls().size(), opens ? 1 : 0);
    QVERIFY(!harness.model().inputError());
}

QTEST_MAIN(TestAppModelOpen)
#include "tst_appmodelopen.moc"

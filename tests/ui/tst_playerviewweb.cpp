#include "ui/MoreOptionsMenu.h"
#include "ui/PlayerView.h"
#include "ui/ScrubberBar.h"
#include "ui/VolumePopover.h"

#include "PressCounter.h"
#include "SessionHarness.h"
#include "ToolButtons.h"
#include "settings/Preferences.h"
#include "playback/PlaybackSession.h"
#include "playback/WebEnhancer.h"
#include "platform/DebugLog.h"
#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <memory>

namespace {
// Receives the URLs handed to the desktop, so tests never open a real browser.
class UrlSink final : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

// What the page's media element reports to the session's poll.
struct Media {
    bool present = true;
    double time = 30;
    double duration = 100;
    bool paused = false;
    bool seekable = true;

    QVariant answer() const
    {
        if (!present)
            return QString();
        const QJsonObject record{{u"t"_qs, time}, {u"d"_qs, duration}, {u"p"_qs, paused},
                                 {u"en"_qs, false}, {u"rs"_qs, 4}, {u"se"_qs, seekable},
                                 {u"ad"_qs, false}, {u"vw"_qs, 1280}, {u"vh"_qs, 720}};
        return QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact));
    }
};

// The session's poll of the page's media.
bool isPoll(const QString &script)
{
    return script == WebEnhancer::mediaStateScript();
}

using WebEnhancer::MediaControl;
using WebEnhancer::mediaControlScript;

MediaSource bilibiliSource()
{
    return MediaSource(QUrl(u"https://www.bilibili.com/video/BV1xx411c7mD"_qs), MediaKind::web,
                       u"Bili"_qs, QString());
}

// One player window over the session harness, built the way the application builds it.
struct Window {
    explicit Window(const MediaSource &source)
    {
        PlaybackSession::Timing timing;
        timing.webPoll = std::chrono::milliseconds(5);
        timing.webPollNearAd = std::chrono::milliseconds(5);
        // No late title or thumbnail scripts in between the controls' ones.
        timing.webFollowUpFirst = std::chrono::hours(1);
        session = harness.open(source, std::nullopt, timing);
        controller = std::make_unique<PlayerWindowController>(
            *session, harness.quickStore(), harness.preferences(), placement,
            [this](PlayerWindowController &owner) {
                view = new PlayerView(*session, owner, harness.preferences());
                return view;
            });
        controller->setOnClose([this] { ++closed; });
        if (FakeWebPage *page = harness.webPage()) {
            page->scriptAnswer = [this](const QString &script) {
                return isPoll(script) ? media.answer() : QVariant();
            };
        }
    }

    ~Window()
    {
        controller.reset();
        session->stop();
    }

    FakeWebPage &page() const { return *harness.webPage(); }

    // Loaded and polled at least once with the current media.
    void makeReady()
    {
        if (session->source().kind() != MediaKind::web) {
            FakeNativePlayer &player = *harness.player();
            player.emitStatus(player.currentItem(), NativePlayer::Status::readyToPlay);
            player.emitDuration(player.currentItem(), media.duration);
            player.emitTick(player.currentItem(), media.time);
            return;
        }
        page().startLoad();
        page().finishLoad();
        settle();
    }

    // Lets the polls catch up with the media: a poll starts only after the previous one's
    // answer was taken in.
    void settle() const
    {
        const auto polls = [this] { return std::ranges::count_if(harness.webPage()->scripts(), isPoll); };
        const qsizetype before = polls();
        QTRY_VERIFY(polls() >= before + 2);
    }

    QToolButton *button(const QString &toolTip) const
    {
        return ToolButtons::withToolTip(*view, toolTip);
    }

    // Scripts the page ran since `from`, the session's polls (and the mark each successful
    // one sets on the page) left out.
    QStringList controlScripts(qsizetype from) const
    {
        QStringList scripts = harness.webPage()->scripts().mid(from);
        scripts.removeIf([](const QString &script) {
            return isPoll(script) || script.contains(u"kt-webctl");
        });
        return scripts;
    }

    SessionHarness harness;
    WindowPlacement placement;
    Media media;
    std::unique_ptr<PlaybackSession> session;
    std::unique_ptr<PlayerWindowController> controller;
    PlayerView *view = nullptr;
    int closed = 0;
};

QAction *actionNamed(const QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QPoint trackPoint(const ScrubberBar &bar, double fraction)
{
    const double inset = 6;
    return {static_cast<int>(std::lround(inset + fraction * (bar.width() - 2 * inset))),
            bar.height() / 2};
}
} // namespace

class TestPlayerViewWeb : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(u"config"_qs).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_qs).toUtf8());
    }

    void init() { L10n::setLanguage(AppLanguage::en); }

    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // The page's view fills the window under every control; a retry swaps in the new
    // page's view and only lets go of the old one, which its page deletes.
    void pageIsThePicture()
    {
        Window window(SessionHarness::webSource());
        QWidget *first = window.page().view();
        QCOMPARE(window.view->webView(), first);
        QCOMPARE(first->parentWidget(), window.view);
        QCOMPARE(window.view->focusProxy(), first);
        QCOMPARE(window.controller->window()->focusProxy(), window.view);
        QVERIFY(window.view->videoWidget() == nullptr);
        window.controller->present();
        QTRY_COMPARE(first->geometry(), window.view->rect());
        QVERIFY(first->isVisible());
        const QObjectList stack = window.view->children();
        QVERIFY(stack.indexOf(first) < stack.indexOf(window.view->findChild<QWidget *>(u"topBar"_qs)));
        QVERIFY(stack.indexOf(first) < stack.indexOf(window.view->findChild<QWidget *>(u"bottomBar"_qs)));

        const QPointer<QWidget> old(first);
        window.session->retry();
        QCOMPARE(window.harness.webPagesMade(), 2);
        QWidget *second = window.page().view();
        QCOMPARE(window.view->webView(), second);
        QCOMPARE(second->parentWidget(), window.view);
        QCOMPARE(second->geometry(), window.view->rect());
        QVERIFY(second->isVisible());
        QCOMPARE(window.view->focusProxy(), second);
        QVERIFY(!old.isNull());
        QVERIFY(old->parentWidget() == nullptr);
        QVERIFY(!window.view->children().contains(old.data()));
        QTRY_VERIFY(old.isNull());

        window.session->stop();
        QVERIFY(window.view->webView() == nullptr);
        QVERIFY(window.view->focusProxy() == nullptr);
    }

    // A window closed before its session stops must leave the page's view to the page.
    void closingTheWindowLeavesTheViewToItsPage()
    {
        Window window(SessionHarness::webSource());
        const QPointer<QWidget> pageView(window.page().view());
        const QPointer<PlayerView> view(window.view);
        window.controller.reset();
        QTRY_VERIFY(view.isNull());
        QVERIFY(!pageView.isNull());
        QVERIFY(pageView->parentWidget() == nullptr);
        window.session->stop();
        QTRY_VERIFY(pageView.isNull());
    }

    void controlsByKind_data()
    {
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<QString>("control");
        // Web: the one script the control runs on the page.
        QTest::addColumn<QString>("script");
        // The position or volume the control leaves; negative when it leaves none.
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("volume");
        for (MediaKind kind : {MediaKind::web, MediaKind::localFile}) {
            const QByteArray name = toRaw(kind).toLatin1();
            QTest::addRow("%s play", name.constData())
                << kind << u"play"_qs << mediaControlScript(MediaControl::togglePlay) << -1.0 << -1.0;
            QTest::addRow("%s back", name.constData())
                << kind << u"Back 10s"_qs << mediaControlScript(MediaControl::seek, 20.0) << 20.0 << -1.0;
            QTest::addRow("%s forward", name.constData())
                << kind << u"Forward 10s"_qs << mediaControlScript(MediaControl::seek, 40.0) << 40.0 << -1.0;
            QTest::addRow("%s volume", name.constData())
                << kind << u"volume"_qs << mediaControlScript(MediaControl::volume, 0.4) << -1.0 << 0.4;
            QTest::addRow("%s mute", name.constData())
                << kind << u"mute"_qs << mediaControlScript(MediaControl::volume, 0.0) << -1.0 << 0.0;
        }
    }

    // Web sources drive the page by script and never a native player; native sources keep
    // driving their player.
    void controlsByKind()
    {
        QFETCH(MediaKind, kind);
        QFETCH(QString, control);
        QFETCH(QString, script);
        QFETCH(double, position);
        QFETCH(double, volume);
        Window window(kind == MediaKind::web ? SessionHarness::webSource()
                                             : SessionHarness::localSource(m_dir.filePath(u"a.mp4"_qs)));
        window.session->setVolume(0.85);
        window.makeReady();
        QCOMPARE(window.session->elapsed(), 30.0);
        FakeNativePlayer *player = window.harness.player();
        const qsizetype scriptsBefore = kind == MediaKind::web ? window.page().scripts().size() : 0;
        const int pausesBefore = player != nullptr ? player->pauseCount() : 0;
        const qsizetype seeksBefore = player != nullptr ? player->seeks().size() : 0;

        if (control == u"play") {
            window.button(u"Play / pause"_qs)->click();
        } else if (control == u"volume") {
            window.button(u"Volume"_qs)->click();
            window.view->volumePopover()->slider()->setValue(40);
        } else if (control == u"mute") {
            window.button(u"Volume"_qs)->click();
            window.view->volumePopover()->muteButton()->click();
        } else {
            window.button(control)->click();
        }

        if (position >= 0)
            QCOMPARE(window.session->elapsed(), position);
        if (volume >= 0)
            QCOMPARE(window.session->volume(), volume);
        if (kind == MediaKind::web) {
            QCOMPARE(window.harness.playersMade(), 0);
            QCOMPARE(window.controlScripts(scriptsBefore), QStringList{script});
            return;
        }
        QVERIFY(window.harness.webPage() == nullptr);
        QVERIFY(player != nullptr);
        if (control == u"play")
            QCOMPARE(player->pauseCount(), pausesBefore + 1);
        if (position >= 0) {
            QCOMPARE(player->seeks().size(), seeksBefore + 1);
            QCOMPARE(player->seeks().last().seconds, position);
        }
        if (volume >= 0)
            QCOMPARE(player->volume(), volume);
    }

    void backNearTheStartStopsAtZero()
    {
        Window window(SessionHarness::webSource());
        window.media.time = 4;
        window.makeReady();
        const qsizetype before = window.page().scripts().size();
        window.button(u"Back 10s"_qs)->click();
        QCOMPARE(window.session->elapsed(), 0.0);
        QCOMPARE(window.controlScripts(before), QStringList{mediaControlScript(MediaControl::seek, 0.0)});
    }

    // Polls keep coming during the drag; the position stays where the user holds it and
    // the page is sought once, at the release.
    void scrubbingAWebSource()
    {
        Window window(SessionHarness::webSource());
        window.makeReady();
        ScrubberBar *scrubber = window.view->scrubber();
        scrubber->resize(212, 18);
        QVERIFY(!window.session->scrubbingWeb());
        const qsizetype before = window.page().scripts().size();
        QTest::mousePress(scrubber, Qt::LeftButton, {}, trackPoint(*scrubber, 0.4));
        QVERIFY(window.session->scrubbingWeb());
        QTest::mouseMove(scrubber, trackPoint(*scrubber, 0.6));
        window.media.time = 31;
        window.settle();
        QVERIFY(window.session->scrubbingWeb());
        QCOMPARE(scrubber->value(), 60.0);
        QVERIFY(window.controlScripts(before).isEmpty());

        QTest::mouseRelease(scrubber, Qt::LeftButton, {}, trackPoint(*scrubber, 0.6));
        QVERIFY(!window.session->scrubbingWeb());
        QCOMPARE(window.controlScripts(before), QStringList{mediaControlScript(MediaControl::seek, 60.0)});
        QCOMPARE(window.session->elapsed(), 60.0);
    }

    // The media element goes away mid-drag: the drag ends without a seek, and the page's
    // progress is no longer held back.
    void scrubbingEndsWhenTheMediaGoes()
    {
        Window window(SessionHarness::webSource());
        window.makeReady();
        ScrubberBar *scrubber = window.view->scrubber();
        scrubber->resize(212, 18);
        const qsizetype before = window.page().scripts().size();
        QTest::mousePress(scrubber, Qt::LeftButton, {}, trackPoint(*scrubber, 0.4));
        QVERIFY(window.session->scrubbingWeb());
        window.media.present = false;
        QTRY_VERIFY(!window.session->webVideoAvailable());
        QVERIFY(!scrubber->isEnabled());
        QVERIFY(!scrubber->scrubbing());
        QVERIFY(!window.session->scrubbingWeb());
        QTest::mouseRelease(scrubber, Qt::LeftButton, {}, trackPoint(*scrubber, 0.6));
        QVERIFY(window.controlScripts(before).isEmpty());
    }

    void transportState_data()
    {
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("seekable");
        QTest::addColumn<bool>("canPlay");
        QTest::addColumn<bool>("canSeek");
        QTest::newRow("web, seekable media") << MediaKind::web << true << true << true << true;
        QTest::newRow("web, live media") << MediaKind::web << true << false << true << false;
        QTest::newRow("web, no media") << MediaKind::web << false << true << false << false;
        QTest::newRow("native") << MediaKind::localFile << true << false << true << true;
    }

    // Volume, speed and loop stay usable: they are remembered for the next media.
    void transportState()
    {
        QFETCH(MediaKind, kind);
        QFETCH(bool, present);
        QFETCH(bool, seekable);
        QFETCH(bool, canPlay);
        QFETCH(bool, canSeek);
        Window window(kind == MediaKind::web ? SessionHarness::webSource()
                                             : SessionHarness::localSource(m_dir.filePath(u"a.mp4"_qs)));
        window.media.present = present;
        window.media.seekable = seekable;
        window.makeReady();
        QCOMPARE(window.button(u"Play / pause"_qs)->isEnabled(), canPlay);
        QCOMPARE(window.button(u"Back 10s"_qs)->isEnabled(), canSeek);
        QCOMPARE(window.button(u"Forward 10s"_qs)->isEnabled(), canSeek);
        QCOMPARE(window.view->scrubber()->isEnabled(), canSeek);
        for (const QString &always : {u"Volume"_qs, u"Playback speed"_qs, u"Loop"_qs})
            QVERIFY2(window.button(always)->isEnabled(), qPrintable(always));
        if (kind != MediaKind::web)
            return;
        // And back when the page gets its media.
        window.media.present = true;
        window.media.seekable = true;
        window.settle();
        QVERIFY(window.button(u"Play / pause"_qs)->isEnabled());
        QVERIFY(window.view->scrubber()->isEnabled());
    }

    // White symbols on the dark bars: the style's own disabled look would not show.
    void disabledControlsLookDisabled()
    {
        Window window(SessionHarness::webSource());
        window.media.present = false;
        window.makeReady();
        QToolButton *play = window.button(u"Play / pause"_qs);
        QVERIFY(!play->isEnabled());
        const auto brightest = [play](QIcon::Mode mode) {
            const QImage image = play->icon().pixmap(play->iconSize(), mode).toImage();
            int alpha = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x)
                    alpha = std::max(alpha, image.pixelColor(x, y).alpha());
            }
            return alpha;
        };
        QVERIFY(brightest(QIcon::Normal) > 200);
        QVERIFY(brightest(QIcon::Disabled) < 120);
    }

    // Through the session's setters, which remember them and hand them to the page.
    void speedAndLoopGoThroughTheSession()
    {
        Window window(SessionHarness::webSource());
        window.makeReady();
        const qsizetype before = window.page().scripts().size();
        actionNamed(*window.view->speedMenu(), u"1.5×"_qs)->trigger();
        window.button(u"Loop"_qs)->click();
        QCOMPARE(window.session->speed(), 1.5);
        QVERIFY(window.session->loop());
        QCOMPARE(window.controlScripts(before), (QStringList{mediaControlScript(MediaControl::speed, 1.5),
                                                             mediaControlScript(MediaControl::loop, true)}));
    }

    void moreMenuBySource_data()
    {
        QTest::addColumn<MediaSource>("source");
        QTest::addColumn<bool>("webItems");
        QTest::addColumn<bool>("danmaku");
        QTest::newRow("web page") << SessionHarness::webSource() << true << false;
        QTest::newRow("bilibili page") << bilibiliSource() << true << true;
        QTest::newRow("bilibili media link")
            << MediaSource(QUrl(u"https://upos.bilibili.com/v.mp4"_qs), MediaKind::mediaURL,
                           u"Clip"_qs, QString())
            << false << false;
        QTest::newRow("local file") << SessionHarness::localSource(u"/tmp/bilibili.mp4"_qs) << false
                                    << false;
    }

    void moreMenuBySource()
    {
        QFETCH(MediaSource, source);
        QFETCH(bool, webItems);
        QFETCH(bool, danmaku);
        Window window(source);
        MoreOptionsMenu *menu = window.view->moreMenu();
        menu->rebuild();
        for (const QString &item : {u"Back"_qs, u"Forward"_qs, u"Reload"_qs, u"Open in browser"_qs})
            QCOMPARE(actionNamed(*menu, item) != nullptr, webItems);
        QCOMPARE(actionNamed(*menu, u"Hide danmaku"_qs) != nullptr, danmaku);
        QVERIFY(actionNamed(*menu, u"Open in Safari"_qs) == nullptr);
    }

    void moreMenuHistory_data()
    {
        QTest::addColumn<bool>("canGoBack");
        QTest::addColumn<bool>("canGoForward");
        QTest::newRow("neither") << false << false;
        QTest::newRow("back") << true << false;
        QTest::newRow("forward") << false << true;
        QTest::newRow("both") << true << true;
    }

    void moreMenuHistory()
    {
        QFETCH(bool, canGoBack);
        QFETCH(bool, canGoForward);
        Window window(SessionHarness::webSource());
        window.page().setHistory(canGoBack, canGoForward);
        window.makeReady();
        MoreOptionsMenu *menu = window.view->moreMenu();
        menu->rebuild();
        QAction *back = actionNamed(*menu, u"Back"_qs);
        QAction *forward = actionNamed(*menu, u"Forward"_qs);
        QCOMPARE(back->isEnabled(), canGoBack);
        QCOMPARE(forward->isEnabled(), canGoForward);
        back->trigger();
        forward->trigger();
        QCOMPARE(window.page().backs(), canGoBack ? 1 : 0);
        QCOMPARE(window.page().forwards(), canGoForward ? 1 : 0);
    }

    // Reload reloads the page; with the page gone only a fresh start brings one back.
    void moreMenuReload()
    {
        Window window(SessionHarness::webSource());
        window.makeReady();
        MoreOptionsMenu *menu = window.view->moreMenu();
        menu->rebuild();
        actionNamed(*menu, u"Reload"_qs)->trigger();
        QCOMPARE(window.page().reloads(), 1);
        QCOMPARE(window.harness.webPagesMade(), 1);

        window.session->stop();
        menu->rebuild();
        actionNamed(*menu, u"Reload"_qs)->trigger();
        QCOMPARE(window.harness.webPagesMade(), 2);
        QCOMPARE(window.page().reloads(), 0);
        QCOMPARE(window.page().loads().size(), 1);
        QCOMPARE(window.view->webView(), window.page().view());
    }

    void moreMenuOpenInBrowser()
    {
        Window window(SessionHarness::webSource());
        UrlSink sink;
        QDesktopServices::setUrlHandler(u"https"_qs, &sink, "open");
        window.view->moreMenu()->rebuild();
        actionNamed(*window.view->moreMenu(), u"Open in browser"_qs)->trigger();
        QDesktopServices::unsetUrlHandler(u"https"_qs);
        QCOMPARE(sink.urls, QList<QUrl>{SessionHarness::webSource().url()});
    }

    void hideDanmaku_data()
    {
        QTest::addColumn<bool>("hiddenBefore");
        QTest::newRow("hide") << false;
        QTest::newRow("show") << true;
    }

    void hideDanmaku()
    {
        QFETCH(bool, hiddenBefore);
        Window window(bilibiliSource());
        window.session->setBilibiliDanmakuHidden(hiddenBefore);
        window.makeReady();
        MoreOptionsMenu *menu = window.view->moreMenu();
        menu->rebuild();
        QAction *toggle = actionNamed(*menu, u"Hide danmaku"_qs);
        QVERIFY(toggle->isCheckable());
        QCOMPARE(toggle->isChecked(), hiddenBefore);
        const qsizetype before = window.page().scripts().size();
        toggle->trigger();
        QCOMPARE(window.session->bilibiliDanmakuHidden(), !hiddenBefore);
        QCOMPARE(window.controlScripts(before),
                 QStringList{mediaControlScript(MediaControl::danmaku, !hiddenBefore)});
    }

    void webTextsInEveryLanguage_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("zh") << AppLanguage::zh
                            << QStringList{u"隐藏弹幕"_qs, u"后退"_qs, u"前进"_qs, u"重新加载"_qs,
                                           u"在浏览器中打开"_qs};
        QTest::newRow("es") << AppLanguage::es
                            << QStringList{u"Ocultar danmaku"_qs, u"Atrás"_qs, u"Adelante"_qs,
                                           u"Recargar"_qs, u"Abrir en navegador"_qs};
    }

    void webTextsInEveryLanguage()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QStringList, texts);
        Window window(bilibiliSource());
        // After the window: its preferences publish their own language.
        L10n::setLanguage(language);
        window.view->moreMenu()->rebuild();
        for (const QString &text : texts)
            QVERIFY2(actionNamed(*window.view->moreMenu(), text) != nullptr, qPrintable(text));
    }

    // Typed keys reach the page's surface, which the window's focus leads to; Escape is
    // taken for the window's exit command: an open panel first, then the window.
    void keysOnThePage()
    {
        Window window(SessionHarness::webSource());
        window.makeReady();
        // Stands in for the surface the engine puts into its view.
        auto *surface = new QLineEdit(window.view->webView());
        window.view->webView()->setFocusProxy(surface);
        window.controller->present();
        QVERIFY(QTest::qWaitForWindowActive(window.controller->window()));
        window.controller->window()->setFocus();
        QCOMPARE(QApplication::focusWidget(), surface);

        QTest::keyClicks(surface, u"ab"_qs);
        QCOMPARE(surface->text(), u"ab"_qs);
        window.button(u"Volume"_qs)->click();
        QTest::keyClick(surface, Qt::Key_Escape);
        QVERIFY(!window.view->volumePopover()->isVisibleTo(window.view));
        QCOMPARE(window.closed, 0);
        QTest::keyClick(surface, Qt::Key_Escape);
        QCOMPARE(window.closed, 1);
        QCOMPARE(surface->text(), u"ab"_qs);
    }

    // Presses on the page, also on surfaces the engine adds later, are logged and close
    // an open panel; the page still gets them.
    void pressOnThePage()
    {
        const QString log = m_dir.filePath(u"grab.log"_qs);
        qputenv("LUMIVANE_DEBUG", "1");
        DebugLog::setFileForTesting(log);
        Window window(SessionHarness::webSource());
        window.view->resize(640, 360);
        window.makeReady();
        auto *surface = new QWidget(window.view->webView());
        surface->resize(320, 180);
        PressCounter counter;
        surface->installEventFilter(&counter);
        window.button(u"Volume"_qs)->click();
        QVERIFY(window.view->volumePopover()->isVisibleTo(window.view));

        QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(100, 50));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(100, 50));
        QTest::mousePress(window.view->webView(), Qt::LeftButton, {}, QPoint(600, 300));
        DebugLog::setFileForTesting(QString());
        qunsetenv("LUMIVANE_DEBUG");

        QCOMPARE(counter.presses, 1);
        QVERIFY(!window.view->volumePopover()->isVisibleTo(window.view));
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QCOMPARE(text.count("webView.mouseDown\n"), 2);
    }
};

QTEST_MAIN(TestPlayerViewWeb)
#include "tst_playerviewweb.moc"

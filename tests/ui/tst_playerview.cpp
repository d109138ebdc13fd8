#include "ui/MoreOptionsMenu.h"
#include "ui/OpacityPopover.h"
#include "ui/PlayerView.h"
#include "ui/ScrubberBar.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"

#include "WindowHarness.h"

#include "playback/WebEnhancer.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonDocument>
#include <QLabel>
#include <QJsonObject>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using Status = NativePlayer::Status;
using Check = std::function<bool(WindowHarness &)>;

namespace {
// What the page's media element tells the session's poll.
struct Media {
    bool present = true;
    bool seekable = true;
    double time = 30;

    QVariant answer() const
    {
        const QJsonObject record{{u"t"_qs, time}, {u"d"_qs, 100}, {u"p"_qs, false}, {u"en"_qs, false},
                                 {u"rs"_qs, 4}, {u"se"_qs, seekable}, {u"ad"_qs, false}};
        return present ? QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact)) : QString();
    }
};

const MediaSource page = WindowHarness::clip(u"https://www.bilibili.com/video/BV1xx411c7mD"_qs, MediaKind::web);
const MediaSource clip = WindowHarness::clip();
// A native source whose rows each get a window of their own.
const MediaSource alone = WindowHarness::clip(u"file:///tmp/alone.mp4"_qs);

// A window whose media is ready at 30 s of 100: a native player, or a page polled every
// few milliseconds whose media answers as `media` says.
std::unique_ptr<WindowHarness> ready(const MediaSource &source, const Media *media = nullptr)
{
    static const Media playing;
    WindowHarness::Options options;
    options.source = source;
    options.view = true;
    options.sessionTiming.webPoll = options.sessionTiming.webPollNearAd = std::chrono::milliseconds(5);
    options.sessionTiming.webFollowUpFirst = std::chrono::hours(1);
    auto window = std::make_unique<WindowHarness>(options);
    window->view()->setAutoHideDelays(20, 40);
    if (FakeNativePlayer *player = window->player()) {
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        player->emitDuration(player->currentItem(), 100);
        player->emitTick(player->currentItem(), 30);
        return window;
    }
    const Media *answers = media ? media : &playing;
    window->page()->scriptAnswer = [answers](const QString &script) {
        return script == WebEnhancer::mediaStateScript() ? answers->answer() : QVariant();
    };
    window->page()->startLoad();
    window->page()->finishLoad();
    if (!QTest::qWaitFor([&window] { return window->page()->scriptCount(WebEnhancer::mediaStateScript()) >= 2; }, 5000))
        return nullptr;
    return window;
}

QAction *action(QMenu &menu, const QString &text)
{
    if (auto *more = qobject_cast<MoreOptionsMenu *>(&menu))
        more->rebuild();
    for (QAction *candidate : menu.actions()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}
} // namespace

// The overlay's wiring to its session and window, for native and web sources alike.
class TestPlayerView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // Each control does its one thing to the session or the window. Rows of the same source
    // share its window, in order.
    void controls()
    {
        struct Row { const char *name; MediaSource source; std::function<void(WindowHarness &)> use; Check done; };
        const auto click = [](const QString &toolTip) { return [toolTip](WindowHarness &w) { w.button(toolTip)->click(); }; };
        const QList<Row> rows{
            {"play pauses the player", clip, click(u"Play / pause"_qs), [](auto &w) { return w.player()->rate() == 0; }},
            {"back seeks the player", clip, click(u"Back 10s"_qs), [](auto &w) { return w.player()->seeks().last().seconds == 20; }},
            {"forward seeks the page", page, click(u"Forward 10s"_qs),
             [](auto &w) { return w.session().elapsed() == 40 && w.playersMade() == 0; }},
            {"mute", clip, [](auto &w) { w.button(u"Volume"_qs)->click(), w.view()->volumePopover()->muteButton()->click(); },
             [](auto &w) { return w.player()->volume() == 0 && w.settings().value(u"default.volume"_qs) == 0.0; }},
            {"speed", page, [](auto &w) { action(*w.view()->speedMenu(), u"1.25×"_qs)->trigger(); },
             [](auto &w) { return w.session().speed() == 1.25 && action(*w.view()->speedMenu(), u"1.25×"_qs)->isChecked(); }},
            {"loop", page, click(u"Loop"_qs), [](auto &w) { return w.session().loop(); }},
            {"pin", clip, click(u"Pin on top"_qs), [](auto &w) { return w.session().isPinned() && w.button(u"Unpin"_qs); }},
            {"opacity preset", clip, [](auto &w) { w.button(u"Window opacity"_qs)->click(), w.view()->opacityPopover()->presetButtons().at(5)->click(); },
             [](auto &w) { return w.session().opacity() == 0.5; }},
            {"drag mode with its toast", clip, click(u"Drag mode (drag anywhere, clicks stay on the window)"_qs),
             [](auto &w) { return w.session().grabMode() && w.view()->toastLabel()->text().startsWith(u"Drag mode: hold anywhere"_qs); }},
            {"fullscreen", alone, click(u"Fullscreen"_qs), [](auto &w) { return w.session().isCinema() && w.button(u"Exit fullscreen"_qs); }},
            {"hide", alone, click(u"Hide (recover with Restore All Windows)"_qs), [](auto &w) { return w.session().isHidden() && w.closed() == 0; }},
            {"close", alone, click(u"Close window"_qs), [](auto &w) { return w.closed() == 1; }},
            {"retry after a failure", alone,
             [](auto &w) { w.player()->emitStatus(w.player()->currentItem(), Status::failed), w.view()->statusPanel()->button(u"retryButton"_qs)->click(); },
             [](auto &w) { return w.playersMade() == 2 && w.view()->videoWidget()->parentWidget() == w.view(); }},
            {"copy link after a failure", WindowHarness::clip(u"https://media.example.org/a%20b.mp4"_qs, MediaKind::mediaURL),
             [](auto &w) { w.player()->emitStatus(w.player()->currentItem(), Status::failed), w.view()->statusPanel()->button(u"copyLinkButton"_qs)->click(); },
             [](auto &) { return QApplication::clipboard()->text() == u"https://media.example.org/a%20b.mp4"_qs; }},
            {"menu: lock aspect", clip, [](auto &w) { action(*w.view()->moreMenu(), u"Lock aspect ratio"_qs)->trigger(); },
             [](auto &w) { return w.session().lockAspect(); }},
            {"menu: always show controls", clip, [](auto &w) { action(*w.view()->moreMenu(), u"Always show controls"_qs)->trigger(); },
             [](auto &w) { return w.session().controlsPinned() && action(*w.view()->moreMenu(), u"Always show controls"_qs)->isChecked(); }},
            // Hidden by default.
            {"menu: danmaku", page, [](auto &w) { action(*w.view()->moreMenu(), u"Hide danmaku"_qs)->trigger(); },
             [](auto &w) { return !w.session().bilibiliDanmakuHidden(); }},
            {"menu: page back", page, [](auto &w) { w.page()->setHistory(true, false), w.page()->finishLoad(), action(*w.view()->moreMenu(), u"Back"_qs)->trigger(); },
             [](auto &w) { return w.page()->backs() == 1 && !action(*w.view()->moreMenu(), u"Forward"_qs)->isEnabled(); }},
        };
        const auto shared = ready(clip), sharedPage = ready(page);
        for (const Row &row : rows) {
            const bool own = row.source.url() != clip.url() && row.source.url() != page.url();
            const auto window = own ? ready(row.source) : nullptr;
            WindowHarness &used = own ? *window : row.source.url() == clip.url() ? *shared : *sharedPage;
            row.use(used);
            QVERIFY2(row.done(used), row.name);
        }
    }

    // Escape closes an open panel first, then leaves cinema, then ends click-through, and
    // otherwise closes the window.
    void escape()
    {
        auto window = ready(clip);
        window->button(u"Volume"_qs)->click();
        window->controller().enterCinema();
        window->session().setClickThrough(true);
        const QList<Check> steps{
            [](auto &w) { return !w.view()->volumePopover()->isVisibleTo(w.view()) && w.session().isCinema(); },
            [](auto &w) { return !w.session().isCinema() && w.session().clickThrough(); },
            [](auto &w) { return !w.session().clickThrough() && w.closed() == 0; },
            [](auto &w) { return w.closed() == 1; }};
        for (const Check &step : steps) {
            QTest::keyClick(window->view(), Qt::Key_Escape);
            QVERIFY(step(*window));
        }
    }

    // Click-through asks first, naming the bound restore shortcut.
    void clickThroughConfirmation()
    {
        for (const bool accept : {true, false}) {
            auto window = ready(clip);
            window->button(u"Click-through"_qs)->click();
            auto *dialog = window->view()->findChild<QMessageBox *>(u"clickThroughConfirmation"_qs);
            QVERIFY(dialog && dialog->text().contains(u"or press Ctrl+Alt+F,"_qs));
            QVERIFY(!window->session().clickThrough());
            dialog->findChild<QPushButton *>(accept ? u"enableButton"_qs : u"cancelButton"_qs)->click();
            QCOMPARE(window->session().clickThrough(), accept);
        }
    }

    // Controls hide once playing with the pointer away; hovering or pinning keeps them.
    void controlsAutoHide()
    {
        auto window = ready(clip);
        QVERIFY(window->present());
        QTRY_VERIFY_WITH_TIMEOUT(!window->view()->controlsVisible(), 2000);
        QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
        QApplication::sendEvent(window->view(), &enter);
        QVERIFY(window->view()->controlsVisible());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(window->view(), &leave);
        QTRY_VERIFY_WITH_TIMEOUT(!window->view()->controlsVisible(), 2000);
        window->session().setControlsPinned(true);
        QVERIFY(window->view()->controlsVisible());
    }

    // Which controls work follows the media: none without it, no seeking on a live one.
    void transportFollowsTheMedia()
    {
        struct Row { const char *name; Media media; bool canPlay; bool canSeek; };
        const QList<Row> rows{{"seekable", {}, true, true}, {"live", {.seekable = false}, true, false},
                              {"no media", {.present = false}, false, false}};
        for (const Row &row : rows) {
            auto window = ready(page, &row.media);
            QVERIFY(window);
            QVERIFY2(window->button(u"Play / pause"_qs)->isEnabled() == row.canPlay, row.name);
            QCOMPARE(window->button(u"Forward 10s"_qs)->isEnabled(), row.canSeek);
            QCOMPARE(window->view()->scrubber()->isEnabled(), row.canSeek);
            QVERIFY(window->button(u"Volume"_qs)->isEnabled());
        }
    }

    // The position stays where the user holds it while polls go on; the seek comes once,
    // at the release.
    void scrubbing()
    {
        for (const MediaSource &source : {clip, page}) {
            auto window = ready(source);
            ScrubberBar *scrubber = window->view()->scrubber();
            scrubber->resize(212, 18);
            const auto at = [scrubber](double f) { return QPoint(int(6 + f * (scrubber->width() - 12)), 9); };
            QTest::mousePress(scrubber, Qt::LeftButton, {}, at(0.4));
            QTest::mouseMove(scrubber, at(0.6));
            if (window->player())
                window->player()->emitTick(window->player()->currentItem(), 31);
            QCOMPARE(scrubber->value(), 60.0);
            QCOMPARE(window->session().elapsed(), source.kind() == MediaKind::web ? 30.0 : 31.0);
            QTest::mouseRelease(scrubber, Qt::LeftButton, {}, at(0.6));
            QCOMPARE(window->session().elapsed(), 60.0);
        }
    }

    // The page's view fills the window under the controls; a retry swaps in the new page's
    // view and lets go of the old one, which its page deletes; a closed window leaves the
    // view to its page.
    void pageIsThePicture()
    {
        auto window = ready(page);
        QVERIFY(window->present());
        const QPointer<QWidget> first = window->page()->view();
        QCOMPARE(window->view()->webView(), first);
        QTRY_COMPARE(first->geometry(), window->view()->rect());
        const QObjectList stack = window->view()->children();
        QVERIFY(stack.indexOf(first) < stack.indexOf(window->view()->findChild<QWidget *>(u"bottomBar"_qs)));
        window->session().retry();
        QCOMPARE(window->view()->webView(), window->page()->view());
        QCOMPARE(window->view()->focusProxy(), window->page()->view());
        QVERIFY(first && first->parentWidget() == nullptr);
        QTRY_VERIFY(first.isNull());
        const QPointer<QWidget> second = window->page()->view();
        const QPointer<PlayerView> view = window->view();
        window->dropController();
        QTRY_VERIFY(view.isNull());
        QVERIFY(second && second->parentWidget() == nullptr);
    }

    void moreMenuBySource()
    {
        struct Row { MediaSource source; QStringList present; QStringList absent; };
        const QList<Row> rows{
            {clip, {u"Reveal in file manager"_qs, u"Open in external player"_qs}, {u"Reload"_qs, u"Hide danmaku"_qs}},
            {WindowHarness::clip(u"https://www.netflix.com/a.m3u8"_qs, MediaKind::mediaURL),
             {u"Netflix: Unsupported (DRM)"_qs}, {u"Reveal in file manager"_qs, u"Reload"_qs}},
            {page, {u"Reload"_qs, u"Open in browser"_qs, u"Hide danmaku"_qs}, {u"Reveal in file manager"_qs}},
        };
        for (const Row &row : rows) {
            WindowHarness::Options options;
            options.source = row.source;
            options.view = true;
            WindowHarness window(options);
            for (const QString &text : row.present)
                QVERIFY2(action(*window.view()->moreMenu(), text), qPrintable(text));
            for (const QString &text : row.absent)
                QVERIFY2(!action(*window.view()->moreMenu(), text), qPrintable(text));
        }
    }
};

QTEST_MAIN(TestPlayerView)
#include "tst_playerview.moc"

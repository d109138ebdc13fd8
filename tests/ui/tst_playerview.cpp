#include "ui/MoreOptionsMenu.h"
#include "ui/OpacityPopover.h"
#include "ui/PlayerView.h"
#include "ui/ScrubberBar.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"

#include "WindowHarness.h"

#include "playback/WebEnhancer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using Status = NativePlayer::Status;

namespace {
const MediaSource page = WindowHarness::clip(u"https://www.bilibili.com/video/BV1xx411c7mD"_qs, MediaKind::web);
const MediaSource clip = WindowHarness::clip();
// A native source whose rows each get a window of their own.
const MediaSource alone = WindowHarness::clip(u"file:///tmp/alone.mp4"_qs);

// A window whose media is ready at 30 s of 100: a native player, or a page polled every
// few milliseconds whose media element is there (or not) and seekable (or live).
std::unique_ptr<WindowHarness> ready(const MediaSource &source, bool present = true, bool seekable = true)
{
    WindowHarness::Options options{.source = source, .view = true};
    options.sessionTiming.webPoll = options.sessionTiming.webPollNearAd = std::chrono::milliseconds(5);
    options.sessionTiming.webFollowUpFirst = std::chrono::hours(1);
    auto window = std::make_unique<WindowHarness>(options);
    if (FakeNativePlayer *player = window->player()) {
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        player->emitDuration(player->currentItem(), 100);
        player->emitTick(player->currentItem(), 30);
        return window;
    }
    const QJsonObject media{{u"t"_qs, 30}, {u"d"_qs, 100}, {u"p"_qs, false}, {u"en"_qs, false}, {u"rs"_qs, 4}, {u"se"_qs, seekable}};
    const QString answer = present ? QString::fromUtf8(QJsonDocument(media).toJson(QJsonDocument::Compact)) : QString();
    window->page()->scriptAnswer = [answer](const QString &script) {
        return script == WebEnhancer::mediaStateScript() ? QVariant(answer) : QVariant();
    };
    window->page()->startLoad();
    window->page()->finishLoad();
    const bool polled = QTest::qWaitFor([&window] { return window->page()->scriptCount(WebEnhancer::mediaStateScript()) >= 2; }, 5000);
    return polled ? std::move(window) : nullptr;
}

void escape(WindowHarness &window) { QTest::keyClick(window.view(), Qt::Key_Escape); }

// The action of this text in the menu, by default the more-options menu, rebuilt as on
// opening.
QAction *action(WindowHarness &window, const QString &text, QMenu *menu = nullptr)
{
    if (menu == nullptr)
        window.view()->moreMenu()->rebuild();
    const QList<QAction *> actions = (menu ? menu : window.view()->moreMenu())->actions();
    const auto found = std::find_if(actions.cbegin(), actions.cend(), [&text](QAction *a) { return a->text() == text; });
    return found == actions.cend() ? nullptr : *found;
}
} // namespace

// The overlay's wiring to its session and window, for native and web sources alike.
class TestPlayerView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each control does its one thing to the session or the window. Rows of the same source
    // share its window, in order.
    void controls()
    {
        struct Row { const char *name; MediaSource source; std::function<void(WindowHarness &)> use; std::function<bool(WindowHarness &)> done; };
        const auto click = [](const QString &toolTip) { return [toolTip](WindowHarness &w) { w.button(toolTip)->click(); }; };
        const QList<Row> rows{
            {"play pauses the player", clip, click(u"Play / pause"_qs), [](auto &w) { return w.player()->rate() == 0; }},
            {"back seeks the player", clip, click(u"Back 10s"_qs), [](auto &w) { return w.player()->seeks().last().seconds == 20; }},
            {"forward seeks the page", page, click(u"Forward 10s"_qs),
             [](auto &w) { return w.session().elapsed() == 40 && w.playersMade() == 0; }},
            {"mute", clip, [](auto &w) { w.button(u"Volume"_qs)->click(), w.view()->volumePopover()->muteButton()->click(); },
             [](auto &w) { return w.player()->volume() == 0 && w.settings().value(u"default.volume"_qs) == 0.0; }},
            {"speed", page, [](auto &w) { action(w, u"1.25×"_qs, w.view()->speedMenu())->trigger(); },
             [](auto &w) { return w.session().speed() == 1.25 && action(w, u"1.25×"_qs, w.view()->speedMenu())->isChecked(); }},
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
            {"click-through, once confirmed", clip,
             [](auto &w) { w.button(u"Click-through"_qs)->click(), w.view()->template findChild<QPushButton *>(u"enableButton"_qs)->click(); },
             [](auto &w) { return w.session().clickThrough() && w.view()->template findChild<QMessageBox *>()->text().contains(u"Ctrl+Alt+F"_qs); }},
            // Escape closes an open panel first, then leaves cinema, then ends click-through,
            // and otherwise closes the window.
            {"escape: panel first", alone, [](auto &w) { w.button(u"Volume"_qs)->click(), w.controller().enterCinema(), escape(w); },
             [](auto &w) { return !w.view()->volumePopover()->isVisibleTo(w.view()) && w.session().isCinema(); }},
            {"escape: cinema", alone, [](auto &w) { w.controller().enterCinema(), w.session().setClickThrough(true), escape(w); },
             [](auto &w) { return !w.session().isCinema() && w.session().clickThrough(); }},
            {"escape: click-through", alone, [](auto &w) { w.session().setClickThrough(true), escape(w); },
             [](auto &w) { return !w.session().clickThrough() && w.closed() == 0; }},
            {"escape: close", alone, escape, [](auto &w) { return w.closed() == 1; }},
            // The menu offers what the source allows: a file's folder, a page's own items, a
            // site's support line.
            {"menu: file items", clip, [](auto &) {},
             [](auto &w) { return action(w, u"Reveal in file manager"_qs) && !action(w, u"Reload"_qs); }},
            {"menu: page items", page, [](auto &) {},
             [](auto &w) { return action(w, u"Open in browser"_qs) && action(w, u"Hide danmaku"_qs) && !action(w, u"Reveal in file manager"_qs); }},
            {"menu: site line", WindowHarness::clip(u"https://www.netflix.com/a.m3u8"_qs, MediaKind::mediaURL), [](auto &) {},
             [](auto &w) { return action(w, u"Netflix: Unsupported (DRM)"_qs) && !action(w, u"Hide danmaku"_qs); }},
            {"menu: tracks", WindowHarness::clip(u"file:///tmp/film.mkv"_qs),
             [](auto &w) {
                 using T = NativePlayer::TrackType;
                 w.player()->emitTracks(w.player()->currentItem(), {{1, T::audio, u"eng"_qs, {}, u"aac"_qs, true, false, true},
                                                                    {2, T::audio, u"spa"_qs, u"Comentario"_qs, u"aac"_qs, false, false, false},
                                                                    {3, T::subtitle, u"eng"_qs, {}, u"subrip"_qs, false, true, true}});
                 action(w, u"2: Comentario [spa] · aac"_qs, action(w, u"Audio track"_qs)->menu())->trigger();
             },
             [](auto &w) {
                 QMenu *subtitles = action(w, u"Subtitles"_qs)->menu();
                 return w.session().trackChoice().audio == 2 && !action(w, u"Off"_qs, subtitles)->isChecked()
                        && action(w, u"3: [eng] · subrip · external file"_qs, subtitles)->isChecked();
             }},
            {"menu: lock aspect", clip, [](auto &w) { action(w, u"Lock aspect ratio"_qs)->trigger(); },
             [](auto &w) { return w.session().lockAspect(); }},
            {"menu: page back", page, [](auto &w) { w.page()->setHistory(true, false), w.page()->finishLoad(), action(w, u"Back"_qs)->trigger(); },
             [](auto &w) { return w.page()->backs() == 1 && !action(w, u"Forward"_qs)->isEnabled(); }},
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

    // Which controls work follows the media: none without it, no seeking on a live one.
    void transportFollowsTheMedia()
    {
        for (const auto &[present, seekable] : {std::pair{true, true}, std::pair{true, false}, std::pair{false, false}}) {
            auto window = ready(page, present, seekable);
            QVERIFY(window && window->button(u"Volume"_qs)->isEnabled());
            QCOMPARE(window->button(u"Play / pause"_qs)->isEnabled(), present);
            QCOMPARE(window->button(u"Forward 10s"_qs)->isEnabled(), seekable);
            QCOMPARE(window->view()->scrubber()->isEnabled(), seekable);
        }
    }

    // The page's position stays where the user holds it while polls go on; the seek comes
    // once, at the release.
    void scrubbing()
    {
        auto window = ready(page);
        ScrubberBar *scrubber = window->view()->scrubber();
        scrubber->resize(212, 18);
        QTest::mousePress(scrubber, Qt::LeftButton, {}, QPoint(86, 9));
        QTest::mouseMove(scrubber, QPoint(126, 9));
        QVERIFY(QTest::qWaitFor([&] { return window->page()->scriptCount(WebEnhancer::mediaStateScript()) >= 4; }, 5000));
        QVERIFY(scrubber->value() == 60 && window->session().elapsed() == 30);
        QTest::mouseRelease(scrubber, Qt::LeftButton, {}, QPoint(126, 9));
        QCOMPARE(window->session().elapsed(), 60.0);
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
};

QTEST_MAIN(TestPlayerView)
#include "tst_playerview.moc"

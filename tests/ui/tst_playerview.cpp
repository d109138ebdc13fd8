#include "ui/MoreOptionsMenu.h"
#include "ui/OpacityPopover.h"
#include "ui/PlayerView.h"
#include "ui/ScrubberBar.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"

#include "FakeNativePlayer.h"
#include "ToolButtons.h"
#include "settings/Preferences.h"
#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include "KiteCore/L10n.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using Status = NativePlayer::Status;

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

// One player window with a fake player, built the way the application builds it.
struct Window {
    explicit Window(const QTemporaryDir &dir, const QUrl &url, MediaKind kind)
        : settings(dir.filePath(u"settings.ini"_qs), QSettings::IniFormat),
          preferences(settings)
    {
        PlaybackSession::Dependencies dependencies{
            preferences, settings,
            [this] {
                auto player = std::make_unique<FakeNativePlayer>();
                players.append(player.get());
                return std::unique_ptr<NativePlayer>(std::move(player));
            },
            {}};
        session = std::make_unique<PlaybackSession>(MediaSource(url, kind, u"Clip"_qs, QString()),
                                                    std::nullopt, dependencies);
        controller = std::make_unique<PlayerWindowController>(
            *session, settings, preferences, placement, [this](PlayerWindowController &owner) {
                view = new PlayerView(*session, owner, preferences);
                view->setAutoHideDelays(40, 80);
                return view;
            });
        controller->setOnClose([this] { ++closed; });
    }

    ~Window()
    {
        controller.reset();
        session->stop();
    }

    FakeNativePlayer &player() const { return *players.last(); }
    quint64 item() const { return player().currentItem(); }

    void makeReady(double duration)
    {
        player().emitStatus(item(), Status::readyToPlay);
        player().emitDuration(item(), duration);
    }

    template <typename T> T *find(const QString &name) const
    {
        return view->findChild<T *>(name);
    }

    QToolButton *button(const QString &toolTip) const
    {
        return ToolButtons::withToolTip(*view, toolTip);
    }

    QSettings settings;
    Preferences preferences;
    WindowPlacement placement;
    QList<FakeNativePlayer *> players;
    std::unique_ptr<PlaybackSession> session;
    std::unique_ptr<PlayerWindowController> controller;
    PlayerView *view = nullptr;
    int closed = 0;
};

QStringList actionTexts(const QMenu &menu)
{
    QStringList texts;
    for (const QAction *action : menu.actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    return texts;
}

QAction *actionNamed(const QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}
} // namespace

class TestPlayerView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QUrl m_file;

    std::unique_ptr<Window> open(MediaKind kind = MediaKind::localFile, QUrl url = {})
    {
        if (url.isEmpty())
            url = m_file;
        return std::make_unique<Window>(m_dir, url, kind);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(u"config"_qs).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_qs).toUtf8());
        m_file = QUrl::fromLocalFile(m_dir.filePath(u"media/clip.mp4"_qs));
    }

    void init()
    {
        L10n::setLanguage(AppLanguage::en);
        QFile::remove(m_dir.filePath(u"settings.ini"_qs));
    }

    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void videoSurfaceFollowsThePlayer()
    {
        auto window = open();
        QVERIFY(window->view->videoWidget() != nullptr);
        QCOMPARE(window->player().videoWidgetCount(), 1);
        const QPointer<QWidget> first = window->view->videoWidget();
        window->player().emitStatus(window->item(), Status::failed);
        window->session->retry();
        QCOMPARE(window->players.size(), 2);
        QCOMPARE(window->player().videoWidgetCount(), 1);
        QVERIFY(first.isNull());
        QVERIFY(window->view->videoWidget() != nullptr);
        QCOMPARE(window->view->videoWidget()->parentWidget(), window->view);
    }

    void speedMenuCheckMark_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("checked");
        QTest::newRow("1") << 1.0 << u"1×"_qs;
        QTest::newRow("1.5") << 1.5 << u"1.5×"_qs;
        QTest::newRow("near 0.75") << 0.755 << u"0.75×"_qs;
        QTest::newRow("2") << 2.0 << u"2×"_qs;
        QTest::newRow("not offered") << 1.1 << QString();
    }

    void speedMenuCheckMark()
    {
        QFETCH(double, speed);
        QFETCH(QString, checked);
        auto window = open();
        QMenu *menu = window->view->speedMenu();
        QCOMPARE(actionTexts(*menu), (QStringList{u"0.5×"_qs, u"0.75×"_qs, u"1×"_qs, u"1.25×"_qs,
                                                  u"1.5×"_qs, u"2×"_qs}));
        window->session->setSpeed(speed);
        QStringList checkedTexts;
        for (const QAction *action : menu->actions()) {
            if (action->isChecked())
                checkedTexts << action->text();
        }
        QCOMPARE(checkedTexts, checked.isEmpty() ? QStringList() : QStringList{checked});
    }

    void choosingASpeed()
    {
        auto window = open();
        actionNamed(*window->view->speedMenu(), u"1.25×"_qs)->trigger();
        QCOMPARE(window->session->speed(), 1.25);
        QVERIFY(actionNamed(*window->view->speedMenu(), u"1.25×"_qs)->isChecked());
        QVERIFY(!actionNamed(*window->view->speedMenu(), u"1×"_qs)->isChecked());
    }

    void muteAndVolume()
    {
        auto window = open();
        window->session->setVolume(0.6);
        QToolButton *volumeButton = window->button(u"Volume"_qs);
        QVERIFY(volumeButton != nullptr);
        QCOMPARE(volumeButton->property("iconName").toString(), u"volume"_qs);
        volumeButton->click();
        VolumePopover *popover = window->view->volumePopover();
        QVERIFY(popover->isVisibleTo(window->view));
        QCOMPARE(popover->percentText(), u"60%"_qs);
        popover->muteButton()->click();
        QCOMPARE(window->session->volume(), 0.0);
        QCOMPARE(window->player().volume(), 0.0);
        QCOMPARE(window->settings.value(u"default.volume"_qs).toDouble(), 0.0);
        QCOMPARE(volumeButton->property("iconName").toString(), u"volume-mute"_qs);
        QCOMPARE(popover->percentText(), u"0%"_qs);
        // Pressing the button again closes the panel.
        volumeButton->click();
        QVERIFY(!popover->isVisibleTo(window->view));
    }

    void scrubbingWaitsForTheEndOfTheDrag()
    {
        auto window = open();
        window->makeReady(100);
        window->player().emitTick(window->item(), 10);
        QCOMPARE(window->session->elapsed(), 10.0);
        ScrubberBar *scrubber = window->view->scrubber();
        scrubber->resize(212, 18);
        const auto at = [scrubber](double fraction) {
            return QPoint(static_cast<int>(std::lround(6 + fraction * (scrubber->width() - 12))),
                          scrubber->height() / 2);
        };
        const qsizetype seeksBefore = window->player().seeks().size();
        QTest::mousePress(scrubber, Qt::LeftButton, {}, at(0.4));
        QTest::mouseMove(scrubber, at(0.6));
        window->player().emitTick(window->item(), 11);
        window->player().emitTick(window->item(), 12);
        QCOMPARE(window->session->elapsed(), 12.0);
        QCOMPARE(scrubber->value(), 60.0);
        QCOMPARE(window->player().seeks().size(), seeksBefore);
        QTest::mouseRelease(scrubber, Qt::LeftButton, {}, at(0.6));
        QCOMPARE(window->player().seeks().size(), seeksBefore + 1);
        QCOMPARE(window->player().seeks().last().seconds, 60.0);
        QCOMPARE(window->session->elapsed(), 60.0);
    }

    void skipButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<double>("target");
        QTest::newRow("forward") << u"Forward 10s"_qs << 30.0 << 40.0;
        QTest::newRow("back") << u"Back 10s"_qs << 30.0 << 20.0;
        QTest::newRow("back near start") << u"Back 10s"_qs << 4.0 << 0.0;
        QTest::newRow("forward near end") << u"Forward 10s"_qs << 95.0 << 100.0;
    }

    void skipButtons()
    {
        QFETCH(QString, button);
        QFETCH(double, elapsed);
        QFETCH(double, target);
        auto window = open();
        window->makeReady(100);
        window->player().emitTick(window->item(), elapsed);
        window->button(button)->click();
        QCOMPARE(window->player().seeks().last().seconds, target);
    }

    void playButtonFollowsPlayback()
    {
        auto window = open();
        window->makeReady(100);
        QToolButton *play = window->button(u"Play / pause"_qs);
        QTRY_COMPARE(play->property("iconName").toString(), u"pause"_qs);
        play->click();
        QCOMPARE(window->player().rate(), 0.0);
        QCOMPARE(play->property("iconName").toString(), u"play"_qs);
    }

    void escapeOrder_data()
    {
        QTest::addColumn<bool>("cinema");
        QTest::addColumn<bool>("clickThrough");
        QTest::addColumn<bool>("cinemaAfter");
        QTest::addColumn<bool>("clickThroughAfter");
        QTest::addColumn<int>("closed");
        QTest::newRow("cinema and click-through") << true << true << false << true << 0;
        QTest::newRow("cinema") << true << false << false << false << 0;
        QTest::newRow("click-through") << false << true << false << false << 0;
        QTest::newRow("neither closes") << false << false << false << false << 1;
    }

    void escapeOrder()
    {
        QFETCH(bool, cinema);
        QFETCH(bool, clickThrough);
        QFETCH(bool, cinemaAfter);
        QFETCH(bool, clickThroughAfter);
        QFETCH(int, closed);
        auto window = open();
        window->controller->present();
        if (cinema)
            window->controller->enterCinema();
        window->session->setClickThrough(clickThrough);
        QTest::keyClick(window->view, Qt::Key_Escape);
        QCOMPARE(window->session->isCinema(), cinemaAfter);
        QCOMPARE(window->session->clickThrough(), clickThroughAfter);
        QCOMPARE(window->closed, closed);
    }

    void escapeClosesAPanelFirst()
    {
        auto window = open();
        window->button(u"Volume"_qs)->click();
        QTest::keyClick(window->view, Qt::Key_Escape);
        QVERIFY(!window->view->volumePopover()->isVisibleTo(window->view));
        QCOMPARE(window->closed, 0);
    }

    void failurePanel_data()
    {
        QTest::addColumn<PlatformError>("error");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("icon");
        QTest::newRow("offline") << PlatformError{PlatformError::Domain::urlLoading,
                                                  PlatformError::notConnectedToInternet, u"x"_qs}
                                 << u"You're offline."_qs << u"kind-network"_qs;
        QTest::newRow("decoder") << PlatformError{PlatformError::Domain::media, -17,
                                                  u"Not a media file."_qs}
                                 << u"Not a media file."_qs << u"kind-decode"_qs;
    }

    // Fails, shows the error and its hint, and Retry loads the source again in a new player.
    void failurePanel()
    {
        QFETCH(PlatformError, error);
        QFETCH(QString, message);
        QFETCH(QString, icon);
        auto window = open();
        StatusPanel *panel = window->view->statusPanel();
        QVERIFY(panel->isVisibleTo(window->view));
        QVERIFY(!panel->showingFailure());
        window->player().emitStatus(window->item(), Status::failed, error);
        QVERIFY(panel->showingFailure());
        QCOMPARE(panel->message(), message);
        QCOMPARE(panel->iconName(), icon);
        QVERIFY(!panel->recovery().isEmpty());
        QCOMPARE(panel->recovery(), window->session->state().error()->recovery().value());
        QVERIFY(window->view->controlsVisible());

        panel->button(u"retryButton"_qs)->click();
        QCOMPARE(window->players.size(), 2);
        QCOMPARE(window->player().loadedUrls(), QList<QUrl>{m_file});
        QVERIFY(!panel->showingFailure());
        window->makeReady(50);
        QVERIFY(!panel->isVisibleTo(window->view));
    }

    void failurePanelWaysOut()
    {
        auto window = open(MediaKind::mediaURL, QUrl(u"https://media.example.org/a%20b.mp4"_qs));
        QSignalSpy externalRequests(window->session.get(), &PlaybackSession::externalRequested);
        QSignalSpy appExternal(window->view, &PlayerView::externalPlayerRequested);
        UrlSink sink;
        QDesktopServices::setUrlHandler(u"https"_qs, &sink, "open");
        window->player().emitStatus(window->item(), Status::failed);
        StatusPanel *panel = window->view->statusPanel();
        panel->button(u"externalButton"_qs)->click();
        panel->button(u"browserButton"_qs)->click();
        QApplication::clipboard()->setText(u"something else"_qs);
        panel->button(u"copyLinkButton"_qs)->click();
        QDesktopServices::unsetUrlHandler(u"https"_qs);
        QCOMPARE(externalRequests.size(), 1);
        QCOMPARE(appExternal.size(), 0);
        QCOMPARE(sink.urls, QList<QUrl>{window->session->source().url()});
        QCOMPARE(QApplication::clipboard()->text(), u"https://media.example.org/a%20b.mp4"_qs);
    }

    void loadingPanelAsksTheApplication()
    {
        auto window = open();
        QSignalSpy externalRequests(window->session.get(), &PlaybackSession::externalRequested);
        QSignalSpy appExternal(window->view, &PlayerView::externalPlayerRequested);
        window->view->statusPanel()->button(u"loadingExternalButton"_qs)->click();
        QCOMPARE(appExternal.size(), 1);
        QCOMPARE(externalRequests.size(), 0);
    }

    void moreMenuBySource_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<bool>("localItems");
        QTest::addColumn<QString>("siteLine");
        QTest::newRow("local file") << QUrl::fromLocalFile(u"/tmp/clip.mp4"_qs) << MediaKind::localFile
                                    << true << QString();
        QTest::newRow("known host") << QUrl(u"https://www.youtube.com/v.mp4"_qs) << MediaKind::mediaURL
                                    << false << u"YouTube: Adapted"_qs;
        QTest::newRow("unsupported host") << QUrl(u"https://www.netflix.com/a.m3u8"_qs)
                                          << MediaKind::mediaURL << false
                                          << u"Netflix: Unsupported (DRM)"_qs;
        QTest::newRow("unknown host") << QUrl(u"https://cdn.example.org/v.mp4"_qs) << MediaKind::mediaURL
                                      << false << QString();
    }

    void moreMenuBySource()
    {
        QFETCH(QUrl, url);
        QFETCH(MediaKind, kind);
        QFETCH(bool, localItems);
        QFETCH(QString, siteLine);
        auto window = open(kind, url);
        MoreOptionsMenu *menu = window->view->moreMenu();
        const QStringList texts = actionTexts(*menu);
        QCOMPARE(texts.mid(0, 2), (QStringList{u"Window size"_qs, u"Window position"_qs}));
        for (const QString &always : {u"Always on top"_qs, u"Lock aspect ratio"_qs,
                                      u"Always show controls"_qs, u"Drag mode (drag anywhere)"_qs,
                                      u"Capture frame"_qs, u"Fullscreen"_qs,
                                      u"Enable click-through…"_qs})
            QVERIFY2(texts.contains(always), qPrintable(always));
        QCOMPARE(texts.contains(u"Reveal in file manager"_qs), localItems);
        QCOMPARE(texts.contains(u"Open in external player"_qs), localItems);
        QVERIFY(!texts.contains(u"Open in Safari"_qs));
        QAction *line = menu->findChild<QAction *>(u"siteSupportLine"_qs);
        QCOMPARE(line != nullptr, !siteLine.isEmpty());
        if (line != nullptr) {
            QCOMPARE(line->text(), siteLine);
            QCOMPARE(texts.indexOf(siteLine), texts.indexOf(u"Site support"_qs) + 1);
        }
    }

    void moreMenuSubmenus()
    {
        auto window = open();
        MoreOptionsMenu *menu = window->view->moreMenu();
        QMenu *sizes = menu->actions().at(0)->menu();
        QMenu *positions = menu->actions().at(1)->menu();
        QVERIFY(sizes != nullptr && positions != nullptr);
        QCOMPARE(actionTexts(*sizes),
                 (QStringList{u"Small · 480"_qs, u"Standard · 640"_qs, u"Large · 960"_qs,
                              u"Portrait · 9:16"_qs, u"Square · 1:1"_qs, u"Fit video aspect"_qs,
                              u"Scale up 10%"_qs, u"Scale down 10%"_qs}));
        QCOMPARE(actionTexts(*positions),
                 (QStringList{u"Move to top-left"_qs, u"Move to top-right"_qs,
                              u"Move to bottom-left"_qs, u"Move to bottom-right"_qs,
                              u"Center window"_qs}));
        // Rebuilding on every opening leaves no stale submenus behind.
        menu->rebuild();
        menu->rebuild();
        QCOMPARE(menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly).size(), 2);
    }

    void moreMenuToggles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("property");
        QTest::newRow("pin") << u"Always on top"_qs << QByteArray("isPinned");
        QTest::newRow("aspect") << u"Lock aspect ratio"_qs << QByteArray("lockAspect");
        QTest::newRow("controls") << u"Always show controls"_qs << QByteArray("controlsPinned");
        QTest::newRow("drag") << u"Drag mode (drag anywhere)"_qs << QByteArray("grabMode");
    }

    // Each toggle shows the session's value and flips exactly that value.
    void moreMenuToggles()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, property);
        auto window = open();
        const bool before = window->session->property(property.constData()).toBool();
        MoreOptionsMenu *menu = window->view->moreMenu();
        menu->rebuild();
        QAction *action = actionNamed(*menu, text);
        QVERIFY(action != nullptr && action->isCheckable());
        QCOMPARE(action->isChecked(), before);
        action->trigger();
        QCOMPARE(window->session->property(property.constData()).toBool(), !before);
        menu->rebuild();
        QCOMPARE(actionNamed(*menu, text)->isChecked(), !before);
    }

    void localFileReveal()
    {
        auto window = open();
        UrlSink sink;
        QDesktopServices::setUrlHandler(u"file"_qs, &sink, "open");
        QSignalSpy appExternal(window->view, &PlayerView::externalPlayerRequested);
        actionNamed(*window->view->moreMenu(), u"Reveal in file manager"_qs)->trigger();
        actionNamed(*window->view->moreMenu(), u"Open in external player"_qs)->trigger();
        QDesktopServices::unsetUrlHandler(u"file"_qs);
        QCOMPARE(sink.urls, QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath(u"media"_qs))});
        QCOMPARE(appExternal.size(), 1);
    }

    void clickThroughConfirmation_data()
    {
        QTest::addColumn<bool>("bound");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("shown");
        QTest::newRow("enable") << true << true << u"or press Ctrl+Alt+F,"_qs;
        QTest::newRow("cancel") << true << false << u"or press Ctrl+Alt+F,"_qs;
        QTest::newRow("rebound") << false << true << u"or press Ctrl+Shift+K,"_qs;
    }

    void clickThroughConfirmation()
    {
        QFETCH(bool, bound);
        QFETCH(bool, accept);
        QFETCH(QString, shown);
        auto window = open();
        if (!bound) {
            ShortcutBindingMap bindings = window->preferences.shortcutBindings();
            bindings[ShortcutAction::toggleAllWindows] =
                KeyCombo(40, {KeyCombo::Modifier::control, KeyCombo::Modifier::shift});
            window->preferences.setShortcutBindings(bindings);
        }
        window->button(u"Click-through"_qs)->click();
        auto *dialog = window->view->findChild<QMessageBox *>(u"clickThroughConfirmation"_qs);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), u"Enable click-through?"_qs);
        QVERIFY2(dialog->text().contains(shown), qPrintable(dialog->text()));
        QVERIFY(!window->session->clickThrough());
        dialog->findChild<QPushButton *>(accept ? u"enableButton"_qs : u"cancelButton"_qs)->click();
        QCOMPARE(window->session->clickThrough(), accept);
    }

    void grabToggleShowsItsToast()
    {
        auto window = open();
        QToolButton *hand = window->button(u"Drag mode (drag anywhere, clicks stay on the window)"_qs);
        QVERIFY(hand != nullptr);
        hand->click();
        QVERIFY(window->session->grabMode());
        QCOMPARE(hand->property("iconName").toString(), u"hand-fill"_qs);
        QCOMPARE(hand->toolTip(), u"Back to mouse mode (click the page)"_qs);
        QVERIFY(window->session->toast().value_or(QString()).startsWith(u"Drag mode: hold anywhere"_qs));
        QVERIFY(window->view->toastLabel()->isVisibleTo(window->view));
        QCOMPARE(window->view->toastLabel()->text(), *window->session->toast());
        window->session->showToast(u"other"_qs);
        hand->click();
        QVERIFY(!window->session->grabMode());
        QCOMPARE(window->session->toast(), std::optional<QString>(u"other"_qs));
    }

    void pinAndOpacity()
    {
        auto window = open();
        window->session->setPinned(false);
        QToolButton *pin = window->button(u"Pin on top"_qs);
        QVERIFY(pin != nullptr);
        pin->click();
        QVERIFY(window->session->isPinned());
        QCOMPARE(pin->toolTip(), u"Unpin"_qs);
        window->button(u"Window opacity"_qs)->click();
        auto *preset = window->view->opacityPopover()->presetButtons().at(5);
        QCOMPARE(preset->text(), u"50%"_qs);
        preset->click();
        QCOMPARE(window->session->opacity(), 0.5);
        QVERIFY(preset->isChecked());
    }

    void pointerOverTheWindow()
    {
        auto window = open();
        window->controller->present();
        window->makeReady(100);
        QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
        QApplication::sendEvent(window->view, &enter);
        // The appear timer has run out, but the pointer is over the window.
        QTest::qWait(200);
        QVERIFY(window->view->controlsVisible());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(window->view, &leave);
        QVERIFY(window->view->controlsVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!window->view->controlsVisible(), 2000);
        QApplication::sendEvent(window->view, &enter);
        QVERIFY(window->view->controlsVisible());
    }

    void windowButtons()
    {
        auto window = open();
        window->controller->present();
        QWidget *panel = window->controller->window();
        window->button(u"Fullscreen"_qs)->click();
        QVERIFY(window->session->isCinema());
        QToolButton *exit = window->button(u"Exit fullscreen"_qs);
        QVERIFY(exit != nullptr);
        QCOMPARE(exit->property("iconName").toString(), u"fullscreen-exit"_qs);
        exit->click();
        QVERIFY(!window->session->isCinema());
        window->button(u"Hide (recover with Restore All Windows)"_qs)->click();
        QVERIFY(window->session->isHidden());
        QVERIFY(!panel->isVisible());
        QCOMPARE(window->closed, 0);
        window->controller->present();
        window->button(u"Close window"_qs)->click();
        QCOMPARE(window->closed, 1);
    }

    // Controls hide once playing with the pointer away, and never while loading or pinned.
    void controlsAutoHide()
    {
        auto window = open();
        window->controller->present();
        QWidget *topBar = window->find<QWidget>(u"topBar"_qs);
        QWidget *bottomBar = window->find<QWidget>(u"bottomBar"_qs);
        QVERIFY(window->view->controlsVisible());
        QTest::qWait(200);
        QVERIFY(window->view->controlsVisible());
        window->makeReady(100);
        QTRY_VERIFY_WITH_TIMEOUT(!window->view->controlsVisible(), 2000);
        // Shown again while the fade-out still runs: the old fade must not hide them later.
        window->session->setControlsPinned(true);
        QVERIFY(window->view->controlsVisible());
        QTest::qWait(400);
        QVERIFY(topBar->isVisible());
        QVERIFY(bottomBar->isVisible());
        window->session->setControlsPinned(false);
        QTRY_VERIFY_WITH_TIMEOUT(!topBar->isVisible() && !bottomBar->isVisible(), 2000);
        window->preferences.setAutoHideControls(false);
        QVERIFY(window->view->controlsVisible());
        QVERIFY(topBar->isVisible());
    }
};

QTEST_MAIN(TestPlayerView)
#include "tst_playerview.moc"

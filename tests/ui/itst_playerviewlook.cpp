#include "ui/OpacityPopover.h"
#include "ui/PlayerView.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"

#include "FakeNativePlayer.h"
#include "MediaGenerator.h"
#include "settings/Preferences.h"
#include "platform/MpvPlayer.h"
#include "playback/PlaybackSession.h"
#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include "KiteCore/L10n.h"

#include <QDir>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <memory>

namespace {
const QColor clipColour(40, 170, 90);

// A real window around a real mpv session, as the application builds it.
struct Window {
    Window(const QString &settingsPath, const QString &file, bool fakePlayer)
        : settings(settingsPath, QSettings::IniFormat), preferences(settings)
    {
        PlaybackSession::Dependencies dependencies{
            preferences, settings,
            [fakePlayer]() -> std::unique_ptr<NativePlayer> {
                if (fakePlayer)
                    return std::make_unique<FakeNativePlayer>();
                return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::render,
                                                   MpvPlayer::AudioOutput::none);
            },
            {}};
        session = std::make_unique<PlaybackSession>(
            MediaSource(QUrl::fromLocalFile(file), MediaKind::localFile, u"Evening clip"_qs, QString()),
            std::nullopt, dependencies);
        controller = std::make_unique<PlayerWindowController>(
            *session, settings, preferences, placement, [this](PlayerWindowController &owner) {
                view = new PlayerView(*session, owner, preferences);
                return view;
            });
    }

    ~Window()
    {
        controller.reset();
        session->stop();
    }

    // What the X server shows where the window is (the window itself has an alpha channel,
    // which a direct grab of it does not handle).
    QImage shot() const
    {
        QWidget *window = controller->window();
        const QRect frame = window->geometry();
        return window->screen()
            ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
            .toImage();
    }

    // The session starts loading before its window is shown and plays once ready.
    bool startPlaying()
    {
        return QTest::qWaitFor([this] { return session->isPlaying(); }, 10000);
    }

    QSettings settings;
    Preferences preferences;
    WindowPlacement placement;
    std::unique_ptr<PlaybackSession> session;
    std::unique_ptr<PlayerWindowController> controller;
    PlayerView *view = nullptr;
};

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

int brightness(const QColor &colour)
{
    return colour.red() + colour.green() + colour.blue();
}

// White icons or text somewhere: the window has been drawn.
bool drawn(const QImage &image)
{
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            if (brightness(image.pixelColor(x, y)) > 600)
                return true;
        }
    }
    return false;
}
} // namespace

class TestPlayerViewLook : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clip;
    QString m_shots;
    int m_settingsCount = 0;

    std::unique_ptr<Window> open(const QString &file, bool fakePlayer = false)
    {
        const QString path = m_dir.filePath(QStringLiteral("settings-%1.ini").arg(++m_settingsCount));
        auto window = std::make_unique<Window>(path, file, fakePlayer);
        window->controller->present();
        return window;
    }

    void save(const QImage &image, const QString &name) const
    {
        if (m_shots.isEmpty())
            return;
        QVERIFY(image.save(QDir(m_shots).filePath(name)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(u"config"_qs).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_qs).toUtf8());
        L10n::setLanguage(AppLanguage::en);
        m_clip = MediaGenerator::colourClip(clipColour, 20.0, {640, 360}, false);
        QVERIFY2(!m_clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        m_shots = qEnvironmentVariable("LUMIVANE_SHOTS_DIR");
        if (!m_shots.isEmpty())
            QVERIFY(QDir().mkpath(m_shots));
    }

    // The clip shows between the bars; the bars darken the picture under them.
    void controlsOverPlayingVideo()
    {
        auto window = open(m_clip);
        window->session->setControlsPinned(true);
        QVERIFY(window->startPlaying());
        QWidget *panel = window->controller->window();
        const QPoint middle(panel->width() / 2, panel->height() / 2);
        QTRY_VERIFY_WITH_TIMEOUT(near(window->shot().pixelColor(middle), clipColour, 16), 10000);

        QVERIFY(window->view->controlsVisible());
        auto *topBar = window->view->findChild<QWidget *>(u"topBar"_qs);
        auto *bottomBar = window->view->findChild<QWidget *>(u"bottomBar"_qs);
        QVERIFY(topBar->isVisible() && bottomBar->isVisible());
        QVERIFY(!window->view->statusPanel()->isVisible());
        const QImage image = window->shot();
        // Sample the bars away from their icons and labels.
        const QPoint inTopBar = topBar->mapTo(panel, QPoint(topBar->width() / 2 + 40, 4));
        const QColor underBar = image.pixelColor(inTopBar);
        QVERIFY2(brightness(underBar) < brightness(clipColour) * 3 / 4,
                 qPrintable(underBar.name()));
        QVERIFY2(brightness(underBar) > 0, "the bar is see-through, not black");
        save(image, u"controls.png"_qs);
    }

    void volumePanelOpen()
    {
        auto window = open(m_clip);
        window->session->setControlsPinned(true);
        window->session->setVolume(0.7);
        QVERIFY(window->startPlaying());
        QWidget *panel = window->controller->window();
        const QPoint middle(panel->width() / 2, panel->height() / 2);
        QTRY_VERIFY_WITH_TIMEOUT(near(window->shot().pixelColor(middle), clipColour, 16), 10000);
        QToolButton *volume = nullptr;
        for (QToolButton *button : window->view->findChildren<QToolButton *>()) {
            if (button->toolTip() == u"Volume"_qs)
                volume = button;
        }
        QVERIFY(volume != nullptr);
        volume->click();
        VolumePopover *popover = window->view->volumePopover();
        QTRY_VERIFY(popover->isVisible());
        QCOMPARE(popover->percentText(), u"70%"_qs);
        // The panel lies inside the window, above the transport row.
        QVERIFY(panel->rect().contains(popover->geometry()));
        const QPoint inPanel = popover->mapTo(panel, QPoint(6, popover->height() / 2));
        // The panel is dark and opaque over the bright picture once it is drawn.
        QTRY_VERIFY_WITH_TIMEOUT(brightness(window->shot().pixelColor(inPanel)) < 120, 5000);
        save(window->shot(), u"volume.png"_qs);
    }

    void failurePanel()
    {
        auto window = open(MediaGenerator::corruptFile());
        QTRY_VERIFY_WITH_TIMEOUT(window->session->state().isFailed(), 10000);
        StatusPanel *status = window->view->statusPanel();
        QTRY_VERIFY(status->isVisible());
        QVERIFY(status->showingFailure());
        QCOMPARE(status->message(), window->session->state().error()->message());
        QVERIFY(window->view->controlsVisible());
        QWidget *panel = window->controller->window();
        QVERIFY(panel->rect().contains(status->geometry()));
        const QImage image = window->shot();
        QVERIFY(!image.isNull());
        save(image, u"failure.png"_qs);
    }

    // The smallest window still holds every panel inside it.
    void smallestWindow()
    {
        auto window = open(m_clip, true);
        QWidget *panel = window->controller->window();
        window->controller->resize(320, 16.0 / 9.0);
        QTRY_COMPARE(panel->size(), QSize(320, 220));
        StatusPanel *status = window->view->statusPanel();
        QTRY_VERIFY(status->isVisible());
        QVERIFY(panel->rect().contains(status->geometry()));
        QTRY_VERIFY_WITH_TIMEOUT(drawn(window->shot()), 5000);
        save(window->shot(), u"loading-small.png"_qs);

        QToolButton *opacity = nullptr;
        for (QToolButton *button : window->view->findChildren<QToolButton *>()) {
            if (button->toolTip() == u"Window opacity"_qs)
                opacity = button;
        }
        QVERIFY(opacity != nullptr);
        QImage before = window->shot();
        opacity->click();
        QTRY_VERIFY(window->view->opacityPopover()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(window->shot() != before, 5000);
        QVERIFY(panel->rect().contains(window->view->opacityPopover()->geometry()));
        save(window->shot(), u"opacity-small.png"_qs);
        opacity->click();

        before = window->shot();
        window->session->retry();
        qobject_cast<FakeNativePlayer *>(window->session->player())
            ->emitStatus(window->session->player()->currentItem(), NativePlayer::Status::failed,
                         PlatformError{PlatformError::Domain::urlLoading,
                                       PlatformError::cannotConnectToHost, QString()});
        QVERIFY(status->showingFailure());
        QVERIFY(panel->rect().contains(status->geometry()));
        QTRY_VERIFY_WITH_TIMEOUT(window->shot() != before, 5000);
        save(window->shot(), u"failure-small.png"_qs);
    }
};

QTEST_MAIN(TestPlayerViewLook)
#include "itst_playerviewlook.moc"

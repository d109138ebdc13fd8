#include "ui/PlayerView.h"
#include "ui/VolumePopover.h"

#include "MediaGenerator.h"
#include "WindowHarness.h"

#include "platform/MpvPlayer.h"

#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace {
const QColor clipColour(40, 170, 90);

int brightness(const QColor &colour) { return colour.red() + colour.green() + colour.blue(); }
} // namespace

// The overlay drawn over the real mpv picture: what the X server shows where the window is
// (the window has an alpha channel, which a grab of the window itself does not handle).
class TestPlayerViewLook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The clip shows between the bars, which darken the picture under them without hiding
    // it; an open panel lies inside the window, dark and opaque.
    void controlsOverPlayingVideo()
    {
        const QString clip = MediaGenerator::colourClip(clipColour, 20.0, {640, 360}, false);
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        WindowHarness::Options options;
        options.source = MediaSource(QUrl::fromLocalFile(clip), MediaKind::localFile, u"Evening clip"_qs, QString());
        options.view = true;
        options.players = [] { return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::render, MpvPlayer::AudioOutput::none); };
        WindowHarness window(options);
        window.session().setControlsPinned(true);
        QVERIFY(window.present());
        const QWidget &panel = window.window();
        const auto shot = [&panel] {
            return panel.screen()->grabWindow(0, panel.x(), panel.y(), panel.width(), panel.height()).toImage();
        };
        const auto near = [&](const QPoint &point) {
            const QColor c = shot().pixelColor(point);
            return qAbs(c.red() - clipColour.red()) + qAbs(c.green() - clipColour.green()) + qAbs(c.blue() - clipColour.blue()) < 48;
        };
        QTRY_VERIFY_WITH_TIMEOUT(near(panel.rect().center()), 15000);
        auto *topBar = window.view()->findChild<QWidget *>(u"topBar"_qs);
        const QColor underBar = shot().pixelColor(topBar->mapTo(&panel, QPoint(topBar->width() / 2 + 40, topBar->height() - 6)));
        QVERIFY2(brightness(underBar) < brightness(clipColour) * 3 / 4 && brightness(underBar) > 0, qPrintable(underBar.name()));

        window.button(u"Volume"_qs)->click();
        VolumePopover *popover = window.view()->volumePopover();
        QVERIFY(panel.rect().contains(popover->geometry()));
        const QPoint inPopover = popover->mapTo(&panel, QPoint(6, popover->height() / 2));
        QTRY_VERIFY_WITH_TIMEOUT(brightness(shot().pixelColor(inPopover)) < 120, 5000);
    }
};

QTEST_MAIN(TestPlayerViewLook)
#include "itst_playerviewlook.moc"

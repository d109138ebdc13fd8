#include "ui/PlayerView.h"

#include "MediaGenerator.h"
#include "WindowHarness.h"

#include "mpvplayer/MpvPlayer.h"

#include <QScreen>
#include <QTest>

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
    // The clip shows between the bars, which darken the picture under them without hiding it.
    void controlsOverPlayingVideo()
    {
        const QString clip = MediaGenerator::colourClip(clipColour, 20.0, {640, 360}, false);
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        WindowHarness window({.source = MediaSource(QUrl::fromLocalFile(clip), MediaKind::localFile, u"Evening clip"_qs, QString()),
                              .players = [] { return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::automatic, MpvPlayer::AudioOutput::none); },
                              .view = true});
        window.session().setControlsPinned(true);
        QVERIFY(window.present());
        const QWidget &panel = window.window();
        const auto shot = [&panel] {
            return panel.screen()->grabWindow(0, panel.x(), panel.y(), panel.width(), panel.height()).toImage();
        };
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(brightness(shot().pixelColor(panel.rect().center())) - brightness(clipColour)) < 48, 15000);
        auto *topBar = window.view()->findChild<QWidget *>(u"topBar"_qs);
        const QColor underBar = shot().pixelColor(topBar->mapTo(&panel, QPoint(topBar->width() / 2 + 40, topBar->height() - 6)));
        QVERIFY2(brightness(underBar) < brightness(clipColour) * 3 / 4 && brightness(underBar) > 0, qPrintable(underBar.name()));
    }
};

QTEST_MAIN(TestPlayerViewLook)
#include "itst_playerviewlook.moc"

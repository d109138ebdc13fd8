#include "MediaGenerator.h"
#include "platform/MpvPlayer.h"
#include "platform/MpvVideoWidget.h"

#include <QImage>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Status = NativePlayer::Status;

namespace {

constexpr int loadTimeout = 15000;

bool near(const QColor &actual, const QColor &expected)
{
    constexpr int tolerance = 40;
    return qAbs(actual.red() - expected.red()) < tolerance
        && qAbs(actual.green() - expected.green()) < tolerance
        && qAbs(actual.blue() - expected.blue()) < tolerance;
}

std::unique_ptr<MpvPlayer> renderingPlayer()
{
    return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::render, MpvPlayer::AudioOutput::none);
}

MpvVideoWidget *showWidget(MpvPlayer &player)
{
    auto *widget = qobject_cast<MpvVideoWidget *>(player.createVideoWidget(nullptr));
    if (!widget)
        return nullptr;
    widget->resize(320, 180);
    widget->show();
    if (!QTest::qWaitForWindowExposed(widget))
        return nullptr;
    return widget;
}

} // namespace

class TestMpvVideoWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsTheClip_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("widgetAfterLoading");
        QTest::newRow("red") << QColor(Qt::red) << false;
        QTest::newRow("blue") << QColor(Qt::blue) << false;
        QTest::newRow("surface created after the item") << QColor(Qt::green) << true;
    }

    void drawsTheClip()
    {
        QFETCH(QColor, colour);
        QFETCH(bool, widgetAfterLoading);
        const QString clip = MediaGenerator::colourClip(colour, 3.0);
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        auto player = renderingPlayer();
        std::unique_ptr<MpvVideoWidget> widget;
        if (!widgetAfterLoading)
            widget.reset(showWidget(*player));
        player->load(QUrl::fromLocalFile(clip));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        if (widgetAfterLoading)
            widget.reset(showWidget(*player));
        QVERIFY(widget);
        QVERIFY(widget->hasRenderContext());
        QSignalSpy frames(widget.get(), &MpvVideoWidget::frameRendered);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 3, loadTimeout);

        const QImage image = widget->grabFramebuffer();
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        QVERIFY2(near(centre, colour), qPrintable(centre.name()));
        widget.reset();
    }

    void teardownInEitherOrder_data()
    {
        QTest::addColumn<bool>("playerFirst");
        QTest::newRow("surface first") << false;
        QTest::newRow("player first") << true;
    }

    void teardownInEitherOrder()
    {
        QFETCH(bool, playerFirst);
        auto player = renderingPlayer();
        std::unique_ptr<MpvVideoWidget> widget(showWidget(*player));
        QVERIFY(widget);
        QSignalSpy frames(widget.get(), &MpvVideoWidget::frameRendered);
        player->load(QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red, 3.0)));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(!frames.isEmpty(), loadTimeout);

        if (playerFirst) {
            player.reset();
            QVERIFY(!widget->hasRenderContext());
            // The orphaned surface still paints (nothing) without touching mpv.
            widget->update();
            QVERIFY(!widget->grabFramebuffer().isNull());
            widget.reset();
        } else {
            widget.reset();
            // The player keeps working without a surface, also for a new item.
            player->load(QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::blue, 3.0)));
            QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
            player->seek(1.0, NativePlayer::SeekMode::exact);
            QTRY_COMPARE(player->currentTime(), 1.0);
            player.reset();
        }
    }

    void headlessPlayerGivesPlainSurface()
    {
        MpvPlayer player(MpvPlayer::VideoOutput::none, MpvPlayer::AudioOutput::none);
        std::unique_ptr<QWidget> widget(player.createVideoWidget(nullptr));
        QVERIFY(widget);
        QVERIFY(!qobject_cast<MpvVideoWidget *>(widget.get()));
    }
};

QTEST_MAIN(TestMpvVideoWidget)
#include "itst_mpvvideowidget.moc"

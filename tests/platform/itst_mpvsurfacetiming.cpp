#include "MediaGenerator.h"
#include "platform/MpvPlayer.h"
#include "platform/MpvVideoWidget.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Status = NativePlayer::Status;

namespace {

constexpr int loadTimeout = 15000;
// The timing varies from run to run; each case is repeated to give the race its chances.
constexpr int rounds = 4;

// When the video surface appears, relative to the item.
enum class SurfaceAt { afterDelay, afterReady, afterPlaying };

bool near(const QColor &actual, const QColor &expected)
{
    constexpr int tolerance = 40;
    return qAbs(actual.red() - expected.red()) < tolerance
        && qAbs(actual.green() - expected.green()) < tolerance
        && qAbs(actual.blue() - expected.blue()) < tolerance;
}

QColor centreOf(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

std::unique_ptr<MpvPlayer> renderingPlayer()
{
    return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::render, MpvPlayer::AudioOutput::none);
}

// Remembers every failure the player reports, however briefly it lasts.
class FailureWatch final
{
public:
    explicit FailureWatch(MpvPlayer &player)
    {
        QObject::connect(&player, &NativePlayer::statusChanged, &m_context, [this, &player] {
            if (player.status() == Status::failed)
                m_failures.append(player.error() ? player.error()->description : QStringLiteral("?"));
        });
    }
    bool failed() const { return !m_failures.isEmpty(); }
    QByteArray text() const { return m_failures.join(u"; ").toUtf8(); }

private:
    QObject m_context;
    QStringList m_failures;
};

} // namespace

Q_DECLARE_METATYPE(SurfaceAt)

class TestMpvSurfaceTiming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_dir.isValid(), "no temporary folder");
        for (const QString &clip : {MediaGenerator::colourClip(Qt::red, 4.0),
                                    MediaGenerator::colourClip(Qt::green, 4.0, {320, 180}, false),
                                    MediaGenerator::toneClip(4.0)})
            QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
    }

    void playsWhenSurfaceAppearsLate_data()
    {
        QTest::addColumn<QString>("clip");
        // Invalid for media without a picture.
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<SurfaceAt>("moment");
        QTest::addColumn<int>("delayMs");
        const struct {
            const char *name;
            QString clip;
            QColor colour;
        } media[] = {
            {"sound and picture", MediaGenerator::colourClip(Qt::red, 4.0), QColor(Qt::red)},
            {"picture only", MediaGenerator::colourClip(Qt::green, 4.0, {320, 180}, false), QColor(Qt::green)},
            {"sound only", MediaGenerator::toneClip(4.0), QColor()},
        };
        for (const auto &[name, clip, colour] : media) {
            for (const int delay : {0, 3, 15, 60, 200}) {
                QTest::addRow("%s, after %d ms", name, delay) << clip << colour << SurfaceAt::afterDelay << delay;
            }
            QTest::addRow("%s, once ready", name) << clip << colour << SurfaceAt::afterReady << 0;
            QTest::addRow("%s, once playing", name) << clip << colour << SurfaceAt::afterPlaying << 0;
        }
    }

    void playsWhenSurfaceAppearsLate()
    {
        QFETCH(QString, clip);
        QFETCH(QColor, colour);
        QFETCH(SurfaceAt, moment);
        QFETCH(int, delayMs);
        for (int round = 0; round < rounds; ++round) {
            auto player = renderingPlayer();
            const FailureWatch watch(*player);
            player->load(QUrl::fromLocalFile(clip));
            switch (moment) {
            case SurfaceAt::afterDelay:
                // Lets mpv get as far as it gets before the surface exists.
                if (delayMs > 0)
                    QTest::qWait(delayMs);
                break;
            case SurfaceAt::afterReady:
                QTRY_VERIFY_WITH_TIMEOUT(player->status() != Status::unknown, loadTimeout);
                break;
            case SurfaceAt::afterPlaying:
                QTRY_VERIFY_WITH_TIMEOUT(player->status() != Status::unknown, loadTimeout);
                player->play();
                QTRY_VERIFY2_WITH_TIMEOUT(player->currentTime() > 0.2 || watch.failed(), watch.text(),
                                          loadTimeout);
                break;
            }
            QVERIFY2(!watch.failed(), watch.text());

            std::unique_ptr<MpvVideoWidget> widget(showWidget(*player));
            QVERIFY(widget);
            QSignalSpy frames(widget.get(), &MpvVideoWidget::frameRendered);
            QTRY_VERIFY2_WITH_TIMEOUT(player->status() != Status::unknown, watch.text(), loadTimeout);
            QVERIFY2(!watch.failed(), watch.text());
            QCOMPARE(player->status(), Status::readyToPlay);
            QVERIFY(widget->hasRenderContext());

            const double startedAt = player->currentTime();
            player->play();
            QTRY_VERIFY2_WITH_TIMEOUT(player->currentTime() > startedAt + 0.3 || watch.failed(), watch.text(),
                                      loadTimeout);
            if (colour.isValid()) {
                QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 3, loadTimeout);
                const QColor centre = centreOf(widget->grabFramebuffer());
                QVERIFY2(near(centre, colour), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(centre.name())));
            }
            QVERIFY2(!watch.failed(), watch.text());
        }
    }

    void readiesWithoutSurface_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("hiddenWidget");
        const QString sound = MediaGenerator::colourClip(Qt::red, 4.0);
        const QString silent = MediaGenerator::colourClip(Qt::green, 4.0, {320, 180}, false);
        const QString tone = MediaGenerator::toneClip(4.0);
        QTest::newRow("sound and picture, no widget") << sound << QColor(Qt::red) << false;
        QTest::newRow("picture only, no widget") << silent << QColor(Qt::green) << false;
        QTest::newRow("sound only, no widget") << tone << QColor() << false;
        QTest::newRow("sound and picture, hidden widget") << sound << QColor(Qt::red) << true;
        QTest::newRow("picture only, hidden widget") << silent << QColor(Qt::green) << true;
        QTest::newRow("sound only, hidden widget") << tone << QColor() << true;
    }

    void readiesWithoutSurface()
    {
        QFETCH(QString, clip);
        QFETCH(QColor, colour);
        QFETCH(bool, hiddenWidget);
        for (int round = 0; round < rounds; ++round) {
            auto player = renderingPlayer();
            const FailureWatch watch(*player);
            std::unique_ptr<QWidget> widget;
            if (hiddenWidget)
                widget.reset(player->createVideoWidget(nullptr));
            player->load(QUrl::fromLocalFile(clip));
            QTRY_VERIFY2_WITH_TIMEOUT(player->status() != Status::unknown, watch.text(), loadTimeout);
            QVERIFY2(!watch.failed(), watch.text());
            QCOMPARE(player->status(), Status::readyToPlay);

            player->play();
            QTRY_VERIFY2_WITH_TIMEOUT(player->currentTime() > 0.5 || watch.failed(), watch.text(), loadTimeout);
            QVERIFY2(!watch.failed(), watch.text());
            if (!colour.isValid())
                continue;
            // The exact frame can be saved although nothing shows it.
            player->pause();
            QVERIFY2(saveFrameShows(*player, colour), qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    void keepsPlayingWhenSurfaceGoes_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("sound and picture") << MediaGenerator::colourClip(Qt::red, 4.0) << QColor(Qt::red);
        QTest::newRow("picture only")
            << MediaGenerator::colourClip(Qt::green, 4.0, {320, 180}, false) << QColor(Qt::green);
    }

    void keepsPlayingWhenSurfaceGoes()
    {
        QFETCH(QString, clip);
        QFETCH(QColor, colour);
        auto player = renderingPlayer();
        const FailureWatch watch(*player);
        std::unique_ptr<MpvVideoWidget> widget(showWidget(*player));
        QVERIFY(widget);
        player->load(QUrl::fromLocalFile(clip));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(player->currentTime() > 0.2, loadTimeout);

        widget.reset();
        const double leftAt = player->currentTime();
        QTRY_VERIFY2_WITH_TIMEOUT(player->currentTime() > leftAt + 0.3 || watch.failed(), watch.text(),
                                  loadTimeout);
        QVERIFY2(!watch.failed(), watch.text());
        player->pause();
        QVERIFY2(saveFrameShows(*player, colour), "no frame without a surface");

        // A new surface takes the picture over again.
        widget.reset(showWidget(*player));
        QVERIFY(widget);
        QVERIFY(widget->hasRenderContext());
        QSignalSpy frames(widget.get(), &MpvVideoWidget::frameRendered);
        player->seek(0.5, NativePlayer::SeekMode::exact);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 3, loadTimeout);
        const QColor centre = centreOf(widget->grabFramebuffer());
        QVERIFY2(near(centre, colour), qPrintable(centre.name()));
        QVERIFY2(!watch.failed(), watch.text());
    }

private:
    static MpvVideoWidget *showWidget(MpvPlayer &player)
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

    bool saveFrameShows(MpvPlayer &player, const QColor &colour)
    {
        const QString path = m_dir.filePath(QStringLiteral("frame-%1.png").arg(++m_frames));
        bool answered = false;
        bool saved = false;
        player.saveFrame(path, [&](bool ok, const QString &) {
            answered = true;
            saved = ok;
        });
        if (!QTest::qWaitFor([&] { return answered; }, loadTimeout) || !saved)
            return false;
        return near(centreOf(QImage(path)), colour);
    }

    QTemporaryDir m_dir;
    int m_frames = 0;
};

QTEST_MAIN(TestMpvSurfaceTiming)
#include "itst_mpvsurfacetiming.moc"

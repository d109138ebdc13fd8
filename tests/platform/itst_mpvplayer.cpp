#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "platform/MpvPlayer.h"

#include <QImage>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <mpv/client.h>

#include <clocale>
#include <memory>

using Status = NativePlayer::Status;
using SeekMode = NativePlayer::SeekMode;
using Domain = PlatformError::Domain;

namespace {

constexpr int loadTimeout = 15000;

std::unique_ptr<MpvPlayer> headlessPlayer()
{
    return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::none, MpvPlayer::AudioOutput::none);
}

double mpvVolume(const MpvPlayer &player)
{
    double volume = -1;
    mpv_get_property(player.mpvHandle(), "volume", MPV_FORMAT_DOUBLE, &volume);
    return volume;
}

QList<quint64> itemsOf(const QSignalSpy &spy)
{
    QList<quint64> items;
    for (const QList<QVariant> &args : spy)
        items.append(args.at(0).toULongLong());
    return items;
}

// A loopback URL on which nothing listens.
QUrl closedPortUrl()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return {};
    const quint16 port = server.serverPort();
    server.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/x.mp4").arg(port));
}

} // namespace

class TestMpvPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!MediaGenerator::colourClip(Qt::red).isEmpty(), qPrintable(MediaGenerator::lastError()));
        QVERIFY2(!MediaGenerator::numberedFrames().isEmpty(), qPrintable(MediaGenerator::lastError()));
        QVERIFY(m_server.start());
    }

    void startsUnderAnyNumericLocale_data()
    {
        QTest::addColumn<QByteArray>("locale");
        QTest::newRow("German") << QByteArray("de_DE.UTF-8");
        QTest::newRow("C") << QByteArray("C");
    }

    void startsUnderAnyNumericLocale()
    {
        QFETCH(QByteArray, locale);
        if (!std::setlocale(LC_NUMERIC, locale.constData()))
            QSKIP("locale not installed");
        auto player = headlessPlayer();
        QVERIFY(player->mpvHandle() != nullptr);
        // Numbers still reach mpv intact.
        player->setVolume(0.25);
        QCOMPARE(mpvVolume(*player), 25.0);
    }

    void readiesGeneratedClip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("duration");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("colour with audio") << MediaGenerator::colourClip(Qt::red, 2.0) << 2.0 << QSizeF(320, 180);
        QTest::newRow("pattern") << MediaGenerator::testPattern(3.0) << 3.0 << QSizeF(320, 180);
        QTest::newRow("other size, silent")
            << MediaGenerator::colourClip(Qt::blue, 2.0, {256, 144}, false) << 2.0 << QSizeF(256, 144);
    }

    void readiesGeneratedClip()
    {
        QFETCH(QString, path);
        QFETCH(double, duration);
        QFETCH(QSizeF, size);
        QVERIFY(!path.isEmpty());
        auto player = headlessPlayer();
        QSignalSpy status(player.get(), &NativePlayer::statusChanged);
        QSignalSpy sized(player.get(), &NativePlayer::presentationSizeChanged);
        const quint64 item = player->load(QUrl::fromLocalFile(path));
        QCOMPARE(player->currentItem(), item);
        QCOMPARE(player->status(), Status::unknown);

        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        QCOMPARE(itemsOf(status), QList<quint64>{item});
        QVERIFY(!player->error());
        QTRY_VERIFY(player->duration().has_value());
        QVERIFY2(qAbs(*player->duration() - duration) < 0.1, qPrintable(QString::number(*player->duration())));
        QTRY_COMPARE_WITH_TIMEOUT(player->presentationSize(), size, loadTimeout);
        QVERIFY(itemsOf(sized).contains(item));
        // A new item waits for play().
        QCOMPARE(player->rate(), 0.0);
    }

    void ticksWhilePlaying()
    {
        auto player = headlessPlayer();
        QSignalSpy ticks(player.get(), &NativePlayer::timeTick);
        const quint64 item = player->load(QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::green, 4.0)));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(!ticks.isEmpty() && ticks.last().at(1).toDouble() >= 2.0, 8000);
        double previous = -1;
        for (const QList<QVariant> &tick : std::as_const(ticks)) {
            QCOMPARE(tick.at(0).toULongLong(), item);
            QVERIFY(tick.at(1).toDouble() > previous);
            previous = tick.at(1).toDouble();
        }
        // Roughly one per second, not one per frame.
        QVERIFY2(ticks.size() <= 5, qPrintable(QString::number(ticks.size())));

        // Pausing and a seek while paused each report the position once.
        player->pause();
        QTRY_COMPARE(player->rate(), 0.0);
        ticks.clear();
        player->seek(1.0, SeekMode::exact);
        QTRY_VERIFY(!ticks.isEmpty());
        QCOMPARE(ticks.last().at(1).toDouble(), 1.0);
    }

    void exactSeekLandsOnFrame_data()
    {
        QTest::addColumn<int>("frame");
        QTest::addColumn<double>("target");
        // The first frame at or after the target is shown.
        QTest::newRow("start") << 0 << 0.0;
        QTest::newRow("on a frame") << 7 << 0.7;
        QTest::newRow("just before a frame") << 21 << 2.09;
        QTest::newRow("between frames") << 34 << 3.35;
    }

    void exactSeekLandsOnFrame()
    {
        QFETCH(int, frame);
        QFETCH(double, target);
        auto player = headlessPlayer();
        player->load(QUrl::fromLocalFile(MediaGenerator::numberedFrames()));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        QSignalSpy ticks(player.get(), &NativePlayer::timeTick);
        player->seek(target, SeekMode::exact);
        if (target > 0)
            QTRY_VERIFY(!ticks.isEmpty());
        QCOMPARE(frameAt(*player), frame);
    }

    void loopsAfterPlayingToEnd()
    {
        auto player = headlessPlayer();
        QSignalSpy ends(player.get(), &NativePlayer::playedToEnd);
        const quint64 item = player->load(QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::yellow, 1.0)));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 1, 8000);
        QCOMPARE(ends.first().at(0).toULongLong(), item);
        // The end pauses and keeps the item open.
        QTRY_COMPARE(player->rate(), 0.0);
        QCOMPARE(player->status(), Status::readyToPlay);

        QSignalSpy ticks(player.get(), &NativePlayer::timeTick);
        player->seek(0, SeekMode::exact);
        player->play();
        QTRY_VERIFY(!ticks.isEmpty() && ticks.first().at(1).toDouble() < 0.5);
        QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 2, 8000);
    }

    void failsOnBadMedia_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("code");
        QTest::newRow("missing") << (MediaGenerator::folder() + "/missing.mp4") << PlatformError::fileMissing;
        QTest::newRow("empty") << MediaGenerator::emptyFile() << PlatformError::fileEmpty;
        QTest::newRow("corrupt") << MediaGenerator::corruptFile() << PlatformError::unknownFormat;
        QTest::newRow("html") << MediaGenerator::htmlFile() << PlatformError::unknownFormat;
    }

    void failsOnBadMedia()
    {
        QFETCH(QString, path);
        QFETCH(int, code);
        auto player = headlessPlayer();
        QSignalSpy status(player.get(), &NativePlayer::statusChanged);
        const quint64 item = player->load(QUrl::fromLocalFile(path));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::failed, loadTimeout);
        QCOMPARE(itemsOf(status), QList<quint64>{item});
        QVERIFY(player->error());
        QCOMPARE(player->error()->domain, Domain::media);
        QCOMPARE(player->error()->code, code);
    }

    void classifiesNetworkFailureBesideAnotherPlayer_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<Domain>("domain");
        QTest::addColumn<int>("code");
        struct Row {
            const char *name;
            QUrl url;
            Domain domain;
            int code;
        };
        const QList<Row> rows{
            {"refused", closedPortUrl(), Domain::urlLoading, PlatformError::cannotConnectToHost},
            {"unknown host", QUrl("http://nonexistent.invalid/y.mp4"), Domain::urlLoading,
             PlatformError::cannotFindHost},
            // The host answers: the player's own account decides.
            {"404", m_server.url("/missing.mp4"), Domain::media, PlatformError::openFailed},
        };
        for (const Row &row : rows)
            QTest::newRow(row.name) << row.url << row.domain << row.code;
    }

    // FFmpeg logs to one mpv instance per process; the other players never see its lines.
    void classifiesNetworkFailureBesideAnotherPlayer()
    {
        QFETCH(QUrl, url);
        QFETCH(Domain, domain);
        QFETCH(int, code);
        auto first = headlessPlayer();
        first->load(QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red)));
        QTRY_COMPARE_WITH_TIMEOUT(first->status(), Status::readyToPlay, loadTimeout);
        first->play();
        auto second = headlessPlayer();
        QSignalSpy status(second.get(), &NativePlayer::statusChanged);
        second->load(url);
        QTRY_COMPARE_WITH_TIMEOUT(second->status(), Status::failed, loadTimeout);
        QCOMPARE(status.size(), 1);
        QVERIFY2(second->error()->domain == domain, qPrintable(second->error()->description));
        QCOMPARE(second->error()->code, code);
    }

    void replacedItemStaysSilent_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("waitForFirst");
        QTest::addColumn<QString>("second");
        QTest::addColumn<Status>("secondStatus");
        QTest::addColumn<QSizeF>("secondSize");
        const QString red = MediaGenerator::colourClip(Qt::red, 2.0);
        const QString small = MediaGenerator::colourClip(Qt::blue, 2.0, {256, 144}, false);
        const QString missing = MediaGenerator::folder() + "/missing.mp4";
        QTest::newRow("replaced while loading") << red << false << small << Status::readyToPlay << QSizeF(256, 144);
        QTest::newRow("replaced while playing") << red << true << small << Status::readyToPlay << QSizeF(256, 144);
        QTest::newRow("failing item replaced") << missing << false << red << Status::readyToPlay << QSizeF(320, 180);
        QTest::newRow("replaced by a failing item") << red << true << missing << Status::failed << QSizeF();
    }

    void replacedItemStaysSilent()
    {
        QFETCH(QString, first);
        QFETCH(bool, waitForFirst);
        QFETCH(QString, second);
        QFETCH(Status, secondStatus);
        QFETCH(QSizeF, secondSize);
        auto player = headlessPlayer();
        const quint64 old = player->load(QUrl::fromLocalFile(first));
        if (waitForFirst) {
            QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
            player->play();
            QTRY_COMPARE(player->rate(), 1.0);
        }
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (auto signal : {&NativePlayer::statusChanged, &NativePlayer::rateChanged,
                            &NativePlayer::presentationSizeChanged, &NativePlayer::durationChanged,
                            &NativePlayer::playedToEnd})
            spies.push_back(std::make_unique<QSignalSpy>(player.get(), signal));
        QSignalSpy ticks(player.get(), &NativePlayer::timeTick);

        const quint64 item = player->load(QUrl::fromLocalFile(second));
        QVERIFY(item > old);
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), secondStatus, loadTimeout);
        QCOMPARE(player->error().has_value(), secondStatus == Status::failed);
        if (!secondSize.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(player->presentationSize(), secondSize, loadTimeout);
        for (const auto &spy : spies)
            QVERIFY2(!itemsOf(*spy).contains(old), spy->signal().constData());
        QVERIFY(!itemsOf(ticks).contains(old));
        QCOMPARE(itemsOf(*spies.front()), QList<quint64>{item});
    }

    void framesOnlyFromReadyItem()
    {
        auto player = headlessPlayer();
        bool called = false;
        bool succeeded = true;
        player->saveFrame(m_dir.filePath("none.png"), [&](bool ok, const QString &) {
            called = true;
            succeeded = ok;
        });
        QVERIFY(!called);
        QTRY_VERIFY(called);
        QVERIFY(!succeeded);
    }

    void destroyingIsHarmless_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("waitForReady");
        QTest::newRow("loading a file") << QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red)) << false;
        QTest::newRow("connecting") << closedPortUrl() << false;
        QTest::newRow("with a frame request") << QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red)) << true;
    }

    void destroyingIsHarmless()
    {
        QFETCH(QUrl, url);
        QFETCH(bool, waitForReady);
        auto player = headlessPlayer();
        QPointer<MpvPlayer> watch(player.get());
        player->load(url);
        bool frameAnswered = false;
        if (waitForReady) {
            QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
            player->saveFrame(m_dir.filePath("late.png"), [&](bool, const QString &) { frameAnswered = true; });
        }
        player.reset();
        QVERIFY(watch.isNull());
        // Whatever mpv had queued is dropped with the player.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QVERIFY(!frameAnswered);
    }

    void unloadEndsTheItem()
    {
        auto player = headlessPlayer();
        QSignalSpy status(player.get(), &NativePlayer::statusChanged);
        player->load(QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red)));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        player->play();
        player->unload();
        QCOMPARE(player->currentItem(), quint64(0));
        QCOMPARE(player->rate(), 0.0);
        QCOMPARE(player->status(), Status::unknown);
        // A later item still loads.
        const quint64 next = player->load(QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red)));
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::readyToPlay, loadTimeout);
        QCOMPARE(status.last().at(0).toULongLong(), next);
    }

private:
    int frameAt(MpvPlayer &player)
    {
        const QString path = m_dir.filePath(QStringLiteral("frame-%1.png").arg(++m_frames));
        bool answered = false;
        bool saved = false;
        player.saveFrame(path, [&](bool ok, const QString &) {
            answered = true;
            saved = ok;
        });
        if (!QTest::qWaitFor([&] { return answered; }, 10000) || !saved)
            return -2;
        const QImage image(path);
        if (image.isNull())
            return -3;
        return MediaGenerator::frameNumberOf(image.pixelColor(image.width() / 2, image.height() / 2));
    }

    QTemporaryDir m_dir;
    LocalHttpServer m_server;
    int m_frames = 0;
};

QTEST_MAIN(TestMpvPlayer)
#include "itst_mpvplayer.moc"

#include "LocalHttpServer.h"
#include "MediaGenerator.h"
#include "mpvplayer/MpvPlayer.h"
#include "mpvplayer/MpvVideoWidget.h"

#include <QtTest>

using Status = NativePlayer::Status;
using Domain = PlatformError::Domain;
using Told = QList<QVariantList>;

constexpr int loadTimeout = 15000;
constexpr auto exact = NativePlayer::SeekMode::exact;

static QUrl clip(const QColor &colour, bool sound = true, QSize size = {320, 180}, double seconds = 4.0)
{
    return QUrl::fromLocalFile(MediaGenerator::colourClip(colour, seconds, size, sound));
}

static bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 80;
}

static MpvVideoWidget *shownSurface(MpvPlayer &player)
{
    auto *widget = qobject_cast<MpvVideoWidget *>(player.createVideoWidget(nullptr));
    widget->resize(320, 180);
    widget->show();
    return QTest::qWaitForWindowExposed(widget) ? widget : nullptr;
}

// Whether the surface shows the colour once a few more frames went through it.
static bool draws(MpvVideoWidget *widget, const QColor &colour)
{
    QSignalSpy frames(widget, &MpvVideoWidget::frameRendered);
    return widget && widget->hasRenderContext() && QTest::qWaitFor([&frames] { return frames.size() >= 3; }, loadTimeout)
        && near(widget->grab().toImage().pixelColor(160, 90), colour);
}

class TestMpvPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // FFmpeg logs to the first mpv instance of the process only: the other players here
    // run beside this one, as a second window's player does.
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_beside->load(clip(Qt::red));
        QVERIFY(playsOn(*m_beside));
    }

    // A new item is told once, with its length and size, and waits for play(). An exact
    // seek lands on the first frame at or after the target, and is told. Playing ticks about
    // once a second; at the end the item pauses and stays open, so playing on after a seek
    // ends it again. After unload nothing is current and no frame can be taken (told later,
    // never at once).
    void playsSeeksAndEnds()
    {
        auto player = headless();
        QSignalSpy status(player.get(), &NativePlayer::statusChanged);
        QSignalSpy sized(player.get(), &NativePlayer::presentationSizeChanged);
        QSignalSpy ticks(player.get(), &NativePlayer::timeTick);
        QSignalSpy ends(player.get(), &NativePlayer::playedToEnd);
        const quint64 item = player->load(QUrl::fromLocalFile(MediaGenerator::numberedFrames()));
        QCOMPARE(std::pair(player->currentItem(), player->status()), std::pair(item, Status::unknown));
        QTRY_COMPARE_WITH_TIMEOUT(player->presentationSize(), QSizeF(320, 180), loadTimeout);
        QTRY_VERIFY(qAbs(player->duration().value_or(0) - 4.0) < 0.1);
        QVERIFY(status == Told{{item}} && sized.contains({item}) && player->rate() == 0.0);
        for (const auto &[target, frame] : QList<std::pair<double, int>>{{0.7, 7}, {3.35, 34}, {0, 0}, {2.09, 21}}) {
            ticks.clear();
            player->seek(target, exact);
            QTRY_VERIFY(!ticks.isEmpty());
            QCOMPARE(MediaGenerator::frameNumberOf(savedFrame(*player)), frame);
        }
        ticks.clear();
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(ends, Told{{item}}, 8000);
        QTRY_COMPARE(player->rate(), 0.0);
        QVERIFY2(ticks.size() >= 1 && ticks.size() <= 3, qPrintable(QString::number(ticks.size())));
        for (qsizetype i = 0; i < ticks.size(); ++i)
            QVERIFY(ticks[i][0] == item && (i == 0 || ticks[i][1].toDouble() > ticks[i - 1][1].toDouble()));
        player->seek(3.5, exact);
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(std::pair(ends.size(), player->status()), std::pair(2ll, Status::readyToPlay), 8000);
        player->unload();
        QCOMPARE(std::tuple(player->currentItem(), player->rate(), player->status()), std::tuple(0ull, 0.0, Status::unknown));
        std::optional<bool> saved;
        player->saveFrame(m_dir.filePath("none.png"), [&saved](bool ok, const QString &) { saved = ok; });
        QVERIFY(!saved);
        QTRY_COMPARE(saved, std::optional(false));
    }

    // The tracks of a file with two audio tracks and a subtitle inside, plus the subtitle
    // file of the same name beside it, which comes along by itself and is shown. Picking a track or
    // turning subtitles off shows in the list.
    void tracks()
    {
        const auto listed = [](const NativePlayer &player) {
            QStringList lines;
            for (const NativePlayer::Track &t : player.tracks())
                lines << u"%1 %2 %3 %4%5"_qs.arg(t.type == NativePlayer::TrackType::audio ? "a" : "s").arg(t.id)
                             .arg(t.language, t.isExternal ? u"file"_qs : t.title, t.isSelected ? u" *"_qs : QString());
            return lines.join(u", "_qs);
        };
        auto player = headless();
        const QString clip = MediaGenerator::multiTrackClip();
        QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
        player->load(QUrl::fromLocalFile(clip));
        QTRY_COMPARE_WITH_TIMEOUT(player->tracks().size(), 4, loadTimeout);
        QTRY_COMPARE(listed(*player), u"a 1 eng Main *, a 2 spa Comentario, s 1 eng , s 2  file *"_qs);
        player->selectTrack(NativePlayer::TrackType::audio, 2);
        player->selectTrack(NativePlayer::TrackType::subtitle, std::nullopt);
        QTRY_COMPARE(listed(*player), u"a 1 eng Main, a 2 spa Comentario *, s 1 eng , s 2  file"_qs);
        player->addSubtitleFile(MediaGenerator::folder() + u"/inside.srt"_qs);
        QTRY_COMPARE(listed(*player), u"a 1 eng Main, a 2 spa Comentario *, s 1 eng , s 2  file, s 3  file *"_qs);
    }

    // A link's own log never says why it failed (the other player gets FFmpeg's lines): its
    // host is asked. When the host answers, the player's own account decides, here without
    // the lines that would name the 404.
    void failsToLoad()
    {
        const QList<std::tuple<QUrl, Domain, int>> rows{
            {QUrl::fromLocalFile(MediaGenerator::folder() + "/missing.mp4"), Domain::media, PlatformError::fileMissing},
            {QUrl::fromLocalFile(MediaGenerator::emptyFile()), Domain::media, PlatformError::fileEmpty},
            {QUrl::fromLocalFile(MediaGenerator::htmlFile()), Domain::media, PlatformError::unknownFormat},
            // The server listens on 127.0.0.1 only.
            {QUrl(m_server.url("/x.mp4").toString().replace("127.0.0.1", "127.0.0.2")), Domain::urlLoading,
             PlatformError::cannotConnectToHost},
            {QUrl("http://nonexistent.invalid/y.mp4"), Domain::urlLoading, PlatformError::cannotFindHost},
            {m_server.url("/missing.mp4"), Domain::media, PlatformError::openFailed}};
        for (const auto &[url, domain, code] : rows) {
            auto player = headless();
            QSignalSpy status(player.get(), &NativePlayer::statusChanged);
            const quint64 item = player->load(url);
            QTRY_COMPARE_WITH_TIMEOUT(player->status(), Status::failed, loadTimeout);
            QCOMPARE(std::pair(url, player->error()->code), std::pair(url, code));
            QVERIFY2(player->error()->domain == domain && status == Told{{item}}, qPrintable(url.toString()));
        }
    }

    // A replaced item's news, of its failure above all, never passes for the new item's,
    // whether it was loading, playing or failing; a new item that fails is told once.
    void replacedItemStaysSilent()
    {
        const QUrl missing = QUrl::fromLocalFile(MediaGenerator::folder() + "/missing.mp4");
        const QUrl small = clip(Qt::blue, false, {256, 144});
        const QList<std::tuple<QUrl, bool, QUrl, QSizeF>> rows{{clip(Qt::red), false, small, {256, 144}},
            {clip(Qt::red), true, small, {256, 144}}, {missing, false, clip(Qt::red), {320, 180}}, {clip(Qt::red), true, missing, {}}};
        for (const auto &[first, playFirst, second, size] : rows) {
            auto player = headless();
            player->load(first);
            QVERIFY(!playFirst || playsOn(*player));
            QSignalSpy status(player.get(), &NativePlayer::statusChanged);
            const quint64 item = player->load(second);
            QTRY_COMPARE_WITH_TIMEOUT(player->status(), size.isEmpty() ? Status::failed : Status::readyToPlay, loadTimeout);
            QTRY_COMPARE_WITH_TIMEOUT(player->presentationSize(), size, loadTimeout);
            QCOMPARE(status, Told{{item}});
        }
    }

    // mpv's render output fails an item whose file opens before a render context exists,
    // and freeing a context the output still uses drops the picture track: an item with
    // nothing but a picture failed either way. It plays, and exact frames are saved, with a
    // surface that is not shown yet and after the shown one went; a surface shown while it
    // loads or plays draws it, and so does a new one. The player may go first. Both ways of
    // drawing behave alike.
    void pictureOnlyItemWithLateSurface()
    {
        // Red and blue apart: a picture with its bytes in the wrong order looks blue.
        const QColor orange(240, 120, 10);
        struct Row {
            MpvPlayer::VideoOutput output;
            bool whileLoading;
        };
        for (const auto &[output, whileLoading] : {Row{MpvPlayer::VideoOutput::openGL, true}, Row{MpvPlayer::VideoOutput::openGL, false},
                                                   Row{MpvPlayer::VideoOutput::software, true}, Row{MpvPlayer::VideoOutput::software, false}}) {
            auto player = std::make_unique<MpvPlayer>(output, MpvPlayer::AudioOutput::none);
            std::unique_ptr<QWidget> hidden(player->createVideoWidget(nullptr));
            player->load(clip(orange, false));
            std::unique_ptr<MpvVideoWidget> widget(whileLoading ? shownSurface(*player) : nullptr);
            QVERIFY(playsOn(*player) && near(savedFrame(*player), orange));
            if (!widget)
                widget.reset(shownSurface(*player));
            QVERIFY(playsOn(*player) && draws(widget.get(), orange));
            widget.reset();
            QVERIFY(playsOn(*player) && near(savedFrame(*player), orange));
            widget.reset(shownSurface(*player));
            QVERIFY(playsOn(*player) && draws(widget.get(), orange));
            player.reset();
            widget->update();
            QVERIFY(!widget->hasRenderContext() && !widget->grab().isNull());
        }
    }

    // A hidden or minimised surface draws nothing, and playback goes on: time and sound do
    // not wait for pictures nobody sees. Shown again, it draws.
    void playsOnWhileSurfaceHidden()
    {
        for (const auto output : {MpvPlayer::VideoOutput::openGL, MpvPlayer::VideoOutput::software}) {
            auto player = std::make_unique<MpvPlayer>(output, MpvPlayer::AudioOutput::none);
            std::unique_ptr<MpvVideoWidget> widget(shownSurface(*player));
            player->load(clip(Qt::blue, true, {320, 180}, 10.0));
            QVERIFY(playsOn(*player) && draws(widget.get(), Qt::blue));
            widget->hide();
            const double hiddenAt = player->currentTime();
            QTRY_VERIFY_WITH_TIMEOUT(player->currentTime() > hiddenAt + 1.0, loadTimeout);
            widget->show();
            QVERIFY(draws(widget.get(), Qt::blue));
        }
    }

private:
    static std::unique_ptr<MpvPlayer> headless()
    {
        return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::none, MpvPlayer::AudioOutput::none);
    }

    // Whether the item, once ready, plays on for a while without failing.
    static bool playsOn(MpvPlayer &player)
    {
        const auto ready = [&player] { return player.status() == Status::readyToPlay; };
        if (!QTest::qWaitFor(ready, loadTimeout))
            return false;
        player.play();
        const double from = player.currentTime();
        return QTest::qWaitFor([&] { return player.currentTime() > from + 0.3 || !ready(); }, loadTimeout) && ready();
    }

    // The centre of the exact frame saved at the current position, paused there.
    QColor savedFrame(MpvPlayer &player)
    {
        player.pause();
        const QString path = m_dir.filePath(QStringLiteral("%1.png").arg(++m_frames));
        std::optional<bool> saved;
        player.saveFrame(path, [&saved](bool ok, const QString &) { saved = ok; });
        if (!QTest::qWaitFor([&saved] { return saved.has_value(); }, loadTimeout) || !*saved)
            return {};
        const QImage image(path);
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

    QTemporaryDir m_dir;
    LocalHttpServer m_server;
    std::unique_ptr<MpvPlayer> m_beside = headless();
    int m_frames = 0;
};

QTEST_MAIN(TestMpvPlayer)
#include "itst_mpvplayer.moc"

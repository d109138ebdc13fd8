#include "FakeNativePlayer.h"
#include "MediaGenerator.h"
#include "platform/MpvPlayer.h"

#include <QSignalSpy>
#include <QTest>

#include <mpv/client.h>

#include <memory>

using Status = NativePlayer::Status;

// The fake stands in for the mpv player in session tests, so both must answer commands
// the same way, and at once: callers read rate() right after play() or pause().
class TestNativePlayerContract : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_clip = MediaGenerator::colourClip(Qt::red, 2.0);
        QVERIFY2(!m_clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
    }

    void commands_data()
    {
        QTest::addColumn<bool>("real");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("volume");
        QTest::addColumn<int>("rateSignals");

        struct Row {
            const char *name;
            QStringList steps;
            double rate;
            double volume;
            int rateSignals;
        };
        const QList<Row> rows{
            {"play", {"play"}, 1.0, 1.0, 1},
            {"faster while playing", {"play", "rate 2"}, 2.0, 1.0, 2},
            {"speed survives a pause", {"rate 2", "pause", "play"}, 2.0, 1.0, 3},
            {"rate 0 pauses", {"play", "rate 0"}, 0.0, 1.0, 2},
            {"negative rate pauses", {"play", "rate -1"}, 0.0, 1.0, 2},
            {"not a number ignored", {"play", "rate nan"}, 1.0, 1.0, 1},
            {"pausing when paused", {"pause"}, 0.0, 1.0, 0},
            {"volume above full", {"volume 1.7"}, 0.0, 1.0, 0},
            {"volume below silence", {"volume -0.5"}, 0.0, 0.0, 0},
            {"volume inside", {"volume 0.3"}, 0.0, 0.3, 0},
            {"volume not a number keeps the last", {"volume 0.4", "volume nan"}, 0.0, 0.4, 0},
            {"volume infinite keeps the last", {"volume 0.4", "volume inf"}, 0.0, 0.4, 0},
        };
        for (const bool real : {false, true}) {
            for (const Row &row : rows) {
                QTest::addRow("%s, %s", real ? "mpv" : "fake", row.name)
                    << real << row.steps << row.rate << row.volume << row.rateSignals;
            }
        }
    }

    void commands()
    {
        QFETCH(bool, real);
        QFETCH(QStringList, steps);
        QFETCH(double, rate);
        QFETCH(double, volume);
        QFETCH(int, rateSignals);

        std::unique_ptr<NativePlayer> player = makeReadyPlayer(real);
        QVERIFY(player);
        QSignalSpy rates(player.get(), &NativePlayer::rateChanged);
        for (const QString &step : std::as_const(steps))
            apply(*player, step);
        QCOMPARE(player->rate(), rate);
        QCOMPARE(player->volume(), volume);
        QCOMPARE(rates.size(), rateSignals);
        for (const QList<QVariant> &args : std::as_const(rates))
            QCOMPARE(args.at(0).toULongLong(), player->currentItem());
        if (real) {
            double mpvVolume = -1;
            mpv_get_property(static_cast<MpvPlayer *>(player.get())->mpvHandle(), "volume",
                             MPV_FORMAT_DOUBLE, &mpvVolume);
            QCOMPARE(mpvVolume, volume * 100.0);
        }
    }

private:
    std::unique_ptr<NativePlayer> makeReadyPlayer(bool real)
    {
        const QUrl url = QUrl::fromLocalFile(m_clip);
        if (!real) {
            auto fake = std::make_unique<FakeNativePlayer>();
            fake->emitStatus(fake->load(url), Status::readyToPlay);
            return fake;
        }
        auto mpv = std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::none, MpvPlayer::AudioOutput::none);
        mpv->load(url);
        MpvPlayer *raw = mpv.get();
        if (!QTest::qWaitFor([raw] { return raw->status() == Status::readyToPlay; }, 15000))
            return nullptr;
        return mpv;
    }

    static void apply(NativePlayer &player, const QString &step)
    {
        const QStringList words = step.split(' ');
        const double value = words.size() > 1 ? number(words.at(1)) : 0.0;
        if (words.first() == u"play")
            player.play();
        else if (words.first() == u"pause")
            player.pause();
        else if (words.first() == u"rate")
            player.setRate(value);
        else if (words.first() == u"volume")
            player.setVolume(value);
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }

    static double number(const QString &text)
    {
        if (text == u"nan")
            return std::numeric_limits<double>::quiet_NaN();
        if (text == u"inf")
            return std::numeric_limits<double>::infinity();
        return text.toDouble();
    }

    QString m_clip;
};

QTEST_MAIN(TestNativePlayerContract)
#include "itst_nativeplayercontract.moc"

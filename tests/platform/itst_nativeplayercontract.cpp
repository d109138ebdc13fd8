#include "FakeNativePlayer.h"
#include "MediaGenerator.h"
#include "mpvplayer/MpvPlayer.h"

#include <QtTest>

#include <mpv/client.h>

using Status = NativePlayer::Status;

// The fake stands in for the mpv player in session tests, so both must answer commands
// the same way, and at once: callers read rate() right after play() or pause().
class TestNativePlayerContract : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commands()
    {
        // Steps: p play, s pause (stop), r rate, v volume, with the value; then rate, volume
        // and the number of rate signals.
        const QList<std::tuple<QList<std::pair<char, double>>, double, double, qsizetype>> rows{
            {{{'p', 0}}, 1.0, 1.0, 1},
            {{{'p', 0}, {'r', 2}}, 2.0, 1.0, 2},
            {{{'r', 2}, {'s', 0}, {'p', 0}}, 2.0, 1.0, 3},
            {{{'p', 0}, {'r', -1}}, 0.0, 1.0, 2},
            {{{'p', 0}, {'r', qQNaN()}}, 1.0, 1.0, 1},
            {{{'s', 0}}, 0.0, 1.0, 0},
            {{{'v', 1.7}}, 0.0, 1.0, 0},
            {{{'v', -0.5}}, 0.0, 0.0, 0},
            {{{'v', 0.4}, {'v', qQNaN()}}, 0.0, 0.4, 0},
        };
        const QUrl clip = QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red));
        for (const auto &[steps, rate, volume, rateSignals] : rows) {
            FakeNativePlayer fake;
            fake.emitStatus(fake.load(clip), Status::readyToPlay);
            MpvPlayer mpv(MpvPlayer::VideoOutput::none, MpvPlayer::AudioOutput::none);
            mpv.load(clip);
            QTRY_COMPARE_WITH_TIMEOUT(mpv.status(), Status::readyToPlay, 15000);
            for (NativePlayer *player : std::initializer_list<NativePlayer *>{&fake, &mpv}) {
                QSignalSpy rates(player, &NativePlayer::rateChanged);
                for (const auto &[command, value] : steps)
                    command == 'p' ? player->play() : command == 's' ? player->pause()
                                     : command == 'r' ? player->setRate(value) : player->setVolume(value);
                const bool real = player == &mpv;
                QCOMPARE(std::tuple(real, player->rate(), player->volume()), std::tuple(real, rate, volume));
                QCOMPARE(rates, QList<QVariantList>(rateSignals, {player->currentItem()}));
            }
            double percent = -1;
            mpv_get_property(mpv.mpvHandle(), "volume", MPV_FORMAT_DOUBLE, &percent);
            QCOMPARE(percent, volume * 100);
        }
    }
};

QTEST_MAIN(TestNativePlayerContract)
#include "itst_nativeplayercontract.moc"

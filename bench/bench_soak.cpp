// Soak: eight player windows of the real application (mpv, the player view, the window
// controller) kept open while windows are closed and opened again, one per cycle, each new
// one waited for until it plays. Prints PSS, open file descriptors and threads every 50
// cycles and the growth after the first 50 (the warm-up: caches, fonts, GL).
//   bench_soak [cycles=1000]
#include "app/AppModel.h"
#include "platform/DesktopWorkspace.h"
#include "mpvplayer/MpvPlayer.h"
#include "webengine/QtWebPage.h"
#include "settings/Preferences.h"
#include "ui/PlayerView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstdio>

namespace {

constexpr int windows = 8;
constexpr int reportEvery = 50;
constexpr int readyLimitMs = 30000;

struct Sample {
    qint64 pssKb = 0;
    qsizetype fds = 0;
    int threads = 0;
};

qint64 statusField(const QString &file, const QByteArray &field)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : input.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

Sample sample()
{
    return {statusField(QStringLiteral("/proc/self/smaps_rollup"), "Pss:"),
            QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size(),
            int(statusField(QStringLiteral("/proc/self/status"), "Threads:"))};
}

// Eight distinct clips (the model refuses a second window for an open link).
QStringList makeClips(const QString &folder)
{
    QStringList clips;
    for (int n = 0; n < windows + 1; ++n) {
        const QString path = QStringLiteral("%1/soak-%2.mp4").arg(folder).arg(n);
        QProcess::execute(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                                      QStringLiteral("testsrc=s=640x360:r=25:d=30"), "-f", "lavfi", "-i",
                                                      "sine=d=30", "-shortest", "-c:v", "libx264", "-c:a", "aac", path});
        clips << path;
    }
    return clips;
}

bool waitUntilReady(const AppModel &model)
{
    return QTest::qWaitFor([&model] {
        const PlaybackSession *newest = model.sessions().isEmpty() ? nullptr : model.sessions().last();
        return newest && newest->state().isReady() && newest->isPlaying();
    }, readyLimitMs);
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        qputenv(name, home.path().toUtf8());
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    const int cycles = argc > 1 ? std::max(QByteArray(argv[1]).toInt(), reportEvery) : 1000;

    QSettings settings(home.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    Preferences preferences(settings);
    DesktopWorkspace workspace;
    AppModel model({preferences, settings, workspace, home.filePath(QStringLiteral("history.json")),
                    home.filePath(QStringLiteral("playlist.json")),
                    [] { return std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::automatic, MpvPlayer::AudioOutput::none); },
                    [] { return std::make_unique<QtWebPage>(); },
                    [&preferences](PlayerWindowController &controller) {
                        return new PlayerView(controller.session(), controller, preferences);
                    }});
    const QStringList clips = makeClips(home.path());
    for (int n = 0; n < windows; ++n) {
        model.open(clips.at(n));
        if (!waitUntilReady(model))
            return std::fprintf(stderr, "window %d never played\n", n), 1;
    }

    QElapsedTimer clock;
    clock.start();
    Sample baseline;
    std::printf("cycle   PSS MB   fds  threads  seconds\n");
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        // The oldest goes, the clip it played comes back as the newest.
        PlaybackSession *oldest = model.sessions().first();
        const QString clip = oldest->source().url().toLocalFile();
        model.close(*oldest);
        const bool closed = QTest::qWaitFor([&model] { return model.sessions().size() < windows; }, readyLimitMs);
        model.open(clip);
        if (!closed || !waitUntilReady(model))
            return std::fprintf(stderr, "cycle %d: the new window never played\n", cycle), 1;
        if (cycle % reportEvery != 0)
            continue;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const Sample now = sample();
        if (cycle == reportEvery)
            baseline = now;
        std::printf("%5d %8.1f %5lld %8d %8.1f\n", cycle, double(now.pssKb) / 1024.0, qlonglong(now.fds), now.threads,
                    double(clock.elapsed()) / 1000.0);
        std::fflush(stdout);
    }
    const Sample end = sample();
    std::printf("after cycle %d: PSS %+.1f MB, fds %+lld, threads %+d (goal: PSS under +20 MB)\n", reportEvery,
                double(end.pssKb - baseline.pssKb) / 1024.0, qlonglong(end.fds - baseline.fds), end.threads - baseline.threads);
    return 0;
}

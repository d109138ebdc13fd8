// Native playback against bare mpv on the same 1080p file, same GL video output:
//   first frame  player creation -> first frame drawn (ours: the GL widget's first
//                frame; mpv: "first video frame ... shown" in its own timed log)
//   CPU          user+system time to create, open and play 10 s
// Runs alternate between the two so that both see the same machine state.
#include "platform/MpvPlayer.h"
#include "platform/MpvVideoWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int runs = 5;
constexpr double playSeconds = 10.0;
constexpr int waitLimitMs = 60000;
const QStringList mpvOutput{"--vo=gpu", "--gpu-context=x11egl", "--ao=null", "--no-config",
                            "--geometry=1280x720", "--msg-time", "-v"};

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval &time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QString makeClip(const QTemporaryDir &dir)
{
    const QString path = dir.filePath("hd.mp4");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi",
                            "-i", "testsrc2=s=1920x1080:r=30:d=14", "-f", "lavfi", "-i",
                            "sine=frequency=440:duration=14", "-c:v", "libx264", "-preset",
                            "veryfast", "-crf", "23", "-pix_fmt", "yuv420p", "-c:a", "aac",
                            "-shortest", path});
    if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0)
        return {};
    return path;
}

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > waitLimitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct Ours {
    std::unique_ptr<MpvPlayer> player;
    std::unique_ptr<MpvVideoWidget> widget;
    bool framed = false;
};

Ours startOurs(const QString &clip)
{
    Ours ours;
    ours.player = std::make_unique<MpvPlayer>(MpvPlayer::VideoOutput::render, MpvPlayer::AudioOutput::none);
    ours.widget.reset(qobject_cast<MpvVideoWidget *>(ours.player->createVideoWidget(nullptr)));
    ours.widget->resize(1280, 720);
    QObject::connect(ours.widget.get(), &MpvVideoWidget::frameRendered, [&framed = ours.framed] { framed = true; });
    ours.widget->show();
    // The surface comes up before the item, as when a window opens with its player.
    MpvVideoWidget *widget = ours.widget.get();
    waitFor([widget] { return widget->hasRenderContext(); });
    ours.player->load(QUrl::fromLocalFile(clip));
    ours.player->play();
    return ours;
}

std::optional<double> oursFirstFrame(const QString &clip)
{
    QElapsedTimer timer;
    timer.start();
    Ours ours = startOurs(clip);
    if (!waitFor([&] { return ours.framed; }))
        return std::nullopt;
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

std::optional<double> oursCpu(const QString &clip)
{
    const double before = cpuSeconds(RUSAGE_SELF);
    {
        Ours ours = startOurs(clip);
        MpvPlayer *player = ours.player.get();
        if (!waitFor([player] { return player->currentTime() >= playSeconds; }))
            return std::nullopt;
    }
    return cpuSeconds(RUSAGE_SELF) - before;
}

std::optional<double> mpvFirstFrame(const QString &clip)
{
    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::MergedChannels);
    mpv.start("mpv", mpvOutput + QStringList{"--frames=1", clip});
    if (!mpv.waitForFinished(waitLimitMs))
        return std::nullopt;
    static const QRegularExpression shown(R"(\[\s*([0-9.]+)\]\s*\[cplayer\] first video frame after restart shown)");
    const QRegularExpressionMatch match = shown.match(QString::fromLocal8Bit(mpv.readAll()));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toDouble();
}

std::optional<double> mpvCpu(const QString &clip)
{
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::MergedChannels);
    mpv.start("mpv", mpvOutput + QStringList{QStringLiteral("--end=%1").arg(playSeconds), clip});
    if (!mpv.waitForFinished(waitLimitMs) || mpv.exitCode() != 0)
        return std::nullopt;
    return cpuSeconds(RUSAGE_CHILDREN) - before;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char *what, const std::vector<double> &ours, const std::vector<double> &mpv)
{
    const double a = median(ours);
    const double b = median(mpv);
    std::printf("%-12s ours %.3f s   mpv %.3f s   ratio %.2f\n", what, a, b, a / b);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = makeClip(dir);
    if (clip.isEmpty()) {
        std::fprintf(stderr, "could not generate the clip\n");
        return 1;
    }
    std::vector<double> oursFrame, mpvFrame, oursCpuTime, mpvCpuTime;
    for (int run = 0; run < runs; ++run) {
        const auto a = oursFirstFrame(clip);
        const auto b = mpvFirstFrame(clip);
        const auto c = oursCpu(clip);
        const auto d = mpvCpu(clip);
        if (!a || !b || !c || !d) {
            std::fprintf(stderr, "run %d failed (%d %d %d %d)\n", run, bool(a), bool(b), bool(c), bool(d));
            return 1;
        }
        std::printf("run %d: first frame ours %.3f mpv %.3f; cpu ours %.2f mpv %.2f\n", run, *a, *b, *c, *d);
        std::fflush(stdout);
        oursFrame.push_back(*a);
        mpvFrame.push_back(*b);
        oursCpuTime.push_back(*c);
        mpvCpuTime.push_back(*d);
    }
    report("first frame", oursFrame, mpvFrame);
    report("cpu 10 s", oursCpuTime, mpvCpuTime);
    return 0;
}

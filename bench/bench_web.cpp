// A web page with a looping 720p video, side by side in one run:
//   bare     a QWebEngineView showing the page, nothing else
//   window   a Lumivane player window: session on the engine page, its overlay, its polling
//   no poll  the same window with web control takeover off (no media polling)
// CPU is user+system time of this process and every process below it (the engine renders
// in child processes), over the same stretch of playback. Runs alternate so that each
// sees the same machine state. For the window, the media-state poll's own cost is timed
// in-process: main-thread CPU inside the evaluation call and its answer, and the round trip.
#include "LocalHttpServer.h"
#include "settings/Preferences.h"
#include "webengine/QtWebPage.h"
#include "playback/PlaybackSession.h"
#include "playback/WebEnhancer.h"
#include "ui/PlayerView.h"
#include "windows/PlayerWindowController.h"
#include "windows/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int pairs = 3;
constexpr int waitLimitMs = 60000;
// Playback settles (decoder up, first frames drawn) before the measured stretch starts.
constexpr int settleMs = 2000;
// Ended processes of one run must not be counted in the next.
constexpr int pauseBetweenRunsMs = 3000;

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct ProcStat {
    pid_t parent = 0;
    double cpu = 0;
};

// utime + stime of one process from /proc/<pid>/stat.
std::optional<ProcStat> readStat(pid_t pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.readAll();
    // The command name is in parentheses and may hold spaces: fields start after the last ')'.
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    // After the name: state(0) ppid(1) ... utime(11) stime(12).
    if (fields.size() < 13)
        return std::nullopt;
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    return ProcStat{static_cast<pid_t>(fields.at(1).toInt()),
                    (fields.at(11).toDouble() + fields.at(12).toDouble()) / tick};
}

// CPU seconds of this process and all its live descendants.
double treeCpuSeconds()
{
    QHash<pid_t, ProcStat> all;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const pid_t pid = static_cast<pid_t>(entry.toInt(&number));
        if (!number)
            continue;
        if (const std::optional<ProcStat> stat = readStat(pid))
            all.insert(pid, *stat);
    }
    const pid_t self = getpid();
    const auto descends = [&all, self](pid_t pid) {
        for (int depth = 0; depth < 64 && pid > 1; ++depth) {
            if (pid == self)
                return true;
            pid = all.value(pid).parent;
        }
        return false;
    };
    double total = 0;
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (descends(it.key()))
            total += it->cpu;
    }
    return total;
}

bool waitFor(const std::function<bool()> &done, int limitMs = waitLimitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Runs the event loop for ms without spinning, so that the loop itself costs nothing.
void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString makeClip(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("clip.mp4"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                  "testsrc2=s=1280x720:r=30:d=10", "-c:v", "libx264", "-preset", "veryfast",
                  "-crf", "23", "-pix_fmt", "yuv420p", "-an", path});
    if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0)
        return {};
    return path;
}

const QByteArray pageHtml =
    "<!doctype html><html style='overflow:hidden'><body style='margin:0;background:#000'>"
    "<video src='/clip.mp4' autoplay loop muted style='display:block;width:100vw;height:100vh'></video>"
    "</body></html>";

// Times every evaluation of the media-state script on the page it wraps.
class TimedWebPage final : public WebPage
{
public:
    struct Totals {
        int polls = 0;
        double callCpu = 0;
        double answerCpu = 0;
        double roundTrip = 0;
    };

    explicit TimedWebPage(std::shared_ptr<Totals> totals)
        : m_totals(std::move(totals))
    {
        for (auto signal : {&WebPage::loadStarted, &WebPage::loadFinished,
                            &WebPage::renderProcessTerminated})
            connect(&m_page, signal, this, signal);
        connect(&m_page, &WebPage::loadFailed, this, &WebPage::loadFailed);
        connect(&m_page, &WebPage::newWindowRequested, this, &WebPage::newWindowRequested);
        connect(&m_page, &WebPage::urlChanged, this, &WebPage::urlChanged);
    }

    void setUserScripts(const QList<UserScript> &scripts) override { m_page.setUserScripts(scripts); }
    void setCompatibilityMode(bool on) override { m_page.setCompatibilityMode(on); }
    void setNavigationPolicy(NavigationPolicy policy) override
    {
        m_page.setNavigationPolicy(std::move(policy));
    }
    void load(const QUrl &url, std::chrono::milliseconds timeout) override { m_page.load(url, timeout); }
    void loadBlank() override { m_page.loadBlank(); }
    void stopLoading() override { m_page.stopLoading(); }
    void goBack() override { m_page.goBack(); }
    void goForward() override { m_page.goForward(); }
    void reload() override { m_page.reload(); }
    bool canGoBack() const override { return m_page.canGoBack(); }
    bool canGoForward() const override { return m_page.canGoForward(); }
    QUrl url() const override { return m_page.url(); }
    QString title() const override { return m_page.title(); }
    void takeSnapshot(SnapshotCallback callback) override { m_page.takeSnapshot(std::move(callback)); }
    QWidget *view() const override { return m_page.view(); }

    void runJavaScript(const QString &script, ScriptCallback callback = {}) override
    {
        if (script != WebEnhancer::mediaStateScript() || !callback) {
            m_page.runJavaScript(script, std::move(callback));
            return;
        }
        const std::shared_ptr<Totals> totals = m_totals;
        QElapsedTimer sent;
        sent.start();
        const double before = threadCpuSeconds();
        m_page.runJavaScript(script, [totals, sent, callback](const QVariant &result) {
            totals->roundTrip += static_cast<double>(sent.nsecsElapsed()) / 1e9;
            const double start = threadCpuSeconds();
            callback(result);
            totals->answerCpu += threadCpuSeconds() - start;
            ++totals->polls;
        });
        totals->callCpu += threadCpuSeconds() - before;
    }

private:
    QtWebPage m_page;
    std::shared_ptr<Totals> m_totals;
};

struct Measure {
    double cpu = 0;
    std::optional<TimedWebPage::Totals> poll;
};

// CPU of the whole process tree over seconds of playback, once playing() says it plays;
// started and ended run at the edges of the measured stretch.
std::optional<double> measure(const std::function<bool()> &playing, double seconds,
                              const std::function<void()> &started = [] {},
                              const std::function<void()> &ended = [] {})
{
    if (!waitFor(playing))
        return std::nullopt;
    spin(settleMs);
    started();
    const double before = treeCpuSeconds();
    spin(static_cast<int>(seconds * 1000));
    const double used = treeCpuSeconds() - before;
    ended();
    return used;
}

// Whether the video has played past half a second, asked of the page.
bool videoPlaying(const std::function<void(const QString &, WebPage::ScriptCallback)> &run)
{
    std::optional<bool> answer;
    run(QStringLiteral("(() => { const v = document.querySelector('video'); "
                       "return !!v && v.currentTime > 0.5; })()"),
        [&answer](const QVariant &value) { answer = value.toBool(); });
    waitFor([&answer] { return answer.has_value(); }, 5000);
    return answer.value_or(false);
}

std::optional<Measure> bare(const QUrl &page, double seconds)
{
    std::optional<double> cpu;
    {
        QWebEngineView view;
        view.settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        // The size of the player window below.
        view.resize(640, 386);
        view.show();
        view.load(page);
        const auto run = [&view](const QString &script, WebPage::ScriptCallback done) {
            view.page()->runJavaScript(script, [done](const QVariant &value) { done(value); });
        };
        cpu = measure([&run] { return videoPlaying(run); }, seconds);
    }
    spin(pauseBetweenRunsMs);
    if (!cpu)
        return std::nullopt;
    return Measure{*cpu, std::nullopt};
}

std::optional<Measure> window(const QUrl &page, double seconds, bool polling,
                              const QTemporaryDir &dir)
{
    std::optional<double> cpu;
    auto totals = std::make_shared<TimedWebPage::Totals>();
    TimedWebPage::Totals measured;
    {
        QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        Preferences preferences(settings);
        preferences.setWebControlTakeover(polling);
        preferences.setDefaultWidth(640);
        PlaybackSession::Dependencies dependencies{
            preferences, settings, {}, [totals] { return std::make_unique<TimedWebPage>(totals); }};
        PlaybackSession session(MediaSource(page, MediaKind::web, QStringLiteral("Bench"), QString()),
                                std::nullopt, dependencies);
        WindowPlacement placement;
        PlayerWindowController controller(
            session, settings, preferences, placement, [&session, &preferences](PlayerWindowController &owner) {
                return new PlayerView(session, owner, preferences);
            });
        controller.present();
        const auto run = [&session](const QString &script, WebPage::ScriptCallback done) {
            if (WebPage *webPage = session.webPage())
                webPage->runJavaScript(script, std::move(done));
        };
        cpu = measure([&] { return session.state().isReady() && videoPlaying(run); }, seconds,
                      [&totals] { *totals = {}; }, [&] { measured = *totals; });
        controller.close();
    }
    spin(pauseBetweenRunsMs);
    if (!cpu)
        return std::nullopt;
    Measure result{*cpu, std::nullopt};
    if (polling)
        result.poll = measured;
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(1.0, QString::fromLocal8Bit(argv[1]).toDouble()) : 10.0;
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    const QString clip = makeClip(dir);
    if (clip.isEmpty()) {
        std::fprintf(stderr, "could not generate the clip\n");
        return 1;
    }
    LocalHttpServer server(dir.path());
    server.addPage(QStringLiteral("/page.html"), pageHtml);
    if (!server.start()) {
        std::fprintf(stderr, "could not start the page server\n");
        return 1;
    }
    const QUrl page = server.url(QStringLiteral("/page.html"));

    std::vector<double> bareCpu, windowCpu, quietCpu, pollShare, roundTripShare;
    for (int pair = 0; pair < pairs; ++pair) {
        const auto a = bare(page, seconds);
        const auto b = window(page, seconds, true, dir);
        const auto c = window(page, seconds, false, dir);
        if (!a || !b || !c || !b->poll) {
            std::fprintf(stderr, "run %d failed (%d %d %d)\n", pair, bool(a), bool(b), bool(c));
            return 1;
        }
        const TimedWebPage::Totals &poll = *b->poll;
        const double inProcess = (poll.callCpu + poll.answerCpu) / seconds * 100;
        const double roundTrip = poll.roundTrip / seconds * 100;
        std::printf("run %d: cpu bare %.2f s, window %.2f s, window without polling %.2f s; "
                    "%d polls, in-process %.3f %% of a core, round trips %.3f %% of wall time\n",
                    pair, a->cpu, b->cpu, c->cpu, poll.polls, inProcess, roundTrip);
        std::fflush(stdout);
        bareCpu.push_back(a->cpu);
        windowCpu.push_back(b->cpu);
        quietCpu.push_back(c->cpu);
        pollShare.push_back(inProcess);
        roundTripShare.push_back(roundTrip);
    }
    const double bareMedian = median(bareCpu);
    std::printf("cpu over %.0f s (median)  bare %.2f s   window %.2f s   ratio %.2f (target <= 1.10)\n",
                seconds, bareMedian, median(windowCpu), median(windowCpu) / bareMedian);
    std::printf("window without polling %.2f s   ratio %.2f\n", median(quietCpu),
                median(quietCpu) / bareMedian);
    std::printf("media poll: in-process %.3f %% of one core (target < 1 %%), round trips %.3f %% "
                "of wall time\n",
                median(pollShare), median(roundTripShare));
    return 0;
}

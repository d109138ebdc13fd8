// Start-up against a minimal Qt Widgets window, under an X server with a window manager:
//   start  fork+exec -> the first top-level window mapped on the screen, read from the
//          X server itself (MapNotify on the root, so the window manager's frame counts)
//   pss    Pss summed over the program and its child processes, 2 s after that
// Programs are given as name=path; the first is the baseline. Each run gets a fresh home
// and XDG folders, and runs alternate so that all see the same machine state.
//   bench_start [--runs N] baseline=PATH lumivane=PATH [before=PATH ...]
#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int settleMs = 2000;
constexpr int mapLimitMs = 20000;
constexpr int quitLimitMs = 5000;

struct Program {
    std::string name;
    std::string path;
    std::vector<double> startMs;
    std::vector<double> pssMb;
};

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::string makeHome()
{
    char pattern[] = "/tmp/lumivane-bench-start.XXXXXX";
    const std::string home = mkdtemp(pattern);
    for (const char *sub : {"/config", "/data", "/cache", "/runtime"})
        std::filesystem::create_directory(home + sub);
    std::filesystem::permissions(home + "/runtime", std::filesystem::perms::owner_all);
    return home;
}

pid_t launch(const std::string &path, const std::string &home)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    setpgid(0, 0);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
    execl(path.c_str(), path.c_str(), static_cast<char *>(nullptr));
    _exit(127);
}

// Waits for the first ordinary (not override-redirect) window mapped on the root.
std::optional<double> waitForMap(xcb_connection_t *x, double deadline)
{
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (nowMs() < deadline) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(x)) {
            const double at = nowMs();
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY
                && !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
            free(event);
            if (mapped)
                return at;
        }
        poll(&fd, 1, 50);
    }
    return std::nullopt;
}

std::map<int, int> parents()
{
    std::map<int, int> result;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        int parent = 0;
        rest >> state >> parent;
        result[std::stoi(name)] = parent;
    }
    return result;
}

double pssMb(pid_t root)
{
    const std::map<int, int> tree = parents();
    std::set<int> members{root};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto &[pid, parent] : tree) {
            if (members.count(parent) && members.insert(pid).second)
                grew = true;
        }
    }
    double kb = 0;
    for (int pid : members) {
        std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
        for (std::string line; std::getline(rollup, line);) {
            if (line.rfind("Pss:", 0) == 0)
                kb += std::stod(line.substr(4));
        }
    }
    return kb / 1024.0;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    const double deadline = nowMs() + quitLimitMs;
    while (nowMs() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            kill(-pid, SIGKILL);
            return;
        }
        usleep(20000);
    }
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool measure(xcb_connection_t *x, Program &program)
{
    const std::string home = makeHome();
    xcb_flush(x);
    const double started = nowMs();
    const pid_t pid = launch(program.path, home);
    const std::optional<double> mapped = waitForMap(x, started + mapLimitMs);
    if (mapped) {
        program.startMs.push_back(*mapped - started);
        usleep(settleMs * 1000);
        program.pssMb.push_back(pssMb(pid));
    }
    stop(pid);
    // Windows going away must not count for the next program.
    usleep(300000);
    while (xcb_generic_event_t *event = xcb_poll_for_event(x))
        free(event);
    std::filesystem::remove_all(home);
    return mapped.has_value();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string joined(const std::vector<double> &values)
{
    std::string text;
    for (double value : values) {
        if (!text.empty())
            text += ',';
        text += std::to_string(static_cast<int>(value + 0.5));
    }
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 5;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            continue;
        }
        const auto equals = arg.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "usage: bench_start [--runs N] baseline=PATH name=PATH...\n");
            return 2;
        }
        programs.push_back({arg.substr(0, equals), arg.substr(equals + 1), {}, {}});
    }
    if (programs.size() < 2 || runs < 1) {
        std::fprintf(stderr, "usage: bench_start [--runs N] baseline=PATH name=PATH...\n");
        return 2;
    }
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "bench_start: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    for (int run = 0; run < runs; ++run) {
        for (Program &program : programs) {
            if (!measure(x, program))
                std::fprintf(stderr, "bench_start: %s mapped no window\n", program.name.c_str());
        }
    }
    const double baseline = programs.front().startMs.empty() ? 0 : median(programs.front().startMs);
    for (const Program &program : programs) {
        if (program.startMs.empty())
            continue;
        std::printf("start %s median_ms=%.0f runs=%s\n", program.name.c_str(),
                    median(program.startMs), joined(program.startMs).c_str());
    }
    for (size_t i = 1; i < programs.size(); ++i) {
        if (!programs[i].startMs.empty() && baseline > 0)
            std::printf("start ratio %s/%s=%.2f\n", programs[i].name.c_str(),
                        programs.front().name.c_str(), median(programs[i].startMs) / baseline);
    }
    for (const Program &program : programs) {
        if (!program.pssMb.empty())
            std::printf("pss %s home_mb=%.1f runs=%s\n", program.name.c_str(),
                        median(program.pssMb), joined(program.pssMb).c_str());
    }
    xcb_disconnect(x);
    return 0;
}

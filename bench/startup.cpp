// Time from process start to the first mapped top-level window, and peak
// resident memory, of a program against a bare Qt window, alternating runs.
// Needs an X display (scripts/bench-startup.sh runs it under Xvfb).
//   bench_startup PROGRAM BARE [RUNS]
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample
{
    double ms = -1;
    long rssKb = -1;
};

long peakRssKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

Sample run(xcb_connection_t *connection, const char *program)
{
    Sample sample;
    char *const argv[] = {const_cast<char *>(program), nullptr};
    pid_t pid = 0;
    const auto start = Clock::now();
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return sample;
    // The first top-level window that the new client maps.
    const auto deadline = start + std::chrono::seconds(20);
    while (Clock::now() < deadline && sample.ms < 0) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (!map->override_redirect)
                sample.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
        std::free(event);
    }
    // Let it settle, then read its peak memory before ending it.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    sample.rssKb = peakRssKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
        std::free(event);
    return sample;
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup PROGRAM BARE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 10;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "bench_startup: no X display\n");
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> programMs, bareMs;
    std::vector<long> programRss, bareRss;
    run(connection, argv[2]); // warm the file cache for both
    run(connection, argv[1]);
    for (int i = 0; i < runs; ++i) {
        const Sample p = run(connection, argv[1]);
        const Sample b = run(connection, argv[2]);
        if (p.ms < 0 || b.ms < 0) {
            std::fprintf(stderr, "bench_startup: a window did not appear\n");
            return 1;
        }
        programMs.push_back(p.ms);
        bareMs.push_back(b.ms);
        programRss.push_back(p.rssKb);
        bareRss.push_back(b.rssKb);
        std::printf("run %d: %.1f ms, %ld kB; bare %.1f ms, %ld kB\n", i + 1, p.ms, p.rssKb, b.ms,
                    b.rssKb);
    }
    xcb_disconnect(connection);
    const double w = median(programMs), b = median(bareMs);
    std::printf("startup: %.1f ms vs %.1f ms bare (ratio %.2f), RSS %ld kB vs %ld kB\n", w, b,
                w / b, median(programRss), median(bareRss));
    return 0;
}

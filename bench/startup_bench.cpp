// Start-up as a person sees it, measured from outside the process on the X server it draws on:
// from the launch to the first pixels of the program's 412 × 743 window (an X DAMAGE report on
// that window), and the program's resident memory once it has been at rest for a second.
//
//   startup-bench <rounds> <program> <bare> <floor>
//
// Run it on a private X server without a window manager (make bench uses xvfb-run). Each round
// launches the three programs one after the other, in an order that rotates from round to round,
// so that every yardstick runs as often before the program as after it. Medians are reported,
// with the program's ratios to the bare Qt window and to the floor (the same content and nothing
// else).

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 412;
constexpr int kHeight = 743;
constexpr int kRestMs = 1000;
constexpr int kLaunchTimeoutMs = 20000;

long long monotonicMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000LL + now.tv_nsec / 1000;
}

struct Sample {
    double firstPixelsMs = 0;
    double restMb = 0;
    double peakMb = 0;
};

// VmRSS and VmHWM of a live process, in megabytes.
bool readMemory(pid_t pid, Sample& sample) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    int found = 0;
    while (std::getline(status, line)) {
        long kb = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %ld kB", &kb) == 1) {
            sample.restMb = kb / 1024.0;
            ++found;
        } else if (std::sscanf(line.c_str(), "VmHWM: %ld kB", &kb) == 1) {
            sample.peakMb = kb / 1024.0;
            ++found;
        }
    }
    return found == 2;
}

class XServer {
  public:
    bool connect() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_))
            return false;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present)
            return false;
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(connection_,
                                            xcb_damage_query_version(connection_, 1, 1), nullptr));
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        sync();
        return true;
    }
    ~XServer() {
        if (connection_)
            xcb_disconnect(connection_);
    }

    // Waits for a top-level window of the main window's size to be mapped, then for the first
    // pixels drawn into it; the time they were reported, or 0 on a time-out.
    long long waitForFirstPixels(long long deadline) {
        xcb_window_t target = XCB_NONE;
        while (monotonicMicroseconds() < deadline) {
            xcb_generic_event_t* event = nextEvent(deadline);
            if (!event)
                continue;
            std::unique_ptr<xcb_generic_event_t, decltype(&free)> owned(event, free);
            const int type = event->response_type & 0x7f;
            if (type == XCB_MAP_NOTIFY && target == XCB_NONE) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (hasMainWindowSize(map->window)) {
                    // The window's background is None, so mapping it draws nothing: the first
                    // damage is the program's own first frame. The damage object is created
                    // before the program can have drawn: it waits for an Expose first.
                    target = map->window;
                    xcb_damage_create(connection_, xcb_generate_id(connection_), target,
                                      XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    xcb_flush(connection_);
                }
            } else if (type == damageEvent_ && target != XCB_NONE) {
                const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                if (damage->drawable == target)
                    return monotonicMicroseconds();
            }
        }
        return 0;
    }

    // Lets events go by for a while (the root repainted where a window went away, and so on).
    void drain(int milliseconds) {
        const long long until = monotonicMicroseconds() + milliseconds * 1000LL;
        while (monotonicMicroseconds() < until)
            free(nextEvent(until));
    }

  private:
    void sync() {
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    bool hasMainWindowSize(xcb_window_t window) {
        auto* geometry =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        const bool match = geometry && geometry->width == kWidth && geometry->height == kHeight;
        free(geometry);
        return match;
    }

    xcb_generic_event_t* nextEvent(long long deadline) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
            return event;
        pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        const long long left = (deadline - monotonicMicroseconds()) / 1000;
        if (left > 0)
            poll(&fd, 1, static_cast<int>(std::min<long long>(left, 50)));
        return xcb_poll_for_event(connection_);
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    int damageEvent_ = -1;
};

bool launch(XServer& x, const char* program, Sample& sample) {
    const long long launchedAt = monotonicMicroseconds();
    const pid_t child = fork();
    if (child == 0) {
        // What the programs print (Qt's notes about the session) is not part of the measure.
        if (const int quiet = open("/dev/null", O_WRONLY); quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0)
        return false;
    const long long shownAt = x.waitForFirstPixels(launchedAt + kLaunchTimeoutMs * 1000LL);
    bool ok = shownAt != 0;
    if (ok) {
        sample.firstPixelsMs = (shownAt - launchedAt) / 1000.0;
        x.drain(kRestMs);
        ok = readMemory(child, sample);
    } else {
        std::fprintf(stderr, "%s: no window of %d × %d drawn within %d s\n", program, kWidth,
                     kHeight, kLaunchTimeoutMs / 1000);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    x.drain(150);
    return ok;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double column(const std::vector<Sample>& samples, double Sample::*field) {
    std::vector<double> values;
    for (const Sample& s : samples)
        values.push_back(s.*field);
    return median(values);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <rounds> <program> <bare> <floor>\n", argv[0]);
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const std::array<const char*, 3> programs{argv[2], argv[3], argv[4]};
    const std::array<const char*, 3> names{"program", "bare Qt window", "floor"};
    XServer x;
    if (!x.connect()) {
        std::fprintf(stderr, "no X server with the DAMAGE extension (run under xvfb-run)\n");
        return 1;
    }
    std::array<std::vector<Sample>, 3> samples;
    Sample ignored;
    for (const char* program : programs) // once each, so that the page cache holds all three
        if (!launch(x, program, ignored))
            return 1;
    for (int round = 0; round < rounds; ++round)
        for (int k = 0; k < 3; ++k) {
            const int which = (round + k) % 3;
            Sample sample;
            if (!launch(x, programs[which], sample))
                return 1;
            samples[which].push_back(sample);
        }

    std::printf("launch to first pixels on the X server, %d rounds (medians)\n", rounds);
    std::printf("%-16s %12s %12s %12s\n", "", "time ms", "at rest MB", "peak MB");
    for (int k = 0; k < 3; ++k)
        std::printf("%-16s %12.1f %12.1f %12.1f\n", k == 0 ? programs[0] : names[k],
                    column(samples[k], &Sample::firstPixelsMs), column(samples[k], &Sample::restMb),
                    column(samples[k], &Sample::peakMb));
    const auto ratio = [&](int k, double Sample::*field) {
        return column(samples[0], field) / column(samples[k], field);
    };
    for (int k : {1, 2}) {
        const bool floor = k == 2;
        std::printf("against the %-14s time %.3f%s  memory at rest %.3f%s  peak %.3f\n", names[k],
                    ratio(k, &Sample::firstPixelsMs), floor ? " (goal <= 1.05)" : "",
                    ratio(k, &Sample::restMb), floor ? " (goal <= 1.10)" : "",
                    ratio(k, &Sample::peakMb));
    }
    return 0;
}

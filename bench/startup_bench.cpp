// Start-up benchmark: launches a bare one-window Qt program and velaro-paint alternately, and
// reports the median launch-to-first-frame time and peak memory of each and their ratios.
//   startup-bench <bare> <program> [runs]
// Run it under a display (xvfb-run -a). Plain C++ and POSIX: it measures whole processes.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Sample {
    double firstFrameMs = 0;
    double peakMb = 0;
    double restMb = 0;
};

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool launch(const char* program, Sample& sample) {
    int out[2];
    if (pipe(out) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        setenv("VELARO_BENCH_T0", std::to_string(monotonicNanoseconds()).c_str(), 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    long long firstFrameUs = 0;
    long restKb = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(text.c_str(), "first_frame_us=%lld rest_rss_kb=%ld", &firstFrameUs, &restKb) != 2)
        return false;
    sample.firstFrameMs = firstFrameUs / 1000.0;
    sample.peakMb = usage.ru_maxrss / 1024.0;
    sample.restMb = restKb / 1024.0;
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <bare> <program> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 21;
    std::vector<Sample> bare, program;
    // One warm-up of each so that the page cache holds both, then alternate.
    Sample ignored;
    if (!launch(argv[1], ignored) || !launch(argv[2], ignored)) {
        std::fprintf(stderr, "a program failed to start or to report\n");
        return 1;
    }
    for (int i = 0; i < runs; ++i) {
        Sample a, b;
        const bool ok = (i % 2 == 0) ? launch(argv[1], a) && launch(argv[2], b)
                                     : launch(argv[2], b) && launch(argv[1], a);
        if (!ok) {
            std::fprintf(stderr, "run %d failed\n", i);
            return 1;
        }
        bare.push_back(a);
        program.push_back(b);
    }
    const auto column = [](const std::vector<Sample>& samples, double Sample::*field) {
        std::vector<double> values;
        for (const Sample& s : samples)
            values.push_back(s.*field);
        return median(values);
    };
    const double bareFrame = column(bare, &Sample::firstFrameMs);
    const double frame = column(program, &Sample::firstFrameMs);
    const double barePeak = column(bare, &Sample::peakMb);
    const double peak = column(program, &Sample::peakMb);
    const double bareRest = column(bare, &Sample::restMb);
    const double rest = column(program, &Sample::restMb);
    std::printf("%d alternating runs each (medians)\n", runs);
    std::printf("launch to first frame: bare %.1f ms, velaro-paint %.1f ms, ratio %.2f (goal <= 1.50)\n",
                bareFrame, frame, frame / bareFrame);
    std::printf("peak memory:           bare %.1f MB, velaro-paint %.1f MB, ratio %.2f (goal <= 1.35)\n",
                barePeak, peak, peak / barePeak);
    std::printf("resident at rest:      bare %.1f MB, velaro-paint %.1f MB, ratio %.2f\n", bareRest,
                rest, rest / bareRest);
    return 0;
}

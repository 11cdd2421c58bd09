#pragma once
// Attached to the program by its benchmark build (velaro-paint-bench): reports the time from launch
// (VELARO_BENCH_T0, CLOCK_MONOTONIC nanoseconds set by the harness just before exec) to the
// window's first paint, waits until the program is at rest, then reports its resident memory
// and quits.

#include "support/resident.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace bench {

inline long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class FirstFrameReporter : public QObject {
  public:
    // `atRest` runs once the program is idle, before memory is read (extra measurements).
    explicit FirstFrameReporter(QWidget& window, std::function<void()> atRest = {})
        : QObject(&window), atRest_(std::move(atRest)) {
        const char* t0 = std::getenv("VELARO_BENCH_T0");
        launchedAt_ = t0 ? std::atoll(t0) : monotonicNanoseconds();
        window.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && firstFrameAt_ == 0) {
            firstFrameAt_ = monotonicNanoseconds();
            watched->removeEventFilter(this);
            QTimer::singleShot(1500, this, [this] { finish(); });
        }
        return false;
    }

  private:
    void finish() {
        if (atRest_)
            atRest_();
        std::printf("first_frame_us=%lld rest_rss_kb=%ld\n", (firstFrameAt_ - launchedAt_) / 1000,
                    velaro::test::residentKilobytes());
        std::fflush(stdout);
        QApplication::quit();
    }

    std::function<void()> atRest_;
    long long launchedAt_ = 0;
    long long firstFrameAt_ = 0;
};

} // namespace bench

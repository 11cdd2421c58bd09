#include "shell/quitonsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace velaro {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int wakeUp[2] = {-1, -1}; // written by the handler, read by the event loop

extern "C" void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeUp[0], &byte, 1);
    errno = saved;
}

} // namespace

QuitOnSignals::QuitOnSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeUp) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        if (::sigaction(signal, &action, nullptr) != 0)
            return;
    notifier_ = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitOnSignals::received);
}

QuitOnSignals::~QuitOnSignals() {
    // A signal from here on ends the program as the system would.
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    for (int& end : wakeUp)
        if (end >= 0)
            ::close(std::exchange(end, -1));
}

void QuitOnSignals::received() {
    char bytes[16];
    while (::read(wakeUp[1], bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
}

} // namespace velaro

// velaro-paint: painting-area calculators for building estimators.

#include "shell/application.h"
#include "shell/commandline.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable() {
#if defined(__linux__)
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (velaro::isCommandLineRequest(argc, argv))
        return velaro::runCommandLine(argc, argv);
    if (!displayAvailable()) {
        // The commands on lines of their own, to be copied without quotes.
        std::fputs("velaro-paint: нет дисплея, окна показать негде.\n"
                   "Запустите программу под Xvfb:  xvfb-run -a velaro-paint\n"
                   "или без экрана:  QT_QPA_PLATFORM=offscreen velaro-paint\n",
                   stderr);
        return 2;
    }
    return velaro::runApplication(argc, argv);
}

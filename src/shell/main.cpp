// velaro-paint: painting-area calculators for building estimators.

#include "core/fonts.h"
#include "shell/prob02.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable() {
#if defined(Q_OS_LINUX)
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
    if (!displayAvailable()) {
        std::fputs("velaro-paint: no display. Run it under Xvfb with 'xvfb-run -a velaro-paint', "
                   "or headless with 'QT_QPA_PLATFORM=offscreen velaro-paint'.\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("velaro-paint");
    QGuiApplication::setDesktopFileName(QStringLiteral(VELARO_APP_ID)); // ties windows to the entry
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/prob02.png")));
    velaro::installFontSubstitutions();

    velaro::Program program(velaro::systemDecimalSeparator());
    program.mainWindow().show();
    return QApplication::exec();
}

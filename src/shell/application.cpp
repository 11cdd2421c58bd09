#include "shell/application.h"

#include "core/fonts.h"
#include "shell/prob02.h"

#include <QApplication>
#include <QIcon>

namespace velaro {

int runApplication(int argc, char** argv, const std::function<void(QWidget&)>& started) {
    // Menus live in their windows, as the program was designed; asking the desktop for a global
    // menu bar costs a D-Bus round and megabytes for each of 27 windows.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velaro-paint"));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELARO_APP_ID)); // ties windows to the entry
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/prob02.png")));
    installFontSubstitutions();

    Program program(systemDecimalSeparator());
    program.start();
    if (started)
        started(program.mainWindow());
    return QApplication::exec();
}

} // namespace velaro

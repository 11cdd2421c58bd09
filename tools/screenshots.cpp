// Grabs the main window and every calculator to PNG files, for looking at the layout:
//   velaro-screenshots <output-dir> [form numbers...]
// Run it under Xvfb (xvfb-run -a) or with QT_QPA_PLATFORM=offscreen.

#include "core/fonts.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velaro::installFontSubstitutions();
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);
    QList<int> forms;
    for (int i = 2; i < argc; ++i)
        forms << QString::fromLocal8Bit(argv[i]).toInt();
    if (forms.isEmpty())
        for (int n = 2; n <= velaro::WindowRegistry::kLastForm; ++n)
            forms << n;

    velaro::Program program(',');
    program.mainWindow().show();
    QApplication::processEvents();
    program.mainWindow().grab().save(outDir + "/TForm1.png");
    for (int n : forms) {
        program.mainWindow().openCalculator(n - 1);
        QApplication::processEvents();
        QWidget* window = program.registry().Form(n);
        window->grab().save(QStringLiteral("%1/TForm%2.png").arg(outDir).arg(n));
    }
    // The whole screen with the first calculator beside the main window, where there is one.
    program.mainWindow().openCalculator(forms.front() - 1);
    QTimer::singleShot(300, [&] {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(outDir + "/screen.png");
        QApplication::quit();
    });
    return QApplication::exec();
}

#include "shell/application.h"

#include "core/fonts.h"
#include "core/windowframe.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/safefile.h"
#include "shell/mainwindow.h"
#include "shell/quitonsignals.h"
#include "shell/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <thread>

#if defined(VELARO_HAVE_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

namespace velaro {
namespace {

// Loading the font configuration takes as long as connecting to the display; done on a second
// thread meanwhile, the main window's first text need not wait for it.
void warmUpFontConfiguration() {
#if defined(VELARO_HAVE_FONTCONFIG)
    FcInit();
#endif
}

// Why the file cannot be opened as a sheet, or empty.
QString unreadable(const QFileInfo& file) {
    if (!file.exists())
        return readingCauseOf(ENOENT);
    if (file.isDir())
        return readingCauseOf(EISDIR);
    if (!file.isReadable())
        return readingCauseOf(EACCES);
    return {};
}

char systemDecimalSeparator() {
    const QString separator = QLocale::system().decimalPoint();
    if (separator.size() == 1 && separator[0].unicode() < 0x80)
        return static_cast<char>(separator[0].unicode());
    return ','; // a separator the fields cannot hold as one byte: fall back to the comma
}

} // namespace

bool installQtTranslations(const QLocale& locale) {
    static QPointer<QTranslator> installed;
    delete installed.data(); // a translator takes itself out of the application as it goes
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    // The catalogue is mapped, not read: this costs a file look-up or two at start-up.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = translator.release();
    return true;
}

int runApplication(int argc, char** argv, const std::function<void(QWidget&)>& started) {
    std::jthread fonts(warmUpFontConfiguration);
    // Menus stay in their windows: asking the desktop for a global menu bar costs a D-Bus round
    // and megabytes for each of 27 windows.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    fonts.join();
    QApplication::setApplicationName(QStringLiteral("velaro-paint"));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELARO_APP_ID)); // ties windows to the entry
    // Sheets named on the command line (Qt's own options are taken out by now) go to this
    // program, or to the one already running, which opens them and names in a box any it cannot.
    // Where none can be read, there is nothing to start for.
    QStringList files;
    int readable = 0;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (argument.startsWith(u'-'))
            continue;
        const QFileInfo file(argument);
        files << file.absoluteFilePath();
        if (QString problem = unreadable(file); !problem.isEmpty())
            std::fputs(qPrintable(QStringLiteral("velaro-paint: %1: %2\n")
                                      .arg(QDir::toNativeSeparators(argument), problem)),
                       stderr);
        else
            ++readable;
    }
    if (!files.isEmpty() && readable == 0)
        return 1;
    SingleInstance instance;
    if (instance.handOver(files))
        return 0;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/prob02.png")));
    installFontSubstitutions();
    installQtTranslations(QLocale::system());

    Program program(systemDecimalSeparator());
    const QuitOnSignals quitOnSignals;
    program.start();
    QObject::connect(&instance, &SingleInstance::activationRequested, &program.mainWindow(),
                     [&program] { bringToFront(program.mainWindow()); }); // a later start
    QObject::connect(&instance, &SingleInstance::filesRequested, &program.estimateSheet(),
                     [&program](const QStringList& named) {
                         program.estimateSheet().openFiles(named);
                     });
    if (!files.isEmpty())
        program.estimateSheet().openFiles(files);
    if (started)
        started(program.mainWindow());
    return QApplication::exec();
}

} // namespace velaro

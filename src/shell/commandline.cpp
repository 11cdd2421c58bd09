#include "shell/commandline.h"

#include "estimate/sheetdocument.h"
#include "estimate/sheetfile.h"
#include "shell/mainwindow.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QLocale>

#include <cstdio>
#include <cstring>
#include <vector>

namespace velaro {
namespace {

struct Format {
    const char* name;
    QString (*write)(const SheetDocument& document, const QString& path);
};
const Format kFormats[] = {
    {"pdf", [](const SheetDocument& d, const QString& path) { return d.exportPdf(path); }},
    {"xlsx", [](const SheetDocument& d, const QString& path) { return d.exportXlsx(path); }},
    {"csv", [](const SheetDocument& d, const QString& path) { return d.exportCsv(path); }},
};

void say(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stderr);
}

QChar regionalSeparator() {
    const QString separator = QLocale::system().decimalPoint();
    return separator.size() == 1 ? separator[0] : QChar(u',');
}

// One file converted into `target`; false, said on standard error, where it was not.
bool convert(const QString& file, const Format& format, const QString& target) {
    // A document of its own, never restored: the running program's recovery file is not touched.
    SheetDocument document(regionalSeparator(), QDir::temp().filePath(QStringLiteral("-")));
    const QString shown = QDir::toNativeSeparators(file);
    if (const QString error = document.openFrom(file); !error.isEmpty()) {
        say(QStringLiteral("velaro-paint: %1: %2").arg(shown, error));
        return false;
    }
    if (const QString error = format.write(document, target); !error.isEmpty()) {
        say(QStringLiteral("velaro-paint: %1: не записан %2: %3")
                .arg(shown, QDir::toNativeSeparators(target), error));
        return false;
    }
    return true;
}

// The one name a path goes by: through its links where it exists, else as written out in full.
QString sameFileKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

struct Conversion {
    QString input, output;
};

// Each file with the document it is to become. A document that would replace one of the files
// given, or one that an earlier file is to become, is refused, naming both: the sheets and the
// first document stay as they were.
std::vector<Conversion> plannedConversions(const QStringList& files, const Format& format,
                                           const QDir& folder, bool& allPlanned) {
    QHash<QString, QString> inputs; // by the one name: as given
    for (const QString& file : files)
        inputs.insert(sameFileKey(file), file);
    QHash<QString, QString> outputs; // by the one name: the file that writes it
    QSet<QString> planned;
    std::vector<Conversion> conversions;
    for (const QString& file : files) {
        const QString key = sameFileKey(file);
        if (planned.contains(key))
            continue; // the same sheet named twice is converted once
        const QString target = folder.filePath(QFileInfo(file).completeBaseName() + u'.' +
                                               QString::fromLatin1(format.name));
        const QString targetKey = sameFileKey(target);
        const QString shown = QDir::toNativeSeparators(file);
        const QString shownTarget = QDir::toNativeSeparators(target);
        if (inputs.contains(targetKey)) {
            say(QStringLiteral("velaro-paint: %1: не записан %2: это один из преобразуемых "
                               "файлов (%3)")
                    .arg(shown, shownTarget, QDir::toNativeSeparators(inputs.value(targetKey))));
            allPlanned = false;
        } else if (outputs.contains(targetKey)) {
            say(QStringLiteral("velaro-paint: %1: не записан %2: в него записывается %3")
                    .arg(shown, shownTarget,
                         QDir::toNativeSeparators(outputs.value(targetKey))));
            allPlanned = false;
        } else {
            outputs.insert(targetKey, file);
            conversions.push_back({file, target});
        }
        planned.insert(key);
    }
    return conversions;
}

QString helpText() {
    return QStringLiteral(
        "Использование: velaro-paint [ФАЙЛ.velaro-estimate…]\n"
        "               velaro-paint --convert-to pdf|xlsx|csv [--outdir ПАПКА] "
        "ФАЙЛ.velaro-estimate…\n"
        "Калькуляторы площади окраски и ведомость окраски.\n"
        "\n"
        "Параметры:\n"
        "  -h, --help             Показать эту справку.\n"
        "  -v, --version          Показать версию программы.\n"
        "  --convert-to <формат>  Записать каждую ведомость в документ этого вида: pdf,\n"
        "                         xlsx или csv.\n"
        "  --outdir <папка>       Папка для документов (по умолчанию текущая; создаётся,\n"
        "                         если её нет).\n"
        "\n"
        "Аргументы:\n"
        "  ФАЙЛ.velaro-estimate   Ведомости: открываются в программе, а с --convert-to\n"
        "                         становятся документами.\n"
        "\n"
        "Состояние выхода: 0 — всё сделано; 1 — файл не прочитан или документ не записан;\n"
        "2 — параметры указаны неверно.\n");
}

// QCommandLineParser says its errors in English: what went wrong, in Russian.
QString russianParseError(const QCommandLineParser& parser) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("неизвестный параметр «%1»")
            .arg((unknown.front().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) +
                 unknown.front());
    if (parser.errorText().contains(QLatin1String("Missing value")))
        return QStringLiteral("у параметра не указано значение");
    return parser.errorText();
}

} // namespace

bool isCommandLineRequest(int argc, char** argv) {
    // Qt's own options (-style, -platform …) still start the windows.
    for (int i = 1; i < argc; ++i)
        for (const char* ours : {"-h", "--help", "--help-all", "-v", "--version", "--convert-to",
                                 "--outdir"})
            if (std::strcmp(argv[i], ours) == 0 ||
                (std::strncmp(argv[i], ours, std::strlen(ours)) == 0 &&
                 argv[i][std::strlen(ours)] == '=' && ours[1] == '-'))
                return true;
    return false;
}

int runCommandLine(int argc, char** argv) {
    // Converting draws the PDF's pages off screen: no display is needed or opened.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("velaro-paint"));

    // Qt's own help and errors are in English and end with status 1: the options are parsed
    // here, answered in Russian, and a wrong one ends with 2, as the manual page says.
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"),
                                   QStringLiteral("help-all")},
                                  QStringLiteral("Показать эту справку."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Показать версию программы."));
    const QCommandLineOption convertTo(
        QStringLiteral("convert-to"),
        QStringLiteral("Записать каждую ведомость в документ этого вида: pdf, xlsx или csv."),
        QStringLiteral("формат"));
    const QCommandLineOption outdir(
        QStringLiteral("outdir"),
        QStringLiteral("Папка для документов (по умолчанию текущая; создаётся, если её нет)."),
        QStringLiteral("папка"),
        QStringLiteral("."));
    for (const QCommandLineOption* option : {&help, &version, &convertTo, &outdir})
        parser.addOption(*option);
    if (!parser.parse(QCoreApplication::arguments())) {
        say(QStringLiteral("velaro-paint: %1; справка: velaro-paint --help")
                .arg(russianParseError(parser)));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs("velaro-paint " VELARO_VERSION "\n", stdout);
        return 0;
    }
    tellSheetTheOpenings(); // a converted sheet's walls are worked out again

    if (!parser.isSet(convertTo)) {
        say(QStringLiteral("velaro-paint: укажите --convert-to pdf|xlsx|csv или запустите "
                           "программу без параметров"));
        return 2;
    }
    const QString wanted = parser.value(convertTo).toLower();
    const Format* format = nullptr;
    for (const Format& f : kFormats)
        if (wanted == QLatin1String(f.name))
            format = &f;
    if (!format) {
        say(QStringLiteral("velaro-paint: неизвестный формат «%1»: нужен pdf, xlsx или csv")
                .arg(wanted));
        return 2;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        say(QStringLiteral("velaro-paint: не указаны ведомости для преобразования"));
        return 2;
    }
    const QDir folder(parser.value(outdir));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        say(QStringLiteral("velaro-paint: не удалось создать папку «%1»")
                .arg(QDir::toNativeSeparators(parser.value(outdir))));
        return 2;
    }
    // Every file is tried, a failed one said and the others still converted.
    bool allWritten = true;
    for (const Conversion& conversion : plannedConversions(files, *format, folder, allWritten))
        allWritten = convert(conversion.input, *format, conversion.output) && allWritten;
    return allWritten ? 0 : 1;
}

} // namespace velaro

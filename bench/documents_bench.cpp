// The documents a realistic job hands over, one kind and size a run so that each has the peak
// memory of its own process: `documents-bench xlsx|pdf|csv LINES FILE`. A job of up to 50 rooms,
// each with its walls and ceiling from its size, windows and doors deducted from them, radiators,
// pipes and typed lines, painted with three systems of three materials (tests/support/jobs.h). Prints
// `documents_<kind>_<lines>_ms=…`, the resident memory before the export and its peak during it
// (MB), and for the PDF its pages.

#include "estimate/sheetdocument.h"
#include "estimate/sheetmodel.h"
#include "shell/mainwindow.h"
#include "support/jobs.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

// A line of /proc/self/status in MB: VmRSS now, VmHWM the peak since it was last reset.
double statusMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field)) + 1).trimmed().split(' ').value(0).toDouble() /
                   1024;
    return -1;
}

// From here on the peak counts only what comes after.
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// The lines of the tests' real jobs, spread over a building's rooms (a flat's few on a small
// job), each room with its walls and ceiling from its size.
velaro::Sheet jobOf(int lines) {
    namespace jobs = velaro::test::jobs;
    velaro::Sheet sheet = jobs::withPaints(QStringLiteral("Жилой дом, ул. Садовая, 14"));
    const int rooms = std::clamp(lines / 15, 2, 50);
    const auto roomOf = [](int n) { return QStringLiteral("Помещение %1").arg(n + 1); };
    for (int n = 0; sheet.lines.size() < lines - 2 * rooms; ++n) {
        const QString room = roomOf(n % rooms);
        switch (n / rooms % 5) {
        case 0:
            sheet.lines << jobs::pairedSashWindow(room);
            break;
        case 1:
            sheet.lines << jobs::solidDoor(room);
            break;
        case 2:
            sheet.lines << jobs::radiator(room, QString::number(5 + n % 8));
            break;
        case 3:
            sheet.lines << jobs::pipes(room);
            break;
        default:
            sheet.lines << jobs::typed(room, QStringLiteral("Откосы окон"),
                                       QStringLiteral("2*1,5*0,25+1,4*0,25"),
                                       QStringLiteral("1,1"), jobs::kWaterBased);
        }
    }
    for (int room = 0; room < rooms; ++room)
        jobs::addSize(sheet, roomOf(room), {"4,5", "3,2", {}, "2,7"});
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    velaro::tellSheetTheOpenings(); // windows and doors are openings, as in the program
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: documents-bench xlsx|pdf|csv LINES FILE\n");
        return 2;
    }
    const QString kind = arguments[1];
    const int lines = arguments[2].toInt();
    const QString path = arguments[3];
    velaro::SheetDocument document(u',', QStringLiteral("/nonexistent"));
    document.editor().reset(jobOf(lines));

    const double before = statusMegabytes("VmRSS:");
    resetPeak();
    const auto start = std::chrono::steady_clock::now();
    const QString error = kind == QLatin1String("xlsx") ? document.exportXlsx(path)
                          : kind == QLatin1String("pdf") ? document.exportPdf(path)
                                                         : document.exportCsv(path);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "documents-bench: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("documents_%s_%d_ms=%.0f rss_before_mb=%.0f peak_mb=%.0f",
                qPrintable(kind), document.model().rowCount(), ms, before,
                statusMegabytes("VmHWM:"));
    if (kind == QLatin1String("pdf")) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {path});
        info.waitForFinished(60000);
        for (const QByteArray& line : info.readAllStandardOutput().split('\n'))
            if (line.startsWith("Pages:"))
                std::printf(" pages=%s", line.mid(6).trimmed().constData());
    }
    std::printf("\n");
    return 0;
}

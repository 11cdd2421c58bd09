// The documents a realistic job hands over, one kind and size a run so that each has the peak
// memory of its own process: `documents-bench xlsx|pdf|csv LINES FILE`. A job of 50 rooms, each
// with its walls and ceiling from its size, windows and doors deducted from them, radiators,
// pipes and typed lines, painted with three systems of three materials. Prints
// `documents_<kind>_<lines>_ms=…`, the resident memory before the export and its peak during it
// (MB), and for the PDF its pages.

#include "estimate/sheetdocument.h"
#include "estimate/sheetmodel.h"
#include "shell/mainwindow.h"

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

velaro::Line opening(const QString& room, const char* calculator, const char* element,
                     const QString& area, const QString& result) {
    velaro::Line line;
    line.room = room;
    line.calculator = QString::fromLatin1(calculator);
    line.element = QString::fromUtf8(element);
    line.opening = area;
    line.deduct = true;
    line.result = result;
    line.measurements = {{QStringLiteral("Площадь проемов"), area, QStringLiteral("м2")}};
    line.conditions = {QStringLiteral("Стены каменные"), QStringLiteral("Наличники с двух сторон")};
    line.formula = area + QStringLiteral(" м2 × 2,6 (Стены каменные, Наличники с двух сторон) = ") +
                   result + QStringLiteral(" м2");
    return line;
}

velaro::Line computed(const QString& room, const char* element, const QString& measured,
                      const QString& result) {
    velaro::Line line;
    line.room = room;
    line.calculator = QStringLiteral("TForm7");
    line.element = QString::fromUtf8(element);
    line.result = result;
    line.measurements = {{QStringLiteral("Площадь поверхности нагрева"), measured,
                          QStringLiteral("м2")}};
    line.formula = measured + QStringLiteral(" м2 × 1,3 = ") + result + QStringLiteral(" м2");
    return line;
}

velaro::Line typed(const QString& room) {
    velaro::Line line;
    line.room = room;
    line.kind = velaro::LineKind::Typed;
    line.element = QStringLiteral("Откосы окон");
    line.formula = QStringLiteral("2*1,5*0,25+1,4*0,25");
    line.result = QStringLiteral("1,1");
    return line;
}

void buildJob(velaro::SheetModel& model, int lines) {
    model.editor().editMaterials({{0, QStringLiteral("Грунтовка ГФ-021"), QStringLiteral("кг"),
                          QStringLiteral("0,1"), QStringLiteral("5"), QStringLiteral("20"),
                          QStringLiteral("2400")},
                         {0, QStringLiteral("Эмаль ПФ-115"), QStringLiteral("кг"),
                          QStringLiteral("0,11"), QStringLiteral("10"), QStringLiteral("2,7"),
                          QStringLiteral("650,5")},
                         {0, QStringLiteral("Краска ВД-АК"), QStringLiteral("л"),
                          QStringLiteral("0,15"), QStringLiteral("5"), QStringLiteral("10"),
                          QStringLiteral("1890")}});
    model.editor().editSystems({{0, QStringLiteral("Стены: грунт и ВД ×2"), {{1, 1}, {3, 2}},
                        QStringLiteral("185"), QStringLiteral("15-04-005-3")},
                       {0, QStringLiteral("Металл: грунт и эмаль ×2"), {{1, 1}, {2, 2}},
                        QStringLiteral("240,5"), QStringLiteral("13-03-004-26")},
                       {0, QStringLiteral("Дерево: эмаль ×2"), {{2, 2}}, QStringLiteral("210"),
                        {}}});
    // A flat's few rooms on a small job; a building's fifty on a large one.
    const int kRooms = std::clamp(lines / 15, 2, 50);
    const auto roomOf = [&](int n) { return QStringLiteral("Помещение %1").arg(n % kRooms + 1); };
    QList<velaro::Line> job;
    for (int n = 0; job.size() < lines - 2 * kRooms; ++n) {
        const QString room = roomOf(n);
        const QString tenth = QString::number(n % 10);
        switch (n / kRooms % 5) {
        case 0:
            job << opening(room, "TForm21", "Окна со спаренными переплетами", "2," + tenth,
                           QString::number(5 + n % 3) + ",2");
            break;
        case 1:
            job << opening(room, "TForm24", "Дверные проемы с глухими полотнами", "1,8",
                           "5,04");
            break;
        case 2:
            job << computed(room, "Радиаторы чугунные", "1," + tenth, "1,95");
            break;
        case 3:
            job << computed(room, "Трубы без фасонных частей", "0," + tenth, "2,43");
            break;
        default:
            job << typed(room);
        }
        job.back().system = 2 + n % 2;
    }
    model.editor().insertLines(0, job);
    for (int room = 0; room < kRooms; ++room)
        model.editor().setRoomSize(roomOf(room), {QStringLiteral("4,5"), QStringLiteral("3,2"), {},
                                         QStringLiteral("2,7")});
    QList<int> walls;
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.estimate().sheet().lines[row].kind == velaro::LineKind::Walls ||
            model.estimate().sheet().lines[row].kind == velaro::LineKind::Ceiling)
            walls << row;
    model.editor().assignSystem(walls, 1);
    model.editor().setVatRate(QStringLiteral("20"));
    model.editor().setProperties({QStringLiteral("Жилой дом, ул. Садовая, 14"), QStringLiteral("г. Тверь"),
                         QStringLiteral("ООО «Заказчик»"), QStringLiteral("ООО «Краски»"),
                         QStringLiteral("Иванов И. И."), QStringLiteral("07.12.2026")});
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
    buildJob(document.model(), lines);

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

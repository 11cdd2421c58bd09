// The estimate sheet at 10 000 lines in 50 rooms: adding a line with its totals refreshed, adding
// a window opening to a room whose walls follow it, setting a room's size, saving and opening the
// sheet, exporting it to Excel, its PDF (real jobs, 1 000 and 100 000 lines); then at 100 000
// lines: the longest the window waits while the recovery file is written, deleting every line and
// undoing that. Reports medians in the form `estimate_<what>_ms=<value>`. Run it under a display
// (xvfb-run -a); it keeps its recovery file in a temporary folder.

#include "estimate/gui/estimatewindow.h"
#include "shell/mainwindow.h"
#include "estimate/sheetdocument.h"
#include "estimate/sheetfile.h"
#include "estimate/sheetmodel.h"
#include "estimate/sheetpages.h"
#include "support/jobs.h"
#include "support/sheets.h"

#include <QAction>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTableView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int kLines = 10000;

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Wall-clock time, and the processor time of this thread alone: on a loaded machine the first
// includes waiting for a core, the second is what the work itself costs.
std::vector<double> cpuTimes;
template <class F> double millisecondsOf(F&& work) {
    const double cpuStart = threadCpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    cpuTimes.push_back(threadCpuMilliseconds() - cpuStart);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Prints the median wall time and the median processor time of what was timed since `mark`.
void report(const char* name, const std::vector<double>& walls, std::size_t mark,
            const char* format) {
    std::vector<double> cpu(cpuTimes.begin() + std::ptrdiff_t(mark), cpuTimes.end());
    std::printf("estimate_%s_ms=", name);
    std::printf(format, median(walls));
    std::printf(" (cpu ");
    std::printf(format, median(cpu));
    std::printf(")\n");
}

velaro::FormState stateOf(int n) {
    velaro::FormState state(',');
    state.setText("Edit2", std::to_string(n % 97) + "," + std::to_string(n % 10));
    state.setLabel("Edit2", "Введите площадь горизонтальной проекции моек и раковин");
    state.setUnit("Edit2", "м2");
    state.setText("Edit3", std::to_string(n));
    state.setTicked("CheckBox1", n % 2 == 0);
    state.setLabel("CheckBox1", "Стены каменные, состав заполнения: переплёты:");
    return state;
}

velaro::Results resultsOf(int n) {
    return {{{"Edit1", std::to_string(n % 97 * 2) + "," + std::to_string(n % 10 * 2 % 10)}}, {}};
}

long statusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').front().toLong();
    return 0;
}

// One PDF case in this process: the sheet of a real job, or of that many lines; the pages, the
// time of writing the file (the median of five below 10 000 lines) and the peak of resident
// memory, of the whole process and above what the sheet itself holds. A third argument keeps the
// file there, to look at.
int pdfCase(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString name = QString::fromLocal8Bit(argv[2]);
    namespace jobs = velaro::test::jobs;
    QUndoStack undo;
    velaro::test::Sheets sheets(undo, u',');
    velaro::SheetModel& model = sheets.model;
    // The sheet as the program holds it once opened from its file (or named to --convert-to).
    {
        const QByteArray file = velaro::sheetToJson(
            name == "flat4"            ? jobs::flatOfFourRooms()
            : name == "office3"        ? jobs::officeOfThreeRooms()
            : name == "flat2"          ? jobs::flatOfTwoRooms()
            : name == "flat2-no-norms" ? jobs::withoutNorms(jobs::flatOfTwoRooms())
                                       : jobs::manyFlats(name.toInt()));
        auto opened = velaro::sheetFromJson(file);
        if (!std::holds_alternative<velaro::LoadedSheet>(opened))
            return 1;
        model.editor().reset(std::get<velaro::LoadedSheet>(std::move(opened)).sheet);
    }
    const qsizetype lines = model.estimate().sheet().lines.size();
    QTemporaryDir folder;
    const QString path = argc > 3 ? QString::fromLocal8Bit(argv[3]) : folder.filePath("sheet.pdf");
    // The peak counts from here: what the sheet and the program hold is the floor. (getrusage's
    // peak would count the parent's memory from before the exec as well.)
    const long sheetPeak = statusKilobytes("VmHWM:");
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    const long floor = statusKilobytes("VmRSS:");
    std::vector<double> walls;
    for (int run = 0; run < (lines < 10000 ? 5 : 1); ++run)
        walls.push_back(millisecondsOf([&] {
            if (!velaro::writePdf(model.estimate().view(), path).isEmpty())
                std::exit(1);
        }));
    const long peak = statusKilobytes("VmHWM:");
    QFile pdf(path);
    pdf.open(QIODevice::ReadOnly);
    const QByteArray bytes = pdf.readAll();
    const qsizetype count = bytes.lastIndexOf("/Count ");
    const QByteArray what = "pdf_" + name.toUtf8();
    std::printf("estimate_%s_lines=%lld\n", what.constData(), static_cast<long long>(lines));
    std::printf("estimate_%s_pages=%d\n", what.constData(),
                count < 0 ? 0 : std::atoi(bytes.constData() + count + 7));
    report(what.constData(), walls, 0, "%.0f");
    std::printf("estimate_%s_process_peak_mb=%.0f\n", what.constData(),
                double(std::max(sheetPeak, peak)) / 1024);
    std::printf("estimate_%s_export_peak_mb=%.0f\nestimate_%s_above_sheet_mb=%.0f\n",
                what.constData(), double(peak) / 1024, what.constData(),
                double(peak - floor) / 1024);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    velaro::tellSheetTheOpenings(); // windows and doors are openings, as in the program
    if (argc >= 3 && std::strcmp(argv[1], "--pdf") == 0)
        return pdfCase(argc, argv);
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    velaro::SheetDocument document(u',');
    document.restore();
    velaro::EstimateWindow window(document);
    window.show();
    QApplication::processEvents();
    velaro::SheetModel& model = document.model();
    model.editor().editMaterials({{0, QStringLiteral("ГФ-021"), QStringLiteral("кг"), QStringLiteral("0,1"),
                          QStringLiteral("5"), {{QStringLiteral("1"), QStringLiteral("300")}}},
                         {0, QStringLiteral("ПФ-115"), QStringLiteral("кг"), QStringLiteral("0,11"),
                          QStringLiteral("10"), {{QStringLiteral("0,9"), QStringLiteral("250,5")}}}});
    model.editor().editSystems({{0, QStringLiteral("Грунт и эмаль"),
                                 {{1, 1, QStringLiteral("180"), QStringLiteral("15-04-030-1")}, {2, 2}}}});
    const auto roomOf = [](int n) { return QStringLiteral("Комната %1").arg(n % 50); };
    for (int n = 0; n < kLines; ++n) {
        model.editor().setCurrentRoom(roomOf(n));
        document.record(QStringLiteral("моек и раковин"), QStringLiteral("TForm%1").arg(2 + n % 26),
                        stateOf(n), resultsOf(n));
    }
    for (int room = 0; room < 50; ++room)
        model.editor().setRoomSize(roomOf(room), {QStringLiteral("4"), QStringLiteral("3,5"), {},
                                         QStringLiteral("2,7")});
    model.editor().assignSystem([&] {
        QList<int> all;
        for (int row = 0; row < model.rowCount(); ++row)
            all << row;
        return all;
    }(), 1);
    QApplication::processEvents();

    // Each added line runs what a Compute runs: the record, the model, the totals beside it.
    std::vector<double> adds, addsPainted;
    std::size_t mark = cpuTimes.size();
    for (int n = kLines; n < kLines + 200; ++n)
        adds.push_back(millisecondsOf([&] {
            document.record(QStringLiteral("моек и раковин"),
                          QStringLiteral("TForm%1").arg(2 + n % 26), stateOf(n), resultsOf(n));
        }));
    std::printf("estimate_lines=%d\n", document.model().rowCount());
    report("add_line", adds, mark, "%.3f");
    // A window opening recorded in a room: the line, and the room's walls worked out again.
    std::vector<double> openings, sizes;
    mark = cpuTimes.size();
    for (int n = 0; n < 200; ++n)
        openings.push_back(millisecondsOf([&] {
            model.editor().setCurrentRoom(roomOf(7));
            document.record(QStringLiteral("окон"), QStringLiteral("TForm20"), stateOf(n + 50000),
                            resultsOf(n));
        }));
    report("add_opening_walls", openings, mark, "%.3f");
    mark = cpuTimes.size();
    for (int n = 0; n < 200; ++n)
        sizes.push_back(millisecondsOf([&] {
            model.editor().setRoomSize(roomOf(11), {QStringLiteral("4"), QStringLiteral("3,%1").arg(n % 10),
                                           {}, QStringLiteral("2,7")});
        }));
    report("room_size", sizes, mark, "%.3f");
    // The same with the window repainted before the clock stops.
    mark = cpuTimes.size();
    for (int n = kLines; n < kLines + 200; ++n)
        addsPainted.push_back(millisecondsOf([&] {
            document.record(QStringLiteral("моек и раковин"),
                          QStringLiteral("TForm%1").arg(2 + n % 26), stateOf(n + 100000),
                          resultsOf(n));
            QApplication::processEvents();
        }));
    report("add_line_painted", addsPainted, mark, "%.3f");
    // The same with the table grouped by room: the groups follow the line row by row.
    window.findChild<QAction*>(QStringLiteral("groupByRoom"))->trigger();
    QApplication::processEvents();
    for (const bool painted : {false, true}) {
        std::vector<double> addsGrouped;
        mark = cpuTimes.size();
        for (int n = kLines; n < kLines + 200; ++n) {
            addsGrouped.push_back(millisecondsOf([&] {
                model.editor().setCurrentRoom(roomOf(n));
                document.record(QStringLiteral("моек и раковин"),
                                QStringLiteral("TForm%1").arg(2 + n % 26),
                                stateOf(n + (painted ? 300000 : 200000)), resultsOf(n));
                if (painted)
                    QApplication::processEvents();
            }));
            QApplication::processEvents();
        }
        report(painted ? "add_line_grouped_painted" : "add_line_grouped", addsGrouped, mark,
               "%.3f");
    }
    window.findChild<QAction*>(QStringLiteral("groupByRoom"))->trigger();

    const QString path = dataHome.filePath("bench.velaro-estimate");
    std::vector<double> saves, opens;
    mark = cpuTimes.size();
    for (int run = 0; run < 7; ++run)
        saves.push_back(millisecondsOf([&] { document.saveTo(path); }));
    report("save", saves, mark, "%.1f");
    mark = cpuTimes.size();
    for (int run = 0; run < 7; ++run)
        opens.push_back(millisecondsOf([&] {
            document.openFrom(path);
            QApplication::processEvents();
        }));
    report("open", opens, mark, "%.1f");
    // The sheet as an Excel workbook: every line with its formulas, the sums and the materials.
    const QString workbook = dataHome.filePath("bench.xlsx");
    std::vector<double> exports;
    mark = cpuTimes.size();
    for (int run = 0; run < 7; ++run)
        exports.push_back(millisecondsOf([&] {
            if (!document.exportXlsx(workbook).isEmpty())
                std::exit(1);
        }));
    report("xlsx", exports, mark, "%.1f");
    // The table beside a spreadsheet: 10 000 lines copied (text, HTML and the lines whole), and
    // 10 000 rows a spreadsheet gave pasted as typed lines, in one step, the window repainted.
    {
        auto* table = window.findChild<QTableView*>(QStringLiteral("lines"));
        table->selectionModel()->select(
            QItemSelection(model.index(0, 0), model.index(kLines - 1, 0)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        std::vector<double> copies, pastes;
        mark = cpuTimes.size();
        for (int run = 0; run < 5; ++run)
            copies.push_back(millisecondsOf([&] { window.copyLines(); }));
        report("copy_10000", copies, mark, "%.1f");
        QString rows = QStringLiteral("Наименование\tЕд. изм.\tКоличество\tЦена работ\n");
        for (int n = 0; n < kLines; ++n)
            rows += QStringLiteral("Откосы окна %1\tм2\t2,5*%2+0,4\t1 250,50\n").arg(n).arg(n % 13);
        mark = cpuTimes.size();
        for (int run = 0; run < 5; ++run) {
            auto* data = new QMimeData;
            data->setText(rows);
            QGuiApplication::clipboard()->setMimeData(data);
            table->clearSelection();
            const int before = model.rowCount();
            pastes.push_back(millisecondsOf([&] {
                window.pasteLines();
                QApplication::processEvents();
            }));
            if (model.rowCount() != before + kLines)
                return 1;
            document.undoStack().undo();
            QApplication::processEvents();
        }
        report("paste_10000", pastes, mark, "%.1f");
    }
    if (qEnvironmentVariableIsSet("VELARO_BENCH_DETAIL")) {
        // The file layer alone, without the window and the disk: the sheet to bytes and back.
        const velaro::Sheet sheet = document.model().estimate().sheet();
        QByteArray bytes;
        std::vector<double> writes, reads;
        mark = cpuTimes.size();
        for (int run = 0; run < 9; ++run)
            writes.push_back(millisecondsOf([&] { bytes = velaro::sheetToJson(sheet); }));
        report("to_json", writes, mark, "%.2f");
        mark = cpuTimes.size();
        for (int run = 0; run < 9; ++run)
            reads.push_back(millisecondsOf([&] { velaro::sheetFromJson(bytes); }));
        report("from_json", reads, mark, "%.2f");
        std::printf("estimate_file_bytes=%lld\nestimate_bytes_per_line=%.1f\n",
                    static_cast<long long>(bytes.size()),
                    double(bytes.size()) / double(sheet.lines.size()));

        velaro::Sheet copy = sheet;
        std::printf("reset %.1f\n", millisecondsOf([&] { document.model().editor().reset(copy); }));
    }
    // The PDF as handed over, each case in a process of its own so that one case's memory does
    // not hide another's.
    // (VELARO_BENCH_NO_PDF leaves them out, to profile the sheet alone.)
    const QStringList pdfCases = qEnvironmentVariableIsSet("VELARO_BENCH_NO_PDF")
                                     ? QStringList()
                                     : QStringList{"flat4", "office3", "flat2", "flat2-no-norms",
                                                   "1000", "100000"};
    for (const QString& pdfCase : pdfCases) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--pdf"), pdfCase});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return 1;
        std::fputs(child.readAllStandardOutput().constData(), stdout);
    }
    if (document.model().rowCount() < kLines)
        return 1;

    // 100 000 lines: the window must not wait for the recovery file, and a block of lines goes
    // and comes back in one step.
    velaro::Sheet large = document.model().estimate().sheet();
    while (large.lines.size() < 100000)
        large.lines.append(large.lines.mid(0, std::min<qsizetype>(large.lines.size(),
                                                                   100000 - large.lines.size())));
    document.model().editor().reset(large);
    document.flushRecovery();
    QApplication::processEvents();
    // The longest pause of the event loop from a change until its recovery file is written.
    double longestPause = 0;
    QElapsedTimer sinceTick;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestPause = std::max(longestPause, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    document.model().editor().moveLines({5}, +1);
    sinceTick.start();
    ticks.start();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ticks.stop();
    std::printf("estimate_large_lines=%d\n", document.model().rowCount());
    std::printf("estimate_large_autosave_pause_ms=%.1f\n", longestPause);
    QList<int> all;
    for (int row = 0; row < document.model().rowCount(); ++row)
        all << row;
    // Medians of several rounds: one round's figure moves by a third from run to run.
    std::vector<double> deletes, undos;
    const int rounds = qEnvironmentVariableIntValue("VELARO_BENCH_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("VELARO_BENCH_ROUNDS")
                           : 5;
    mark = cpuTimes.size();
    for (int round = 0; round < rounds; ++round) {
        deletes.push_back(millisecondsOf([&] {
            document.model().editor().removeLines(all);
            QApplication::processEvents();
        }));
        undos.push_back(millisecondsOf([&] {
            document.undoStack().undo();
            QApplication::processEvents();
        }));
    }
    std::vector<double> deleteCpu, undoCpu;
    for (std::size_t i = mark; i < cpuTimes.size(); ++i)
        ((i - mark) % 2 == 0 ? deleteCpu : undoCpu).push_back(cpuTimes[i]);
    std::printf("estimate_large_delete_all_ms=%.1f (cpu %.1f)\n", median(deletes),
                median(deleteCpu));
    std::printf("estimate_large_undo_delete_ms=%.1f (cpu %.1f)\n", median(undos),
                median(undoCpu));
    // Lines found all over the sheet (every tenth: 10 000 blocks of one line) deleted and back.
    QList<int> scattered;
    for (int row = 0; row < document.model().rowCount(); row += 10)
        scattered << row;
    std::printf("estimate_large_delete_scattered_ms=%.1f\n", millisecondsOf([&] {
                    document.model().editor().removeLines(scattered);
                    QApplication::processEvents();
                }));
    std::printf("estimate_large_undo_scattered_ms=%.1f\n", millisecondsOf([&] {
                    document.undoStack().undo();
                    QApplication::processEvents();
                }));
    return document.model().rowCount() == 100000 ? 0 : 1;
}

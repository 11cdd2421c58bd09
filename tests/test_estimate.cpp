// The estimate sheet: exact totals, recording from the real calculator windows, undo of every
// edit, the file and its bad variants, CSV, PDF, Excel, the recovery file after a kill, and the
// exit.

#include "core/calculatorwindow.h"
#include "estimate/export.h"
#include "estimate/gui/estimateprompts.h"
#include "estimate/gui/estimatesheet.h"
#include "estimate/gui/estimatewindow.h"
#include "estimate/gui/materialsdialog.h"
#include "estimate/gui/roomdialog.h"
#include "estimate/gui/systemsdialog.h"
#include "estimate/sheetdocument.h"
#include "estimate/sheetfile.h"
#include "estimate/sheeteditor.h"
#include "estimate/sheetmodel.h"
#include "estimate/xlsxexport.h"
#include "estimate/report.h"
#include "estimate/sheetpages.h"
#include "print/printjob.h"
#include "shell/mainwindow.h"
#include "shell/quitonsignals.h"
#include "shell/registry.h"
#include "support/sheets.h"
#include "support/testsupport.h"

#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QBuffer>
#include <QTimer>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLibrary>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QScreen>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

using namespace velaro;
using namespace velaro::test;

namespace {

// Answers the window's questions and records its messages.
class FakePrompts final : public EstimatePrompts {
  public:
    QString fileName;
    bool confirmAnswer = true;
    Unsaved unsavedAnswer = Unsaved::Cancel;
    ExitChoice exitChoice = ExitChoice::Stay;
    QStringList errors, unsavedQuestions;
    int exitQuestions = 0;

    QString openFileName(QWidget*) override { return fileName; }
    QString suggested;
    QString saveFileName(QWidget*, const QString&, const QString& suggestion, const QString&,
                         const QString&) override {
        suggested = suggestion;
        return fileName;
    }
    int errorShownMs = 0; // how long the box stays open, its own event loop running
    void error(QWidget*, const QString& text) override {
        errors << text;
        if (errorShownMs)
            QTest::qWait(errorShownMs);
    }
    int confirms = 0;
    bool confirm(QWidget*, const QString&) override {
        ++confirms;
        return confirmAnswer;
    }
    QString choice;
    QStringList offered;
    QString choose(QWidget*, const QString&, const QStringList& items) override {
        offered = items;
        return choice;
    }
    Unsaved unsavedChanges(QWidget*, const QString& name) override {
        unsavedQuestions << name;
        return unsavedAnswer;
    }
    ExitChoice autosaveFailed(QWidget*, const QString&) override {
        ++exitQuestions;
        return exitChoice;
    }
    // The pages the window hands over, painted into a PDF as a printer would get them.
    QByteArray printed;
    bool print(QWidget*, const PrintJob& job, QString&) override {
        QBuffer buffer(&printed);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(job.title);
        job.setUp(writer);
        return job.paint(writer);
    }
};

Line lineWith(const QString& result, int count = 1, const QString& room = {}) {
    Line line;
    line.element = QStringLiteral("моек и раковин");
    line.calculator = QStringLiteral("TForm5");
    line.result = result;
    line.count = count;
    line.room = room;
    return line;
}

// Adds lines straight into a model, each in its room.
void fillModel(SheetModel& model, const QStringList& results, const QStringList& rooms = {},
               const QList<int>& counts = {}) {
    for (qsizetype i = 0; i < results.size(); ++i) {
        model.editor().insertLines(model.rowCount(), {lineWith(results[i], i < counts.size() ? counts[i] : 1,
                                                      i < rooms.size() ? rooms[i] : QString())});
    }
}

Material paint(const QString& consumption, const QString& waste, const QString& can,
               const QString& price, const QString& name = QStringLiteral("ПФ-115")) {
    Material m;
    m.name = name;
    m.consumption = consumption;
    m.waste = waste;
    m.canSize = can;
    m.price = price;
    return m;
}

// The materials, and for each a system of its name: one layer of `coats`.
void paintWith(SheetModel& model, const QList<Material>& materials, int coats = 1) {
    model.editor().editMaterials(materials);
    QList<PaintSystem> systems;
    for (const Material& m : model.estimate().sheet().materials)
        systems.append({0, m.name, {{m.id, coats}}, {}, {}});
    model.editor().editSystems(systems);
}

// RFC 4180 reading, for reading the exported file back as a spreadsheet would.
QList<QStringList> parseCsv(const QString& text, QChar separator) {
    QList<QStringList> rows{{}};
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            rows.back() << cell;
            cell.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            rows.back() << cell;
            cell.clear();
            rows.append(QStringList{});
            ++i;
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !rows.back().isEmpty())
        rows.back() << cell;
    if (rows.back().isEmpty())
        rows.removeLast();
    return rows;
}

// The workbook as LibreOffice Calc works it out: each sheet's rows by the sheet's name. Calc runs
// headless in a throwaway profile told to recalculate every formula on opening, so the figures
// are its own and not the results the workbook carries. Empty, with `failure` said, when it
// could not be read.
QHash<QString, QList<QStringList>> recalculatedByCalc(const QString& soffice,
                                                      const QString& workbook, QString& failure) {
    QTemporaryDir folder;
    const QString profile = folder.filePath("profile");
    QDir().mkpath(profile + "/user");
    QFile settings(profile + "/user/registrymodifications.xcu");
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\">\n"
                       "<item oor:path=\"/org.openoffice.Office.Calc/Formula/Load\">"
                       "<prop oor:name=\"OOXMLRecalcMode\" oor:op=\"fuse\"><value>0</value>"
                       "</prop></item>\n"
                       "</oor:items>\n") < 0) {
        failure = settings.errorString();
        return {};
    }
    settings.close();
    // UTF-8, values as stored rather than as formatted (no grouping, every decimal), and the
    // last token -1: each sheet to a file of its own, <name>-<sheet>.csv.
    const QString filter =
        "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1";
    QProcess calc;
    calc.setProcessChannelMode(QProcess::MergedChannels);
    calc.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(profile).toString(),
                         "--headless", "--norestore", "--convert-to", filter, "--outdir",
                         folder.path(), workbook});
    if (!calc.waitForFinished(180000) || calc.exitCode() != 0) {
        calc.kill();
        failure = "soffice: " + QString::fromUtf8(calc.readAll());
        return {};
    }
    const QString output = QString::fromUtf8(calc.readAll());
    QHash<QString, QList<QStringList>> sheets;
    const QString stem = QFileInfo(workbook).completeBaseName() + u'-';
    for (const QFileInfo& csv : QDir(folder.path()).entryInfoList({stem + "*.csv"}, QDir::Files)) {
        QFile file(csv.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // Calc ends its rows with a bare line feed.
        QString text = QString::fromUtf8(file.readAll());
        text.replace(u'\n', QStringLiteral("\r\n"));
        sheets.insert(csv.completeBaseName().mid(stem.size()), parseCsv(text, u','));
    }
    if (sheets.isEmpty())
        failure = "soffice wrote no sheet: " + output;
    return sheets;
}

QString recoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString recoveryPath() {
    return recoveryFolder() + u'/' + RecoveryStore::sharedFileName();
}

// Restores the document, returning what it said.
QStringList restoreNotices(SheetDocument& document) {
    QStringList notices;
    const auto connection = QObject::connect(&document, &SheetDocument::notice,
                                             [&](const QString& text) { notices << text; });
    document.restore();
    QObject::disconnect(connection);
    return notices;
}

void removeRecovery() {
    QDir folder(recoveryFolder());
    for (const QString& name : folder.entryList({"recovery*"}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

// A document in its own recovery folder, restored, shown in its window.
struct Workspace {
    QTemporaryDir folder;
    SheetDocument document{u',', folder.path()};
    EstimateWindow window{document};
    Workspace() { document.restore(); }
    SheetModel& model() { return document.model(); }
};

CalculatorWindow* openCalculator(Program& program, int form) {
    program.mainWindow().openCalculator(form - 1);
    return qobject_cast<CalculatorWindow*>(program.registry().Form(form));
}

// The child of the kill test: computes in a real window and waits to be killed.
int computeAndWait(int argc, char** argv) {
    QApplication app(argc, argv);
    Program program(',');
    const QuitOnSignals quitOnSignals;
    program.start();
    CalculatorWindow* sinks = openCalculator(program, 5);
    typeInto(sinks, "Edit2", "3,5");
    click(sinks, "Button1");
    std::printf("computed %s\n", qPrintable(textOf(sinks, "Edit1")));
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

Q_DECLARE_METATYPE(velaro::Material)
Q_DECLARE_METATYPE(velaro::PaintSystem)

class EstimateTest : public QObject {
    Q_OBJECT

  private slots:
    // The run under Russian settings proves nothing if that locale is missing and C is taken
    // in its place.
    void initTestCase() {
        tellSheetTheOpenings(); // as the program does at start: windows and doors are openings
        if (!qgetenv("LC_ALL").startsWith("ru_RU"))
            return;
        char half[8];
        std::snprintf(half, sizeof half, "%.1f", 0.5);
        QVERIFY2(qstrcmp(half, "0,5") == 0,
                 "ru_RU.UTF-8 is not generated here: scripts/install-deps.sh generates it");
    }
    void init() { removeRecovery(); }

    // Sums are of the figures shown, as whole numbers of their last decimal.
    void totalsAreExactDecimalSums_data() {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QString>("total");
        QTest::newRow("0,1 + 0,2") << QStringList{"0,1", "0,2"} << QList<int>{} << "0,30 м2";
        QTest::newRow("ten tenths") << QStringList(10, "0,1") << QList<int>{} << "1,00 м2";
        QTest::newRow("count times shown") << QStringList{"0,1"} << QList<int>{3} << "0,30 м2";
        QTest::newRow("grouped thousands")
            << QStringList{"1234,5", "0,06"} << QList<int>{} << "1 234,56 м2";
        QTest::newRow("counts and halves")
            << QStringList{"2,675", "0,005"} << QList<int>{2, 1} << "5,355 м2";
        QTest::newRow("millions") << QStringList{"999999,99", "0,01"} << QList<int>{1000, 1}
                                  << "999 999 990,01 м2";
        QTest::newRow("exponent form") << QStringList{"1E-5", "2"} << QList<int>{} << "2,00001 м2";
        QTest::newRow("point as separator")
            << QStringList{"0.7", "0,1"} << QList<int>{} << "0,80 м2";
        QTest::newRow("past fifteen digits: not summed")
            << QStringList{"1,5E20", "2"} << QList<int>{} << "2,00 м2";
        QTest::newRow("none") << QStringList{} << QList<int>{} << "0,00 м2";
    }
    void totalsAreExactDecimalSums() {
        QFETCH(QStringList, results);
        QFETCH(QList<int>, counts);
        QFETCH(QString, total);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        fillModel(model, results, {}, counts);
        QCOMPARE(areaText(model.estimate().totals().area(), u','), total);
        // Removing the lines again leaves nothing behind.
        while (model.rowCount())
            model.editor().removeLines({0});
        QCOMPARE(areaText(model.estimate().totals().area(), u','), QString("0,00 м2"));
        QVERIFY(model.estimate().totals().rooms().isEmpty());
    }

    void totalsByRoom_data() {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QStringList>("rooms");
        // room=sum/lines, in the order the sheet gives them, lines without a room last
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one room") << QStringList{"0,1", "0,2"} << QStringList{"Кухня", "Кухня"}
                                  << QStringList{"Кухня=0,30 м2/2"};
        QTest::newRow("two rooms and none")
            << QStringList{"1,5", "2", "0,25"} << QStringList{"Кухня", "", "Ванная"}
            << QStringList{"Кухня=1,50 м2/1", "Ванная=0,25 м2/1", "=2,00 м2/1"};
    }
    void totalsByRoom() {
        QFETCH(QStringList, results);
        QFETCH(QStringList, rooms);
        QFETCH(QStringList, expected);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        fillModel(model, results, rooms);
        QStringList seen;
        for (const QString& room : model.estimate().view().rooms) {
            const Totals::Sum sum = model.estimate().totals().rooms().value(room);
            seen << QStringLiteral("%1=%2/%3").arg(room, areaText(sum.value, u',')).arg(sum.lines);
        }
        QCOMPARE(seen, expected);
    }

    // A system's area counts once, each layer adds to its material; work is quantity × price
    // (the line's, else its system's); VAT is taken on materials and work, to the kopeck.
    void jobCost_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("linePrice");
        QTest::addColumn<QString>("vat");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QStringList>("paint"); // per material: quantity, cans, cost
        QTest::addColumn<QString>("total");
        const QStringList painted{"1,00 кг/1/100,00", "2,40 кг/3/750,00"};
        QTest::newRow("primer and two coats")
            << "м2" << "" << "20" << "10,00 м2" << painted << "2 820,00 руб.";
        QTest::newRow("the line's price") << "м2" << "200" << "" << "10,00 м2" << painted
                                          << "2 850,00 руб.";
        QTest::newRow("VAT to the kopeck") << "м2" << "0,333" << "20" << "10,00 м2" << painted
                                           << "1 024,00 руб.";
        QTest::newRow("metres take no paint") << "м" << "" << "" << "0,00 м2"
                                              << QStringList{"0,00 кг/0/0,00", "0,00 кг/0/0,00"}
                                              << "1 500,00 руб.";
    }
    void jobCost() {
        QFETCH(QString, unit);
        QFETCH(QString, linePrice);
        QFETCH(QString, vat);
        QFETCH(QString, area);
        QFETCH(QStringList, paint);
        QFETCH(QString, total);
        Workspace space;
        SheetModel& model = space.model();
        model.editor().editMaterials({::paint("0,1", "0", "1", "100", "Грунтовка"),
                             ::paint("0,12", "0", "0,9", "250", "Эмаль")});
        model.editor().editSystems({{0, "Радиаторы", {{1, 1}, {2, 2}}, "150", "15-04-030-1"}});
        Line line = lineWith("10");
        line.unit = unit;
        line.price = linePrice;
        model.editor().insertLines(0, {line});
        FakePrompts prompts; // the system is given to the whole (nameless) room
        prompts.choice = "Радиаторы — Грунтовка ×1 + Эмаль ×2";
        space.window.setPrompts(&prompts);
        space.window.findChild<QAction*>("assignRoomSystem")->trigger();
        model.editor().setVatRate(vat);
        QCOMPARE(areaText(model.estimate().totals().area(), u','), area);
        QStringList seen;
        for (const MaterialRow& row : materialRows(model.estimate().view()))
            seen << row.quantity + u'/' + row.cans + u'/' + row.cost;
        QCOMPARE(seen, paint);
        QCOMPARE(space.window.findChild<QLabel*>("totalCost")->text(), total);
        // The CSV's figures are bare numbers, units in the headings: work, then each material.
        const QList<QStringList> csv = parseCsv(QString::fromUtf8(sheetCsv(model.estimate().view()).mid(3)), ';');
        // A material nothing takes has no column.
        const QStringList taken = unit == "м2" ? QStringList{"Грунтовка, кг", "Эмаль, кг"} : QStringList{};
        QCOMPARE(csv[0].mid(csv[0].size() - 1 - taken.size()), QStringList{"Шифр нормы"} + taken);
        QCOMPARE(csv[1].mid(csv[1].size() - 2 - taken.size(), 1), QStringList{model.estimate().totals().work().text(u',', 2)});
        QCOMPARE(csv[1].mid(csv[1].size() - taken.size()),
                 unit == "м2" ? QStringList({"1,00", "2,40"}) : QStringList());
    }

    // Paint = area × consumption × coats × (1 + waste/100) at two decimals; cans up; cost.
    void paintCansAndCost_data() {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<Material>("material");
        QTest::addColumn<int>("coats");
        QTest::addColumn<QStringList>("paints");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("cans");
        QTest::addColumn<QString>("cost");
        QTest::newRow("waste and coats")
            << QStringList{"10"} << paint("0,11", "10", "0,9", "250,5") << 2 << QStringList{"2,42 кг"}
            << "2,42 кг"
            << "3"
            << "751,50";
        // 2,7 / 0,9 is 3 cans exactly; in binary it comes out a hair above 3.
        QTest::newRow("cans exactly")
            << QStringList{"1,35", "1,35"} << paint("1", "0", "0,9", "100") << 1
            << QStringList{"1,35 кг", "1,35 кг"} << "2,70 кг"
            << "3"
            << "300,00";
        // 1,005 rounds up at two decimals; its binary neighbour lies below the half.
        QTest::newRow("half up exactly") << QStringList{"1"} << paint("1,005", "0", "1", "") << 1
                                         << QStringList{"1,01 кг"} << "1,01 кг"
                                         << "2"
                                         << "—";
        QTest::newRow("sum of shown paints")
            << QStringList{"1", "1", "1"} << paint("0,333", "0", "10", "1") << 1
            << QStringList{"0,33 кг", "0,33 кг", "0,33 кг"} << "0,99 кг"
            << "1"
            << "1,00";
    }
    void paintCansAndCost() {
        QFETCH(QStringList, results);
        QFETCH(Material, material);
        QFETCH(int, coats);
        QFETCH(QStringList, paints);
        QFETCH(QString, quantity);
        QFETCH(QString, cans);
        QFETCH(QString, cost);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        fillModel(model, results);
        paintWith(model, {material}, coats);
        for (int row = 0; row < model.rowCount(); ++row)
            QVERIFY(model.setData(model.index(row, int(Column::System)), material.name,
                                  Qt::EditRole));
        QStringList shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown << model.index(row, int(Column::Paint)).data().toString();
        QCOMPARE(shown, paints);
        const auto rows = materialRows(model.estimate().view());
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows[0].quantity, quantity);
        QCOMPARE(rows[0].cans, cans);
        QCOMPARE(rows[0].cost, cost);
    }

    void materialProblems_data() {
        QTest::addColumn<Material>("material");
        QTest::addColumn<bool>("sound");
        QTest::newRow("sound") << paint("0,11", "10", "0,9", "") << true;
        QTest::newRow("no name") << paint("0,11", "10", "0,9", "", " ") << false;
        QTest::newRow("consumption not a figure") << paint("abc", "0", "1", "") << false;
        QTest::newRow("negative waste") << paint("1", "-5", "1", "") << false;
        QTest::newRow("empty can") << paint("1", "0", "0", "") << false;
        QTest::newRow("price not a figure") << paint("1", "0", "1", "дорого") << false;
    }
    void materialProblems() {
        QFETCH(Material, material);
        QFETCH(bool, sound);
        QCOMPARE(material.problem().isEmpty(), sound);
        QCOMPARE(MaterialRates::of(material).has_value(), sound);
    }

    // One line per successful Compute in the real windows; nothing for a refusal, a
    // conversion error, a repeat or Reset.
    void recordingFromCalculators() {
        RecordingMessageBoxes boxes;
        Program program(',');
        program.start();
        QVERIFY(!program.estimateSheet().isBuilt()); // start-up does not build the sheet
        const auto lineCount = [&] { return program.estimateSheet().document().model().rowCount(); };

        CalculatorWindow* sinks = openCalculator(program, 5);
        typeInto(sinks, "Edit2", "3,5");
        click(sinks, "Button1");
        QCOMPARE(lineCount(), 1);
        QVERIFY(!program.estimateSheet().isBuilt()); // recorded without a window
        // Said where the user works, the calculator staying as it is.
        QCOMPARE(program.mainWindow().statusBar()->currentMessage(),
                 QString("Записано в ведомость: строка 1, (без помещения)"));
        click(sinks, "Button1"); // the same texts again
        QCOMPARE(lineCount(), 1);
        QCOMPARE(program.mainWindow().statusBar()->currentMessage(),
                 QString("Не записано: расчёт повторяет строку 1 ведомости"));
        click(sinks, "Button2"); // Reset
        QCOMPARE(lineCount(), 1);
        typeInto(sinks, "Edit2", "1,2,3");
        click(sinks, "Button1"); // conversion error
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(lineCount(), 1);

        // Nothing measured, nothing to paint: the calculator shows its zero, the sheet keeps none.
        CalculatorWindow* pipes = openCalculator(program, 2);
        click(pipes, "Button1");
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(lineCount(), 1);
        QCOMPARE(program.mainWindow().statusBar()->currentMessage(),
                 QString("Нулевой результат в ведомость не записан"));
        typeInto(pipes, "Edit3", "57");
        typeInto(pipes, "Edit1", "10");
        typeInto(pipes, "Edit4", "76");
        typeInto(pipes, "Edit2", "2");
        click(pipes, "Button1");
        QCOMPARE(lineCount(), 2);

        CalculatorWindow* sliding = openCalculator(program, 20);
        click(sliding, "Button1"); // refused: no area
        QCOMPARE(boxes.boxes.size(), 2);
        QCOMPARE(lineCount(), 2);
        typeInto(sliding, "Edit2", "10");
        typeInto(sliding, "Edit3", "1");
        click(sliding, "CheckBox1");
        click(sliding, "Button1");
        QCOMPARE(lineCount(), 3);

        // The sinks once more with other texts: a new line; then the pipes' same texts after
        // another calculator's line: still a repeat of the pipes' last line.
        openCalculator(program, 5);
        retype(sinks, "Edit2", "4");
        click(sinks, "Button1");
        QCOMPARE(lineCount(), 4);
        openCalculator(program, 2);
        click(pipes, "Button1");
        QCOMPARE(lineCount(), 4);

        const Sheet& sheet = program.estimateSheet().window().model().estimate().sheet();
        QCOMPARE(sheet.lines[0].element, QString("Мойки и раковины"));
        QCOMPARE(sheet.lines[0].calculator, QString("TForm5"));
        QCOMPARE(sheet.lines[0].result, QString("7"));
        QCOMPARE(sheet.lines[0].measurements.size(), 1);
        QCOMPARE(sheet.lines[0].measurements[0].text, QString("3,5"));
        QCOMPARE(sheet.lines[0].measurements[0].name, QString("Площадь проекции"));
        QVERIFY(sheet.lines[0].conditions.isEmpty());

        // The pipes: the total, with each filled row's diameter and length measured, pipe by pipe.
        QCOMPARE(sheet.lines[1].element, QString("Трубы без фасонных частей"));
        QCOMPARE(sheet.lines[1].result, textOf(pipes, "Edit28"));
        QStringList measured;
        for (const Measurement& m : sheet.lines[1].measurements)
            measured << m.text;
        QCOMPARE(measured, (QStringList{"57", "10", "76", "2"}));

        QCOMPARE(sheet.lines[2].element, QString("Окна с раздельными переплетами"));
        QCOMPARE(sheet.lines[2].measurements[0].name, QString("Площадь проемов"));
        QCOMPARE(sheet.lines[2].result, textOf(sliding, "Edit4"));
        QCOMPARE(sheet.lines[2].conditions.size(), 1);
        QVERIFY(!sheet.lines[2].conditions[0].endsWith(':'));
        QVERIFY(!sheet.lines[2].conditions[0].isEmpty());
        // The window's openings come off its room's walls; a sink is no opening.
        QCOMPARE(std::pair(sheet.lines[2].opening, sheet.lines[2].deduct), std::pair(QString("10"), true));
        QVERIFY(!sheet.lines[0].deduct);
        // The formula is the result's trail, as the result field's tooltip shows it.
        QCOMPARE(sheet.lines[0].formula, QString("3,5 м2 × 2 = 7 м2"));
        // The sheet writes π by its name; the tooltip keeps the value multiplied.
        QString pipesTrail = control(pipes, "Edit28")->toolTip();
        QVERIFY(pipesTrail.contains("3,14159265358979 (π)"));
        QCOMPARE(sheet.lines[1].formula, pipesTrail.replace("3,14159265358979 (π)", "π"));
        // Its conditions by their short names, as the conditions column names them.
        const QString slidingTrail = control(sliding, "Edit4")->toolTip();
        QVERIFY2(sheet.lines[2].formula.contains(" (" + sheet.lines[2].conditions[0]),
                 qPrintable(sheet.lines[2].formula));
        QCOMPARE(sheet.lines[2].formula.section(" = ", -1), slidingTrail.section(" = ", -1));
        // The total beside the table follows: 7 + the pipes + the window + 8.
        Decimal sum = *Decimal::parse("15");
        for (const QString& shown : {textOf(pipes, "Edit28"), textOf(sliding, "Edit4")})
            sum += *Decimal::parse(shown);
        QCOMPARE(program.estimateSheet().window().findChild<QLabel*>("total")->text(),
                 areaText(sum, u','));
    }

    // A condition whose label tells the user what to tick is named by its short name on the
    // sheet, in the formula as in the conditions.
    void conditionsByShortNames() {
        RecordingMessageBoxes boxes;
        Program program(',');
        program.start();
        CalculatorWindow* doors = openCalculator(program, 24);
        typeInto(doors, "Edit2", "2");
        click(doors, "CheckBox3");
        click(doors, "CheckBox6");
        click(doors, "Button1");
        QCOMPARE(boxes.boxes.size(), 0);
        const Line line = program.estimateSheet().document().model().estimate().sheet().lines.value(0);
        QCOMPARE(line.conditions,
                 (QStringList{"Перегородки", "Перегородки толщиной 140-160 мм"}));
        QCOMPARE(line.formula,
                 QString("2 м2 × 2,9 (Перегородки, Перегородки толщиной 140-160 мм) = 5,8 м2"));
        QVERIFY(control(doors, "Edit4")->toolTip().contains("поставьте галочку"));
    }

    // A line goes to the current room; the same element in another room is a new line, in the
    // same room a repeat; editing a line's room leaves the current room alone.
    void recordingToggleAndCurrentRoom() {
        Workspace space;
        using R = SheetDocument::Recording;
        const auto record = [&](const char* area, const char* result) {
            FormState state(',');
            state.setText("Edit2", area);
            state.setText("Edit1", "");
            return space.document.record("моек", "TForm5", state, {{{"Edit1", result}}, {}}).result;
        };
        QCOMPARE(record("3", "6"), R::Recorded);
        SheetModel& model = space.model();
        QVERIFY(model.setData(model.index(0, int(Column::Room)), "Кухня", Qt::EditRole));
        QCOMPARE(record("4", "8"), R::Recorded);
        QCOMPARE(model.estimate().sheet().lines[1].room, QString());

        auto* room = space.window.findChild<QComboBox*>("currentRoom");
        QVERIFY(room && room->isEditable());
        room->lineEdit()->insert(QStringLiteral("Коридор")); // as typed
        QCOMPARE(record("4", "8"), R::Recorded);
        QCOMPARE(model.estimate().sheet().lines[2].room, QString("Коридор"));
        QCOMPARE(record("4", "8"), R::Repeat);
        QVERIFY(space.window.statusBar()->currentMessage().contains("строку 3"));
        QCOMPARE(model.estimate().rooms(), (QStringList{"Кухня", "Коридор"}));

        auto* toggle = space.window.findChild<QCheckBox*>("recording");
        QAction* item = space.window.findChild<QAction*>("recordingAction");
        QVERIFY(toggle && toggle->isChecked() && item->isChecked());
        toggle->click();
        QCOMPARE(record("5", "10"), R::Off);
        item->trigger(); // the box and the menu item are one setting
        QCOMPARE(record("5", "10"), R::Recorded);
    }

    // A room's walls are its perimeter × height less the openings ticked in it, and follow each
    // change of those openings in the same undo step; the ceiling is length × width.
    void wallsFollowTheirOpenings_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("walls");
        QTest::newRow("as recorded") << "" << "33,9";
        QTest::newRow("two windows") << "count" << "31,8";
        QTest::newRow("door not deducted") << "untick" << "35,7";
        QTest::newRow("cupboard deducted") << "tick" << "33,4";
        QTest::newRow("window in another room") << "room" << "36";
        QTest::newRow("door deleted") << "delete" << "35,7";
        QTest::newRow("by perimeter, no ceiling") << "perimeter" << "21,1";
    }
    void wallsFollowTheirOpenings() {
        QFETCH(QString, edit);
        QFETCH(QString, walls);
        Workspace space;
        SheetModel& model = space.model();
        model.editor().setCurrentRoom("Кухня");
        for (const auto& [form, opening] : {std::pair{"TForm20", "2,1"}, {"TForm24", "1,8"},
                                            {"TForm26", "0,5"}}) {
            FormState state(',');
            state.setText("Edit2", opening);
            QCOMPARE(space.document.record("проём", form, state, {{{"Edit4", "1"}}, {}}).result,
                     SheetDocument::Recording::Recorded);
        }
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == "RoomDialog");
            for (const auto& [field, text] :
                 {std::pair{"roomLength", "4"}, {"roomWidth", "3"}, {"roomHeight", "2,7"}})
                QTest::keyClicks(dialog->findChild<QLineEdit*>(field), text);
            qobject_cast<QDialog*>(dialog)->accept();
        });
        space.window.findChild<QAction*>("actionRoomSize")->trigger();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.estimate().sheet().lines[3].formula,
                 QString("2 × (4 м + 3 м) × 2,7 м − 2,1 м2 (окна) − 1,8 м2 (двери) = 33,9 м2"));
        QCOMPARE(model.estimate().sheet().lines[4].formula, QString("4 м × 3 м = 12 м2"));
        model.editor().setRoomSize("Спальня", {"3", "3", "", "2,5"}); // where the window may go

        const Sheet before = model.estimate().sheet();
        const int steps = space.document.undoStack().count();
        if (edit == "count")
            QVERIFY(model.setData(model.index(0, int(Column::Count)), 2, Qt::EditRole));
        else if (edit == "untick" || edit == "tick")
            QVERIFY(model.setData(model.index(edit == "tick" ? 2 : 1, int(Column::Deduct)),
                                  edit == "tick" ? Qt::Checked : Qt::Unchecked,
                                  Qt::CheckStateRole));
        else if (edit == "room")
            QVERIFY(model.setData(model.index(0, int(Column::Room)), "Спальня", Qt::EditRole));
        else if (edit == "delete")
            model.editor().removeLines({1});
        else if (edit == "perimeter")
            model.editor().setRoomSize("Кухня", {"", "", "10", "2,5"});
        const int row = model.estimate().rowOf("Кухня", LineKind::Walls);
        QCOMPARE(model.estimate().sheet().lines[row].result, walls);
        QCOMPARE(model.estimate().sheet().lines[model.estimate().rowOf("Спальня", LineKind::Walls)].result,
                 QString(edit == "room" ? "27,9" : "30"));
        // The totals kept line by line are those of the sheet summed afresh, and a file's walls
        // are worked out again rather than taken on trust.
        QUndoStack freshUndo;
        Sheets freshSheets(freshUndo, u',');
        SheetModel& fresh = freshSheets.model;
        Sheet tampered = model.estimate().sheet();
        tampered.lines[row].result = "1";
        fresh.editor().reset(tampered);
        QCOMPARE(model.estimate().sheet().lines, fresh.estimate().sheet().lines);
        QCOMPARE(areaText(model.estimate().totals().area(), u','), areaText(fresh.estimate().totals().area(), u','));
        if (edit.isEmpty())
            return;
        QCOMPARE(space.document.undoStack().count(), steps + 1);
        space.document.undoStack().undo();
        QVERIFY(model.estimate().sheet() == before);
    }

    // A room's openings come off its walls once, and never take them below nothing: walls left
    // at zero say why, in the formula, the table and the status line; a second walls line in the
    // room (a copy, a room renamed) deducts none, whichever comes first after a move.
    void wallsDeductOnceAndNeverBelowZero_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("walls"); // the kitchen's walls lines, in order
        QTest::newRow("openings past the walls") << "count" << QStringList{"0"};
        QTest::newRow("walls repeated") << "repeat" << QStringList{"33,9", "37,8"};
        QTest::newRow("the copy moved first") << "repeat, move" << QStringList{"33,9", "37,8"};
        QTest::newRow("room renamed") << "rename" << QStringList{"33,9", "30"};
    }
    void wallsDeductOnceAndNeverBelowZero() {
        QFETCH(QString, edit);
        QFETCH(QStringList, walls);
        Workspace space;
        SheetModel& model = space.model();
        model.editor().setCurrentRoom("Кухня");
        for (const auto& [form, opening] : {std::pair{"TForm20", "2,1"}, {"TForm24", "1,8"}}) {
            FormState state(',');
            state.setText("Edit2", opening);
            space.document.record("проём", form, state, {{{"Edit4", "1"}}, {}});
        }
        model.editor().setRoomSize("Кухня", {"4", "3", "", "2,7"});
        model.editor().setRoomSize("Спальня", {"3", "3", "", "2,5"});
        const int kitchen = model.estimate().rowOf("Кухня", LineKind::Walls);
        if (edit == "count") {
            QVERIFY(model.setData(model.index(0, int(Column::Count)), 20, Qt::EditRole));
            const Line& line = model.estimate().sheet().lines[kitchen];
            QVERIFY2(line.formula.endsWith("= 0 м2: проёмы 43,8 м2 больше стен 37,8 м2"),
                     qPrintable(line.formula));
            QVERIFY(model.index(kitchen, int(Column::Area)).data(Qt::BackgroundRole).isValid());
            QCOMPARE(space.window.statusBar()->currentMessage(),
                     QString("Проёмы помещения «Кухня» больше его стен: стены приняты равными нулю"));
            QVERIFY(!model.estimate().totals().area().isNegative());
        } else if (edit.startsWith("repeat")) {
            model.editor().duplicateLines({kitchen});
            if (edit.endsWith("move"))
                for (int row = model.rowCount() - 1; row > 0; --row)
                    QVERIFY(model.editor().moveLines({row}, -1));
        } else {
            QVERIFY(model.setData(model.index(model.estimate().rowOf("Спальня", LineKind::Walls), int(Column::Room)), "Кухня",
                                  Qt::EditRole));
        }
        QStringList kitchenWalls;
        for (const Line& line : model.estimate().sheet().lines)
            if (line.kind == LineKind::Walls && line.room == "Кухня")
                kitchenWalls << line.result;
        QCOMPARE(kitchenWalls, walls);
        QVERIFY(!model.index(model.estimate().rowOf("Кухня", LineKind::Walls), int(Column::Area)).data(Qt::BackgroundRole)
                     .isValid() || edit == "count");
    }

    // Grouped, the table shows each room's lines under its subtotal, in the sheet's order of
    // rooms; edits and the line commands reach the sheet's lines, never a subtotal.
    void groupedByRoom() {
        Workspace space;
        SheetModel& model = space.model();
        fillModel(model, {"1", "2", "3", "4"}, {"Кухня", "", "Ванная", "Кухня"});
        space.window.findChild<QAction*>("groupByRoom")->trigger();
        auto* table = space.window.findChild<QTableView*>("lines");
        QAbstractItemModel* groups = table->model();
        QAbstractItemModelTester tester(groups, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto shown = [&] {
            QStringList rows;
            for (int row = 0; row < groups->rowCount(); ++row)
                rows << groups->headerData(row, Qt::Vertical).toString() + u':' +
                            groups->index(row, int(Column::Area)).data().toString();
            return rows.join(' ');
        };
        // Numbered as printed, room by room; sums at two decimals.
        QCOMPARE(shown(), QString(":5,00 1:1 2:4 :3,00 3:3 :2,00 4:2"));
        // A line selected stays selected while a line is recorded into another room, a new room
        // comes, and its own count is edited: each is told as the rows it changes.
        const auto selectedLines = [&] {
            QList<int> lines;
            for (const QModelIndex& row : table->selectionModel()->selectedRows())
                lines << static_cast<QAbstractProxyModel*>(groups)->mapToSource(row).row();
            return lines;
        };
        table->selectionModel()->select(groups->index(2, 0), QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
        model.editor().setCurrentRoom("Ванная");
        QVERIFY(model.editor().addLine(lineWith("6")).isEmpty());
        model.editor().setCurrentRoom("Спальня");
        QVERIFY(model.editor().addLine(lineWith("7")).isEmpty());
        QCOMPARE(shown(), QString(":5,00 1:1 2:4 :9,00 3:3 4:6 :7,00 5:7 :2,00 6:2"));
        QCOMPARE(selectedLines(), QList<int>{3});
        QVERIFY(groups->setData(groups->index(2, int(Column::Count)), 2, Qt::EditRole));
        QCOMPARE(selectedLines(), QList<int>{3});
        space.document.undoStack().undo();
        space.document.undoStack().undo();
        space.document.undoStack().undo();
        QCOMPARE(selectedLines(), QList<int>{3});
        QVERIFY(groups->setData(groups->index(2, int(Column::Count)), 2, Qt::EditRole));
        QCOMPARE(shown(), QString(":9,00 1:1 2:8 :3,00 3:3 :2,00 4:2"));
        table->selectionModel()->clearSelection();
        table->selectionModel()->select(groups->index(3, 0), QItemSelectionModel::Select |
                                                                 QItemSelectionModel::Rows);
        table->selectionModel()->select(groups->index(4, 0), QItemSelectionModel::Select |
                                                                 QItemSelectionModel::Rows);
        QVERIFY(!space.window.findChild<QAction*>("moveUp")->isEnabled());
        space.window.findChild<QAction*>("removeLines")->trigger();
        QCOMPARE(shown(), QString(":9,00 1:1 2:8 :2,00 3:2"));
    }

    // The room dialog takes length and width, or a perimeter, and a height, all positive.
    void roomSizeRefusals_data() {
        QTest::addColumn<QStringList>("fields"); // length, width, perimeter, height
        QTest::addColumn<bool>("taken");
        QTest::newRow("rectangle") << QStringList{"4", "3,5", "", "2.7"} << true;
        QTest::newRow("perimeter") << QStringList{"", "", "14,2", "2,7"} << true;
        QTest::newRow("no height") << QStringList{"4", "3", "", ""} << false;
        QTest::newRow("width missing") << QStringList{"4", "", "", "2,7"} << false;
        QTest::newRow("both ways") << QStringList{"4", "3", "14", "2,7"} << false;
        QTest::newRow("zero") << QStringList{"4", "0", "", "2,7"} << false;
        QTest::newRow("nothing") << QStringList{"", "", "", "2,7"} << false;
    }
    void roomSizeRefusals() {
        QFETCH(QStringList, fields);
        QFETCH(bool, taken);
        RoomDialog dialog("Кухня", {}, u',');
        const char* names[] = {"roomLength", "roomWidth", "roomPerimeter", "roomHeight"};
        for (int i = 0; i < 4; ++i)
            dialog.findChild<QLineEdit*>(names[i])->setText(fields[i]);
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, taken);
        QCOMPARE(dialog.findChild<QLabel*>("problem")->text().isEmpty(), taken);
    }

    // An export is proposed under the object's name, made fit for a file, beside the document.
    void exportNamedAfterTheObject_data() {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("object") << "Кв. 5, ул. Мира" << "Кв. 5, ул. Мира.pdf";
        QTest::newRow("unfit characters") << "Дом 5/2: \"А\"" << "Дом 5_2_ _А_.pdf";
        QTest::newRow("hidden") << "..Дача" << "Дача.pdf";
        QTest::newRow("no object") << "" << "Ведомость.pdf";
        QTest::newRow("reversing controls and DEL")
            << QString::fromUtf16(u"Счёт\u202Efdp.exe\u2066 1\u007f2") << "Счётfdp.exe 1_2.pdf";
        // 196 bytes of Cyrillic and 4 of «.pdf»; a character is never cut in two.
        QTest::newRow("long Cyrillic") << QString(120, u'ж') << QString(98, u'ж') + ".pdf";
        QTest::newRow("long CJK") << QString(120, u'漢') << QString(65, u'漢') + ".pdf";
        QTest::newRow("long beyond the basic plane")
            << QString::fromUcs4(std::u32string(80, U'𝔸').c_str()) + "x"
            << QString::fromUcs4(std::u32string(49, U'𝔸').c_str()) + ".pdf";
    }
    void exportNamedAfterTheObject() {
        QFETCH(QString, object);
        QFETCH(QString, suggested);
        Workspace space;
        FakePrompts prompts;
        space.window.setPrompts(&prompts);
        space.model().editor().setProperties({object, {}, {}, {}, {}, {}});
        space.window.findChild<QAction*>("exportPdf")->trigger();
        QCOMPARE(prompts.suggested, suggested);
    }

    // Ins adds a line typed by hand to the current room; its quantity is arithmetic worked out
    // exactly, and typed again it is worked out again or refused.
    void typedLine() {
        Workspace space;
        SheetModel& model = space.model();
        model.editor().setCurrentRoom("Коридор");
        space.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&space.window));
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == "TypedLineDialog");
            dialog->findChild<QLineEdit*>("lineName")->insert("Плинтус");
            dialog->findChild<QComboBox*>("lineUnit")->setCurrentText("м");
            dialog->findChild<QLineEdit*>("lineQuantity")->insert("2,5*3 + 1,2*2 − 0,8");
            qobject_cast<QDialog*>(dialog)->accept();
        });
        QTest::keyClick(space.window.findChild<QTableView*>("lines"), Qt::Key_Insert);
        QCOMPARE(model.rowCount(), 1);
        const Line& line = model.estimate().sheet().lines[0];
        QCOMPARE(QStringList({line.room, line.element, line.unit, line.formula, line.result}),
                 QStringList({"Коридор", "Плинтус", "м", "2,5*3 + 1,2*2 − 0,8", "9,1"}));
        QCOMPARE(areaText(model.estimate().totals().area(), u','), QString("0,00 м2")); // metres are no area
        const QModelIndex formula = model.index(0, int(Column::Formula));
        QVERIFY(!model.setData(formula, "2*", Qt::EditRole));
        QVERIFY(model.setData(formula, "-(1+2)*3", Qt::EditRole));
        QCOMPARE(model.estimate().sheet().lines[0].result, QString("-9"));

        // Typed in the table: a mistake is said where it is typed and the editor stays open;
        // sound arithmetic is taken, a quotient that never ends shown as about.
        auto* table = space.window.findChild<QTableView*>("lines");
        table->setCurrentIndex(formula);
        table->edit(formula);
        auto* editor = table->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "2*");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        QVERIFY2(editor->toolTip().startsWith("Ошибка в позиции 3"), qPrintable(editor->toolTip()));
        QVERIFY(table->indexWidget(formula) == editor && editor->isVisible()); // still open
        QCOMPARE(model.estimate().sheet().lines[0].result, QString("-9"));
        QTest::keyClicks(editor, "10/3");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the delegate commits after the key
        QCOMPARE(model.estimate().sheet().lines[0].result, QString("6,67"));
        QCOMPARE(formula.data().toString(), QString("2 × 10 / 3 ≈ 6,67 м"));
        QCOMPARE(formula.data(Qt::EditRole).toString(), QString("2*10/3"));
    }

    // Every edit undoes to the sheet before it and redoes to the sheet after it, the model
    // telling its views exactly what changed (the model tester fails the test otherwise), and
    // undoing back to the saved sheet leaves it saved.
    void undoOfEachEdit_data() {
        QTest::addColumn<QString>("edit");
        for (const char* edit :
             {"room", "count", "material", "delete", "delete two", "delete all", "up", "down",
              "block up", "apart down", "duplicate", "materials", "rename material", "record",
              "room size", "systems", "system of lines", "price", "properties", "VAT"})
            QTest::newRow(edit) << QString(edit);
    }
    void undoOfEachEdit() {
        QFETCH(QString, edit);
        Workspace space;
        SheetDocument& document = space.document;
        SheetModel& model = space.model();
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        paintWith(model, {paint("0,1", "0", "1", "10")});
        fillModel(model, {"1,5", "2", "0,25", "3", "4"}, {"А", "Б", "В", "Г", "Д"});
        QVERIFY(model.setData(model.index(3, int(Column::System)), 1, Qt::EditRole));
        QVERIFY(document.saveTo(space.folder.filePath("saved.velaro-estimate")).isEmpty());
        document.undoStack().clear();
        document.undoStack().setClean();
        const Sheet before = model.estimate().sheet();
        const QString totalBefore = areaText(model.estimate().totals().area(), u',');

        if (edit == "room")
            QVERIFY(model.setData(model.index(1, int(Column::Room)), "Кухня", Qt::EditRole));
        else if (edit == "count")
            QVERIFY(model.setData(model.index(1, int(Column::Count)), 4, Qt::EditRole));
        else if (edit == "material")
            QVERIFY(model.setData(model.index(2, int(Column::System)), "ПФ-115", Qt::EditRole));
        else if (edit == "delete")
            model.editor().removeLines({1});
        else if (edit == "delete two")
            model.editor().removeLines({2, 0});
        else if (edit == "delete all")
            model.editor().removeLines({4, 0, 1, 2, 3});
        else if (edit == "up")
            QVERIFY(model.editor().moveLines({2}, -1));
        else if (edit == "down")
            QVERIFY(model.editor().moveLines({0}, +1));
        else if (edit == "block up")
            QVERIFY(model.editor().moveLines({3, 2, 4}, -1));
        else if (edit == "apart down")
            QVERIFY(model.editor().moveLines({0, 2}, +1));
        else if (edit == "duplicate")
            model.editor().duplicateLines({3, 1});
        else if (edit == "materials")
            model.editor().editMaterials({});
        else if (edit == "rename material") {
            Material renamed = model.estimate().sheet().materials.front();
            renamed.name = "Эмаль";
            model.editor().editMaterials({renamed});
            QCOMPARE(model.index(3, int(Column::System)).data(Qt::ToolTipRole).toString(),
                     QString("Эмаль ×1"));
        } else if (edit == "record") {
            FormState state(',');
            state.setText("Edit2", "9");
            QCOMPARE(document.record("моек", "TForm5", state, {{{"Edit1", "18"}}, {}}).result,
                     SheetDocument::Recording::Recorded);
        } else if (edit == "room size")
            model.editor().setRoomSize("Б", {"4", "3", "", "2,7"});
        else if (edit == "systems")
            model.editor().editSystems({});
        else if (edit == "system of lines")
            model.editor().assignSystem({0, 1}, 1);
        else if (edit == "price")
            QVERIFY(model.setData(model.index(3, int(Column::Price)), "150,5", Qt::EditRole));
        else if (edit == "properties")
            model.editor().setProperties({"Дом", "", "", "", "", ""});
        else if (edit == "VAT")
            model.editor().setVatRate("20");
        const Sheet after = model.estimate().sheet();
        const QString totalAfter = areaText(model.estimate().totals().area(), u',');
        QVERIFY(!(after == before));
        QCOMPARE(document.undoStack().count(), 1);
        QVERIFY(document.isModified() && space.window.isWindowModified());

        document.undoStack().undo();
        QVERIFY(model.estimate().sheet() == before);
        QCOMPARE(areaText(model.estimate().totals().area(), u','), totalBefore);
        QVERIFY(!document.isModified() && !space.window.isWindowModified());
        document.undoStack().redo();
        QVERIFY(model.estimate().sheet() == after);
        QCOMPARE(areaText(model.estimate().totals().area(), u','), totalAfter);
    }

    void refusedEditsChangeNothing_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("count 0") << int(Column::Count) << QVariant(0);
        QTest::newRow("count text") << int(Column::Count) << QVariant("два");
        QTest::newRow("unknown system") << int(Column::System) << QVariant("Эмаль");
        QTest::newRow("unknown system id") << int(Column::System) << QVariant(7);
        QTest::newRow("area") << int(Column::Area) << QVariant("5");
        QTest::newRow("element") << int(Column::Element) << QVariant("дверь");
        QTest::newRow("a computed line's formula") << int(Column::Formula) << QVariant("1+1");
        QTest::newRow("price not a figure") << int(Column::Price) << QVariant("дорого");
    }
    void refusedEditsChangeNothing() {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        fillModel(model, {"1"});
        const Sheet before = model.estimate().sheet();
        const int steps = undo.count();
        QVERIFY(!model.setData(model.index(0, column), value, Qt::EditRole));
        QVERIFY(model.estimate().sheet() == before);
        QCOMPARE(undo.count(), steps);
    }

    // The keys in the window: moving keeps exactly the moved lines selected, Delete removes
    // exactly the selection, undo and both redo keys, Tab out of the table.
    void keysInTheWindow() {
        Workspace space;
        EstimateWindow& window = space.window;
        SheetModel& model = space.model();
        fillModel(model, {"1", "2", "3", "4", "5"});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* table = window.findChild<QTableView*>("lines");
        table->setFocus();
        const auto results = [&] {
            QStringList all;
            for (const Line& line : model.estimate().sheet().lines)
                all << line.result;
            return all.join(' ');
        };
        for (int row : {1, 3})
            table->selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select |
                                                                     QItemSelectionModel::Rows);
        for (int step = 0; step < 2; ++step) // the second is refused: a line is at the bottom
            QTest::keyClick(table, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(results(), QString("1 3 2 5 4"));
        // Exactly the moved lines go: the selection went with them.
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(results(), QString("1 3 5"));
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(results(), QString("1 3 2 5 4"));
        QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(results(), QString("1 3 5"));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Tab);
        QVERIFY(!table->hasFocus());
    }

    void fileRoundTrip() {
        QTemporaryDir folder;
        const QString path = folder.filePath("object.velaro-estimate");
        Sheet original;
        {
            SheetDocument document(u',', folder.path());
            SheetModel& model = document.model();
            paintWith(model,
                      {paint("0,11", "10", "0,9", "250,5"), paint("0,2", "5", "3", "", "ВД-АК")});
            Line line = lineWith("12,35", 3, "Кухня \"у окна\" \\ 🎨\n\t/");
            line.measurements = {{"Площадь", "6,175", "м2"}, {"Переплётов", "2", ""}};
            line.conditions = {"Стены каменные"};
            line.formula = "6,175 м2 × 2 = 12,35 м2";
            line.system = 2; // ВД-АК
            model.editor().insertLines(0, {line});
            model.editor().insertLines(1, {lineWith("0,1")});
            QList<PaintSystem> systems = model.estimate().sheet().systems;
            systems.append({0, "Грунт и эмаль", {{1, 1}, {2, 2}}, "120,5", "ГЭСН 15-04-024-01"});
            model.editor().editSystems(systems);
            Line window = lineWith("3,2", 2, "Кухня");
            window.calculator = "TForm20";
            window.opening = "1,6";
            window.deduct = true;
            window.system = 3;
            window.price = "99";
            window.code = "ГЭСН 15-04-030-01";
            model.editor().insertLines(2, {window});
            Line typed = lineWith("7,5", 1, "Кухня");
            typed.kind = LineKind::Typed;
            typed.unit = "м";
            model.editor().insertLines(3, {typed});
            model.editor().setRoomSize("Кухня", {"4", "3", "", "2,7"}); // walls less the window, a ceiling
            model.editor().setVatRate("20");
            model.editor().setProperties({"Кв. 5", "ул. Мира, 1", "Иванов", "ООО «Краска»", "Петров", ""});
            model.editor().setRecording(false);
            original = model.estimate().sheet();
            QCOMPARE(original.lines.size(), 6);
            QVERIFY(document.isModified());
            QCOMPARE(document.saveTo(path), QString());
            QVERIFY(!document.isModified());
        }
        SheetDocument reopened(u',', folder.path());
        QCOMPARE(reopened.openFrom(path), QString());
        QVERIFY(reopened.model().estimate().sheet() == original);
        QCOMPARE(reopened.model().index(0, int(Column::Paint)).data().toString(),
                 QString("7,78 кг"));
        QCOMPARE(reopened.path(), path);
        // The file names its format and version.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("\"format\": \"velaro-estimate\""));
        QVERIFY(bytes.contains("\"version\": 3"));
    }

    // A bad file is refused with its name and what is wrong, and the sheet stays as it was.
    void badFilesLeaveTheSheet_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        Sheet sheet;
        sheet.materials = {paint("0,1", "0", "1", "")};
        sheet.materials[0].id = 1;
        sheet.lines = {lineWith("1,5"), lineWith("2")};
        sheet.systems = {{1, "Эмаль", {{1, 2}}, {}, {}}};
        sheet.lines[0].system = 1;
        const QByteArray good = sheetToJson(sheet);
        const auto edited = [&](const QByteArray& from, const QByteArray& to) {
            QByteArray bytes = good;
            return bytes.replace(from, to);
        };
        // As the program wrote it before paint systems: coats on the material, a material on
        // the line.
        const QByteArray v2 = R"({"format": "velaro-estimate", "version": 2, "recording": true,
            "lastRoom": "", "materials": [{"id": 1, "name": "ПФ-115", "unit": "кг",
            "consumption": "0,1", "coats": 2, "waste": "0", "canSize": "1", "price": ""}],
            "lines": [{"room": "", "element": "", "calculator": "TForm5", "inputs": "",
            "measurements": [], "conditions": [], "formula": "", "result": "1,5", "count": 1,
            "material": 1}, {"room": "", "element": "", "calculator": "TForm5", "inputs": "",
            "measurements": [], "conditions": [], "formula": "", "result": "2", "count": 1,
            "material": 0}]})";
        // Written otherwise than this program writes them now, and still sheets: no reason.
        QTest::newRow("escaped member name") << edited("\"format\"", "\"\\u0066ormat\"") << "";
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + good << "";
        QTest::newRow("format 2: a system of each material") << v2 << "";
        QTest::newRow("format 1: no ids, a material by its name")
            << QByteArray(v2)
                   .replace("\"version\": 2", "\"version\": 1")
                   .replace("\"id\": 1,", "")
                   .replace("\"material\": 1", "\"material\": \"ПФ-115\"")
                   .replace("\"material\": 0", "\"material\": \"\"")
            << "";
        QTest::newRow("empty") << QByteArray() << "файл пуст";
        QTest::newRow("truncated") << good.left(good.size() / 2) << "файл обрывается";
        QTest::newRow("damaged") << edited("\"lines\"", "\"lines\" ]]") << "файл повреждён";
        QTest::newRow("not json") << QByteArray("\x89PNG\r\n\x1a\n") << "не файл ведомости";
        QTest::newRow("foreign json")
            << QByteArray("{\"format\": \"spreadsheet\", \"version\": 1}") << "не файл ведомости";
        QTest::newRow("json array") << QByteArray("[1, 2]") << "не файл ведомости";
        QTest::newRow("newer") << edited("\"version\": 3", "\"version\": 4")
                               << "более новой версией программы (формат 4)";
        QTest::newRow("no version")
            << edited("\"version\": 3", "\"version\": \"3\"") << "нет версии формата";
        QTest::newRow("count zero") << edited("\"count\": 1", "\"count\": 0") << "«count»";
        QTest::newRow("huge count") << edited("\"count\": 1", "\"count\": 1e300") << "«count»";
        QTest::newRow("result not text")
            << edited("\"result\": \"2\"", "\"result\": 2") << "«result»";
        QTest::newRow("unknown material")
            << QByteArray(v2).replace("\"material\": 0", "\"material\": 7")
            << "строка 2: нет материала 7";
        QTest::newRow("unknown system")
            << edited("\"system\": 0", "\"system\": 7") << "строка 2: нет системы 7";
        QTest::newRow("layer of an unknown material")
            << edited("\"material\": 1", "\"material\": 7") << "система 1, слой 1: нет материала";
        QTest::newRow("unknown kind")
            << edited("\"computed\"", "\"wall\"") << "строка 1, «kind»";
        QTest::newRow("system id twice")
            << edited("\"systems\": [", R"("systems": [{"id": 1, "name": "Грунт", "layers": [],
                "price": "", "code": ""}, )") << "система 2: номер повторяется";
        QTest::newRow("bad material")
            << edited("\"canSize\": \"1\"", "\"canSize\": \"0\"") << "материал 1: тара";
        QTest::newRow("missing member") << edited("\"formula\"", "\"formulae\"") << "«formula»";
        QTest::newRow("lone surrogate")
            << edited("\"room\": \"\"", "\"room\": \"\\ud800\"") << "одиночный суррогат";
        QTest::newRow("control character")
            << edited("\"room\": \"\"", "\"room\": \"a\tb\"") << "управляющий символ";
        QTest::newRow("not utf-8")
            << edited("\"room\": \"\"", "\"room\": \"\xff\"") << "не в UTF-8";
        QTest::newRow("too deep") << QByteArray("{\"a\": ") + QByteArray(100, '[') +
                                         QByteArray(100, ']') + "}"
                                  << "вложенность";
        QTest::newRow("trailing text") << good + "{}"
                                       << "лишний текст";
        QTest::newRow("number out of range")
            << edited("\"count\": 1", "\"count\": 1e400") << "число вне диапазона";
        QTest::newRow("lone low surrogate")
            << edited("\"room\": \"\"", "\"room\": \"\\udc00\"") << "одиночный суррогат";
        const QByteArray line = R"({"room": "", "element": "", "calculator": "", "inputs": "",
            "measurements": [], "conditions": [], "formula": "", "result": "1", "count": 1,
            "kind": "computed", "unit": "м2", "opening": "", "deduct": false, "system": 0,
            "price": "", "code": ""}, )";
        QTest::newRow("too many lines")
            << edited("\"lines\": [", "\"lines\": [" + line.repeated(kMaxLines))
            << "больше 200000 строк";
    }
    void badFilesLeaveTheSheet() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString path = folder.filePath("bad.velaro-estimate");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        FakePrompts prompts;
        Workspace space;
        space.window.setPrompts(&prompts);
        fillModel(space.model(), {"7"});
        const Sheet before = space.model().estimate().sheet();
        if (reason.isEmpty()) {
            QVERIFY2(space.window.openFrom(path), qPrintable(prompts.errors.value(0)));
            QCOMPARE(space.model().rowCount(), 2);
            QCOMPARE(space.model().estimate().sheet().lines[0].system, 1);
            QVERIFY(space.model().estimate().sheet().systems.value(0).layers == (QList<Layer>{{1, 2}}));
            return;
        }
        QVERIFY(!space.window.openFrom(path));
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY2(prompts.errors[0].contains(path), qPrintable(prompts.errors[0]));
        QVERIFY2(prompts.errors[0].contains(reason), qPrintable(prompts.errors[0]));
        QVERIFY(space.model().estimate().sheet() == before);
        QCOMPARE(space.document.path(), QString());
    }

    void csvQuotingAndFormulaGuard_data() {
        QTest::addColumn<QChar>("decimal");
        QTest::addColumn<QString>("room");
        QTest::addColumn<QString>("cell");
        QTest::newRow("plain") << QChar(u',') << "Кухня"
                               << "Кухня";
        QTest::newRow("formula") << QChar(u',') << "=SUM(A1:A9)"
                                 << "'=SUM(A1:A9)";
        QTest::newRow("plus") << QChar(u',') << "+7"
                              << "'+7";
        QTest::newRow("minus") << QChar(u',') << "-7"
                               << "-7";
        QTest::newRow("at") << QChar(u',') << "@cmd"
                            << "'@cmd";
        QTest::newRow("tab") << QChar(u',') << "\tx"
                             << "'\tx";
        QTest::newRow("carriage return") << QChar(u',') << "\rx"
                                         << "'\rx";
        QTest::newRow("semicolon") << QChar(u',') << "a;b"
                                   << "a;b";
        QTest::newRow("quote") << QChar(u',') << "a \"b\""
                               << "a \"b\"";
        QTest::newRow("line break") << QChar(u',') << "a\nb"
                                    << "a\nb";
        QTest::newRow("comma under point") << QChar(u'.') << "a,b"
                                           << "a,b";
        QTest::newRow("inner equals") << QChar(u',') << "a=b"
                                      << "a=b";
        QTest::newRow("blank before equals") << QChar(u',') << " =1+1"
                                             << "' =1+1";
        QTest::newRow("no-break space before at") << QChar(u',') << "\u00A0@cmd"
                                                  << "'\u00A0@cmd";
        QTest::newRow("minus before a formula") << QChar(u',') << "-7+A1"
                                                << "'-7+A1";
    }
    void csvQuotingAndFormulaGuard() {
        QFETCH(QChar, decimal);
        QFETCH(QString, room);
        QFETCH(QString, cell);
        QUndoStack undo;
        Sheets sheets(undo, decimal);
        SheetModel& model = sheets.model;
        fillModel(model, {decimal == u',' ? "12,5" : "12.5"}, {room});
        const QByteArray bytes = sheetCsv(model.estimate().view());
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QChar separator = decimal == u',' ? u';' : u',';
        const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)), separator);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].size(), kColumnCount); // the line's number first, no paint column
        QCOMPARE(rows[0][1 + int(Column::Area)], QString("Количество"));
        QCOMPARE(rows[1].size(), kColumnCount);
        QCOMPARE(rows[1][0], QString("1"));
        QCOMPARE(rows[1][1 + int(Column::Room)], cell);
        QCOMPARE(rows[1][1 + int(Column::Area)],
                 decimal == u',' ? QString("12,5") : QString("12.5"));
    }

    // The one report every document reads: the rooms in the estimator's order, a room's lines
    // in the sheet's order wherever they were added, numbered as printed; rooms' sums that add
    // up to the sheet's, a material nothing takes left out. The CSV follows it line for line.
    void reportRoomByRoom() {
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        model.editor().editMaterials({paint("0,11", "10", "0,9", "250,5", "Эмаль"),
                             paint("0,1", "0", "1", "300", "Грунт"),
                             paint("0,2", "0", "1", "10", "Не взят")});
        model.editor().editSystems({{0, "Грунт и эмаль ×2", {{2, 1}, {1, 2}}, "180,5", {}},
                           {0, "Эмаль", {{1, 1}}, {}, {}}});
        const QList<std::tuple<QString, QString, int>> lines{
            {"12,35", "Кухня", 1}, {"7,77", "", 2}, {"3,33", "Ванная", 1},
            {"0,33", "Кухня", 2},  {"5", "Ванная", 0}, {"1,01", "Кухня", 1}};
        for (const auto& [result, room, system] : lines) {
            Line line = lineWith(result, 3, room);
            line.system = system;
            model.editor().insertLines(model.rowCount(), {line});
        }
        const Report report = Report::of(model.estimate().view(), QDate(2026, 12, 7));
        QStringList order;
        Decimal area;
        std::vector<Decimal> paint(report.materials().size());
        for (const ReportRoom& room : report.rooms()) {
            QStringList numbered;
            for (int row : room.lines)
                numbered << QString("%1=%2").arg(report.numberOf(row)).arg(row + 1);
            order << room.title + ": " + numbered.join(' ');
            area += room.area;
            for (std::size_t k = 0; k < paint.size(); ++k)
                paint[k] += room.paint[k];
        }
        QCOMPARE(order, (QStringList{"Кухня: 1=1 2=4 3=6", "Ванная: 4=3 5=5",
                                     "(без помещения): 6=2"}));
        QCOMPARE(area, report.area());
        QCOMPARE(report.materials().size(), std::size_t(2));
        for (std::size_t k = 0; k < paint.size(); ++k)
            QCOMPARE(paint[k], report.materials()[k].quantity);
        QCOMPARE(report.titleBlock().date, QString("07.12.2026"));

        const QList<QStringList> csv =
            parseCsv(QString::fromUtf8(sheetCsv(model.estimate().view()).mid(3)), u';');
        QStringList csvOrder;
        for (const QStringList& row : csv.mid(1, 6))
            csvOrder << row[0] + u'=' + row[1 + int(Column::Area)];
        QCOMPARE(csvOrder, (QStringList{"1=37,05", "2=0,99", "3=3,03", "4=9,99", "5=15", "6=23,31"}));

        // A room moved ahead of another is reported first; undone, it goes back.
        const auto firstRooms = [&] {
            const Report moved = Report::of(model.estimate().view());
            return moved.rooms()[0].title + u'/' + moved.rooms()[1].title;
        };
        QVERIFY(model.editor().moveLines({2}, -1));
        QVERIFY(model.editor().moveLines({1}, -1));
        QCOMPARE(firstRooms(), QString("Ванная/Кухня"));
        undo.undo();
        QCOMPARE(firstRooms(), QString("Кухня/Ванная"));
    }

    // Pages for a client: the object's name for a title, never the file's; every line once, the
    // column headings and «Страница N из M» on every page; the money in figures and words last.
    void pdfShowsLinesAndTotals() {
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed");
        QTemporaryDir folder;
        const QString path = folder.filePath("sheet.pdf");
        SheetDocument document(u',', folder.path());
        SheetModel& model = document.model();
        QCOMPARE(document.saveTo(folder.filePath("черновик.velaro-estimate")), QString());
        paintWith(model, {paint("0,11", "10", "0,9", "250,5")}, 2);
        Sheet sheet = model.estimate().sheet();
        sheet.properties = {"Школа № 5", "ул. Садовая, 14", "ООО «Заказчик»", {}, "Иванов И. И.",
                            "07.12.2026"};
        sheet.vatRate = "20";
        for (int i = 1; i <= 150; ++i) {
            Line line = lineWith(QString("%1,5").arg(i), 1, i % 3 ? "Кухня" : "Ванная");
            line.formula = QString("№%1 × 2 (две стороны)").arg(i);
            line.system = 1;
            line.price = "120";
            sheet.lines << line;
        }
        model.editor().reset(sheet);
        QCOMPARE(document.exportPdf(path), QString());

        QProcess process;
        process.start(pdftotext, {"-layout", path, "-"});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
        pages.removeLast(); // after the last page's separator
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        QList<int> numbers;
        for (qsizetype page = 0; page < pages.size(); ++page) {
            const QString text = pages[page].simplified();
            QVERIFY2(text.contains(QString("Страница %1 из %2").arg(page + 1).arg(pages.size())),
                     qPrintable(text.right(300)));
            auto lines = QRegularExpression("№(\\d+) ").globalMatch(text);
            while (lines.hasNext())
                numbers << lines.next().captured(1).toInt();
            if (text.contains("моек и раковин"))
                QVERIFY2(text.contains("Элемент") && text.contains("Количество"),
                         qPrintable(QString("no headings on page %1").arg(page + 1)));
        }
        std::sort(numbers.begin(), numbers.end());
        QCOMPARE(numbers.size(), 150); // each line once: none lost or doubled at a page's end
        QCOMPARE(numbers.back(), 150);
        const QString first = pages.front().simplified();
        for (const char* expected :
             {"Ведомость окраски", "Школа № 5", "ул. Садовая, 14", "ООО «Заказчик»", "07.12.2026"})
            QVERIFY2(first.contains(expected), qPrintable(expected + (" not in: " + first)));
        QVERIFY(!first.contains("черновик"));
        const QString all = pages.join(u' ').simplified();
        const SheetView view = model.estimate().view();
        for (const QString& expected :
             {QString("Итого по помещению «Ванная»"), materialRows(view).front().quantity,
              view.totals.area().text(u',', 2, true) + " м2"})
            QVERIFY2(all.contains(expected), qPrintable(expected));
        const Decimal total = moneyOf(view).total;
        const QString last = pages.back().simplified();
        for (const QString& expected :
             {moneyText(total, u','), velaro::roublesInWords(total), QString("Иванов И. И.")})
            QVERIFY2(last.contains(expected), qPrintable(expected + " not in: " + last));

        // Portrait where the columns fit it, landscape where the texts would be squeezed.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        setUpPages(writer, view);
        QCOMPARE(writer.pageLayout().orientation(), QPageLayout::Portrait);
        Line& window = sheet.lines.front();
        window.element = "Окна со спаренными переплетами";
        window.measurements = {{"Длина", "120", "м"}};
        window.conditions = {"С тройным остеклением"};
        window.formula = "1,68 м2 × 3,1 (Стены каменные, с подоконной доской, 2 переплета) × 1,15 "
                         "(С тройным остеклением) = 5,99 м2";
        window.count = 2;
        window.code = "15-04-030-1";
        sheet.systems.front().name = "Водоэмульсионная окраска в два слоя";
        model.editor().reset(sheet);
        setUpPages(writer, model.estimate().view());
        QCOMPARE(writer.pageLayout().orientation(), QPageLayout::Landscape);
    }

    void roublesInWords_data() {
        QTest::addColumn<QString>("sum");
        QTest::addColumn<QString>("words");
        const QString none = " рублей 00 копеек";
        QTest::newRow("1") << "1" << "Один рубль 00 копеек";
        QTest::newRow("2") << "2" << "Два рубля 00 копеек";
        QTest::newRow("5") << "5" << "Пять" + none;
        QTest::newRow("11") << "11" << "Одиннадцать" + none;
        QTest::newRow("21") << "21" << "Двадцать один рубль 00 копеек";
        QTest::newRow("1000") << "1000" << "Одна тысяча" + none;
        QTest::newRow("2000") << "2000" << "Две тысячи" + none;
        QTest::newRow("5000") << "5000" << "Пять тысяч" + none;
        QTest::newRow("21 000") << "21000" << "Двадцать одна тысяча" + none;
        QTest::newRow("1 000 000") << "1000000" << "Один миллион" + none;
        QTest::newRow("47 600,40") << "47600,40" << "Сорок семь тысяч шестьсот рублей 40 копеек";
        QTest::newRow("0,01") << "0,01" << "Ноль рублей 01 копейка";
        QTest::newRow("billions, rounded") << "3002000112,125"
                                           << "Три миллиарда два миллиона сто двенадцать рублей "
                                              "13 копеек";
        QTest::newRow("negative") << "-214,22" << "Минус двести четырнадцать рублей 22 копейки";
    }
    void roublesInWords() {
        QFETCH(QString, sum);
        QFETCH(QString, words);
        QCOMPARE(velaro::roublesInWords(*Decimal::parse(sum)), words);
    }

    // The window hands the printer the same pages: set up and painted by the sheet.
    void printPaintsThePages() {
        Workspace space;
        fillModel(space.model(), {"12,5", "3"}, {"Кухня"});
        FakePrompts prompts;
        space.window.setPrompts(&prompts);
        space.window.findChild<QAction*>("printSheet")->trigger();
        QVERIFY(prompts.printed.startsWith("%PDF"));
        QVERIFY(prompts.printed.contains("/Count 1"));
    }

    // Read back by openpyxl, which does not calculate: the formulas carry the program's figures
    // as their results, the lines' quantities are formulas, the headings stay on screen.
    void xlsxCarriesTheProgramsFigures() {
        QTemporaryDir folder;
        const QString path = folder.filePath("sheet.xlsx");
        SheetDocument document(u',', folder.path());
        SheetModel& model = document.model();
        model.editor().editMaterials(
            {paint("0,11", "10", "0,9", "250,5"), paint("0,1", "5", "1", "300", "ГФ-021")});
        // The enamel as two layers of one material: each rounded on its own.
        model.editor().editSystems({{0, "Грунт и эмаль", {{2, 1}, {1, 1}, {1, 1}}, "180,5", {}}});
        const QList<std::tuple<QString, int, QString, QString>> lines{{"12,35", 3, "Кухня", "м2"},
                                                                      {"7,777", 1, "Ванная", "м2"},
                                                                      {"0,333", 7, "Кухня", "м2"},
                                                                      {"15", 2, "Ванная", "м"}};
        for (const auto& [result, count, room, unit] : lines) {
            Line line = lineWith(result, count, room);
            line.unit = unit;
            line.system = 1;
            model.editor().insertLines(model.rowCount(), {line});
        }
        model.editor().setVatRate("20");
        model.editor().setProperties({"Школа № 5", "ул. Садовая, 14", "ООО «Заказчик»", "ООО «Краски»",
                             "Иванов И. И.", "07.12.2026"});
        QCOMPARE(document.exportXlsx(path), QString());

        QProcess python; // openpyxl is Debian's package, with Debian's interpreter
        python.start("/usr/bin/python3", {"-c", R"(
import json, sys, openpyxl
values = openpyxl.load_workbook(sys.argv[1], data_only=True)
formulas = openpyxl.load_workbook(sys.argv[1])
rows = lambda sheet: [list(row) for row in sheet.iter_rows(values_only=True)]
print(json.dumps({"lines": rows(values["Ведомость"]), "materials": rows(values["Материалы"]),
                  "formulas": rows(formulas["Ведомость"]),
                  "frozen": formulas["Ведомость"].freeze_panes}))
)",
                                          path});
        QVERIFY(python.waitForFinished(30000));
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
        const QJsonObject book = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
        // The cell `column` of the row whose cell `labelColumn` reads `label`.
        const auto cell = [&](const char* sheet, int labelColumn, const QString& label,
                              int column) {
            for (const QJsonValue row : book[sheet].toArray())
                if (row[labelColumn].toString() == label)
                    return row[column];
            return QJsonValue();
        };
        const auto figure = [](const QJsonValue& value) {
            return Decimal::parse(QString::number(value.toDouble(), 'f', 6)).value_or(Decimal());
        };
        // The title block above the table; the headings stay on screen.
        int headings = 0;
        while (headings < book["lines"].toArray().size() &&
               book["lines"][headings][0].toString() != kNumberTitle)
            ++headings;
        QCOMPARE(book["lines"][0][0].toString(), QString("Ведомость окраски"));
        QCOMPARE(book["lines"][1][0].toString(), QString("Школа № 5"));
        QStringList titleBlock;
        for (int row = 2; row < headings; ++row)
            titleBlock << book["lines"][row][0].toString() + book["lines"][row][2].toString();
        QCOMPARE(titleBlock, (QStringList{"Адрес:ул. Садовая, 14", "Заказчик:ООО «Заказчик»",
                                          "Подрядчик:ООО «Краски»", "Составил:Иванов И. И.",
                                          "Дата:07.12.2026", ""}));
        QCOMPARE(book["frozen"].toString(), QString("A%1").arg(headings + 2));
        QCOMPARE(figure(cell("lines", 1, "Итого по ведомости", 8)), model.estimate().totals().area());
        QCOMPARE(figure(cell("lines", 11, "Всего, руб.", 12)), moneyOf(model.estimate().view()).total);
        const Decimal enamel = model.estimate().totals().paint().value(1).value;
        QCOMPARE(figure(cell("materials", 0, "ПФ-115", 7)), enamel);
        QCOMPARE(cell("materials", 0, "ПФ-115", 8).toInt(),
                 *MaterialTotal::of(enamel, &*model.estimate().view().rates.find(1)).cans);
        // The first line sits under its room's sum, numbered as printed: room by room.
        const int first = headings + 2;
        QCOMPARE(book["formulas"][first][8].toString(), QString("=G%1*H%1").arg(first + 1));
        QList<int> numbers;
        for (const QJsonValue row : book["lines"].toArray())
            if (row[0].isDouble())
                numbers << row[0].toInt();
        QCOMPARE(numbers, (QList<int>{1, 2, 3, 4}));
        QCOMPARE(book["lines"][first + 1][1].toString(), QString("Кухня")); // the 3rd line of the sheet
        QCOMPARE(cell("lines", 1, "Сумма прописью:", 2).toString(),
                 velaro::roublesInWords(moneyOf(model.estimate().view()).total));
    }

    // Read back by LibreOffice Calc, which works every formula out again on opening: the
    // workbook's formulas come to the program's figures, whatever the user's regional settings
    // (under ru_RU a number written with a decimal comma is read as its whole part).
    void xlsxRecalculatedByCalc() {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty())
            QSKIP("LibreOffice Calc is not installed (libreoffice-calc-nogui): "
                  "scripts/install-deps.sh installs it");
        QTemporaryDir folder;
        const QString path = folder.filePath("sheet.xlsx");
        SheetDocument document(u',', folder.path());
        SheetModel& model = document.model();
        // Each material's quantity over its can leaves less than a half: rounded to nearest
        // instead of up, it would come to a can fewer.
        model.editor().editMaterials({paint("0,1", "5", "2,5", "300", "ГФ-021"),
                             paint("0,11", "10", "3", "750,5", "ПФ-115"),
                             paint("0,15", "0", "2,5", "420", "ВД-АК")});
        model.editor().editSystems({{0, "Грунт и эмаль", {{1, 1}, {2, 2}}, "180,5", {}},
                           {0, "Водоэмульсионная", {{3, 2}}, "95", {}}});
        struct Row {
            QString room, result;
            int count;
            QString unit;
            int system;
            QString price; // the line's own; empty: its system's
            LineKind kind;
        };
        // 37,05 × 180,5 = 6687,525: work at an exact half kopeck.
        const QList<Row> rows{{"Кухня", "12,35", 3, "м2", 1, "", LineKind::Computed},
                              {"Ванная", "7,777", 1, "м2", 1, "210", LineKind::Computed},
                              {"Кухня", "4,8", 1, "м2", 2, "150,25", LineKind::Typed},
                              {"Ванная", "15", 2, "м", 2, "", LineKind::Computed},
                              {"Коридор", "20,5", 1, "м2", 2, "", LineKind::Computed},
                              {"", "3,333", 3, "м2", 1, "", LineKind::Computed}};
        for (const Row& row : rows) {
            Line line = lineWith(row.result, row.count, row.room);
            line.unit = row.unit;
            line.system = row.system;
            line.price = row.price;
            line.kind = row.kind;
            if (row.kind == LineKind::Typed) {
                line.calculator.clear();
                line.element = "Откосы";
                line.formula = "2,4*2";
            }
            model.editor().insertLines(model.rowCount(), {line});
        }
        model.editor().setVatRate("20");
        QCOMPARE(document.exportXlsx(path), QString());

        QString failure;
        const auto book = recalculatedByCalc(soffice, path, failure);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const QList<QStringList> lines = book.value("Ведомость");
        const QList<QStringList> materials = book.value("Материалы");
        QVERIFY2(!lines.isEmpty() && !materials.isEmpty(), qPrintable(book.keys().join(", ")));

        // Columns by their headings and rows by their labels, wherever the layout puts them.
        const auto columnOf = [](const QList<QStringList>& sheet, const QString& heading) {
            for (const QStringList& row : sheet)
                if (const qsizetype column = row.indexOf(heading); column >= 0)
                    return column;
            return qsizetype(-1);
        };
        const qsizetype room = columnOf(lines, columnTitle(Column::Room));
        const qsizetype element = columnOf(lines, columnTitle(Column::Element));
        const qsizetype quantity = columnOf(lines, columnTitle(Column::Area));
        const qsizetype work = columnOf(lines, columnTitle(Column::Work));
        const qsizetype name = columnOf(materials, "Материал");
        const qsizetype paintTaken = columnOf(materials, "Количество");
        const qsizetype cans = columnOf(materials, "Банок");
        const qsizetype cost = columnOf(materials, "Стоимость, руб.");
        QVERIFY(std::min({room, element, quantity, work, name, paintTaken, cans, cost}) >= 0);
        // The cell `column` of the row whose cell `labelColumn` reads `label` (and, where
        // given, whose cell `alsoColumn` reads `also`); any cell reads it where labelColumn is -1.
        const auto cell = [](const QList<QStringList>& sheet, qsizetype labelColumn,
                             const QString& label, qsizetype column, qsizetype alsoColumn = -1,
                             const QString& also = {}) {
            for (const QStringList& row : sheet)
                if ((labelColumn < 0 ? row.contains(label) : row.value(labelColumn) == label) &&
                    (alsoColumn < 0 || row.value(alsoColumn) == also))
                    return row.value(column, "(no such row)");
            return QString("(no such row)");
        };

        QStringList wrong;
        const auto expect = [&](const QString& what, const QString& seen, const Decimal& figure) {
            const auto read = Decimal::parse(seen);
            if (!read || !(*read == figure))
                wrong << QString("%1: Calc %2, the program %3").arg(what, seen, figure.text(u','));
        };
        const SheetView view = model.estimate().view();
        expect("Итого по ведомости", cell(lines, room, "Итого по ведомости", quantity),
               model.estimate().totals().area());
        for (const QString& r : view.rooms) {
            const Totals::Sum sum = model.estimate().totals().rooms().value(r);
            const QString title = roomTitle(r);
            expect(title + ", площадь",
                   cell(lines, element, "Итого по помещению", quantity, room, title), sum.value);
            expect(title + ", работы",
                   cell(lines, element, "Итого по помещению", work, room, title), sum.work);
        }
        for (const Material& m : view.sheet.materials) {
            const MaterialTotal total =
                MaterialTotal::of(model.estimate().totals().paint().value(m.id).value, &*view.rates.find(m.id));
            expect(m.name + ", количество", cell(materials, name, m.name, paintTaken),
                   total.quantity);
            expect(m.name + ", банок", cell(materials, name, m.name, cans),
                   Decimal::whole(total.cans.value_or(-1)));
            expect(m.name + ", стоимость", cell(materials, name, m.name, cost),
                   total.cost.value_or(Decimal()));
        }
        const Money money = moneyOf(view);
        for (const auto& [label, figure] :
             {std::pair{QString("Материалы, руб."), money.materials},
              std::pair{QString("Работы, руб."), money.work},
              std::pair{QString("Итого без НДС, руб."), money.subtotal},
              std::pair{QString("НДС 20%, руб."), money.vat.value_or(Decimal())},
              std::pair{QString("Всего, руб."), money.total}})
            expect(label, cell(lines, -1, label, work), figure);
        for (const QString& w : wrong) // each, as one message would be cut short
            qWarning("%s", qPrintable(w));
        QVERIFY2(wrong.isEmpty(), qPrintable(QString("%1 figures differ").arg(wrong.size())));
    }

    // Printing is a module of its own, found beside the program in the build tree.
    void printModuleLoads() {
        QLibrary module(QCoreApplication::applicationDirPath() + "/../velaro-print");
        QVERIFY2(module.load(), qPrintable(module.errorString()));
        QVERIFY(module.resolve("velaro_print_preview"));
    }

    // The child computes in a real window and is ended: killed 1,2 s later, or told to end by
    // a log-out, a shutdown or Ctrl+C 0,1 s later, before its recovery file was due. The line
    // is there at the next start.
    void lineSurvivesTheEnd_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("afterMs");
        QTest::newRow("SIGKILL") << int(SIGKILL) << 1200;
        QTest::newRow("SIGTERM") << int(SIGTERM) << 100;
        QTest::newRow("SIGHUP") << int(SIGHUP) << 100;
        QTest::newRow("SIGINT") << int(SIGINT) << 100;
    }
    void lineSurvivesTheEnd() {
        QFETCH(int, signal);
        QFETCH(int, afterMs);
        QTemporaryDir home;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--compute-and-wait"});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(QString::fromUtf8(child.readLine()).trimmed(), QString("computed 7"));
        QTest::qWait(afterMs);
        ::kill(pid_t(child.processId()), signal);
        QVERIFY(child.waitForFinished(10000));
        // Killed, nothing runs on the way out; told to end, it ends as when closed.
        QCOMPARE(child.exitStatus(), signal == SIGKILL ? QProcess::CrashExit : QProcess::NormalExit);

        const QByteArray ownHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        {
            SheetDocument next(u',');
            next.restore();
            QCOMPARE(next.model().rowCount(), 1);
            QCOMPARE(next.model().estimate().sheet().lines[0].result, QString("7"));
            QCOMPARE(next.model().estimate().sheet().lines[0].element, QString("Мойки и раковины"));
        }
        qputenv("XDG_DATA_HOME", ownHome);
    }

    // Closing and reopening keeps the sheet; a program that finds the sheet taken keeps its
    // lines in a file of its own, and the next start takes them back and drops that file. A
    // link planted where the recovery file goes is replaced, never written through.
    void recoveryAcrossRuns() {
        QTemporaryDir elsewhere; // where a link planted at the recovery file's path points
        QFile target(elsewhere.filePath("sheet.velaro-estimate"));
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("kept") == 4);
        target.close();
        {
            SheetDocument fresh(u',');
            QVERIFY(restoreNotices(fresh).isEmpty());
            QCOMPARE(fresh.model().rowCount(), 0);
            QVERIFY(QFile::link(target.fileName(), recoveryPath()));
            paintWith(fresh.model(), {paint("0,1", "0", "1", "")});
            fillModel(fresh.model(), {"3"});
        } // pending recovery written on the way out, in place of the link, not through it
        QCOMPARE(target.size(), 4);
        {
            SheetDocument first(u',');
            restoreNotices(first);
            QCOMPARE(first.model().rowCount(), 1);
            SheetDocument second(u',');
            QVERIFY(restoreNotices(second).value(0).contains("отдельный файл"));
            QCOMPARE(second.model().rowCount(), 0);
            paintWith(second.model(), {paint("0,2", "0", "3", "", "ВД-АК")}, 2);
            fillModel(second.model(), {"4"});
            second.model().editor().assignSystem({0}, 1);
            QVERIFY(second.flushRecovery());
        }
        SheetDocument next(u',');
        QCOMPARE(restoreNotices(next),
                 QStringList{"В ведомость возвращены строки, записанные другим запуском "
                             "программы: 1."});
        QCOMPARE(next.model().rowCount(), 2);
        // Its system and material under new ids, beside those of the same ids already there.
        QCOMPARE(next.model().index(1, int(Column::System)).data(Qt::ToolTipRole).toString(),
                 QString("ВД-АК ×2"));
        QVERIFY(next.isModified());
        QVERIFY(next.flushRecovery());
        QCOMPARE(QDir(recoveryFolder()).entryList({"recovery-*"}), QStringList());
    }

    // Every way lines come in holds the sheet to what its file can hold, says so in words and
    // changes nothing where they would not fit.
    void lineLimitOnEveryWayIn_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("fitting"); // lines in the sheet at which the way still fits
        QTest::newRow("record") << "record" << kMaxLines - 1;
        QTest::newRow("typed line") << "typed" << kMaxLines - 1;
        QTest::newRow("repeat of two lines") << "repeat" << kMaxLines - 2;
        QTest::newRow("walls and ceiling") << "room size" << kMaxLines - 2;
    }
    void lineLimitOnEveryWayIn() {
        QFETCH(QString, way);
        QFETCH(int, fitting);
        Workspace space;
        SheetModel& model = space.model();
        int room = 0;
        const auto add = [&]() -> bool {
            if (way == "record") {
                FormState state(',');
                state.setText("Edit2", std::to_string(++room));
                return space.document.record("моек", "TForm5", state, {{{"Edit1", "2"}}, {}})
                           .result == SheetDocument::Recording::Recorded;
            }
            if (way == "typed")
                return model.editor().addLine(lineWith("1")).isEmpty();
            if (way == "repeat")
                return model.editor().duplicateLines({0, 1}).isEmpty();
            return model.editor().setRoomSize(QString::number(++room), {"4", "3", "", "2,7"}).isEmpty();
        };
        Sheet sheet;
        sheet.lines = QList<Line>(fitting + 1, lineWith("1", 1, "Кухня"));
        model.editor().reset(sheet);
        QVERIFY(!add());
        QCOMPARE(model.rowCount(), fitting + 1);
        model.editor().removeLines({0});
        QVERIFY(add());
        QCOMPARE(model.rowCount(), kMaxLines);
        if (way == "typed" || way == "repeat") // said in the words the window shows in its box
            QVERIFY(model.estimate().refusalToAdd(1).contains(QString::number(kMaxLines)));
    }

    // Lines another run kept are taken back only where the sheet has room for them; otherwise
    // their file stays, and the user is told.
    void recoveryMergeWithinTheLimit() {
        {
            SheetDocument own(u',');
            restoreNotices(own);
            Sheet full;
            full.lines = QList<Line>(kMaxLines - 1, lineWith("1"));
            own.model().editor().reset(full);
            QVERIFY(own.flushRecovery());
        }
        Sheet other;
        other.lines = {lineWith("2"), lineWith("3")};
        const QString otherPath = recoveryFolder() + "/recovery-999999-1.velaro-estimate";
        QFile file(otherPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheetToJson(other)) > 0);
        file.close();
        {
            SheetDocument next(u',');
            const QStringList notices = restoreNotices(next);
            QCOMPARE(next.model().rowCount(), kMaxLines - 1);
            QVERIFY2(notices.value(0).contains("не возвращены"), qPrintable(notices.join(' ')));
            QVERIFY(notices.value(0).contains(QDir::toNativeSeparators(otherPath)));
            next.model().editor().reset({});
            QVERIFY(next.flushRecovery());
        }
        QVERIFY(QFile::exists(otherPath));
        SheetDocument roomy(u','); // once there is room, they come back
        restoreNotices(roomy);
        QCOMPARE(roomy.model().rowCount(), 2);
        QVERIFY(roomy.flushRecovery()); // kept in its own file: the other goes
        QVERIFY(!QFile::exists(otherPath));
    }

    // A recovery file that cannot be read is set aside, each under a name of its own, and said.
    void recoveryFilesSetAside_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // grown to this, sparse, where not 0
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("aside");
        QTest::newRow("damaged") << QByteArray("{\"format\": \"velaro-estimate\", \"version\": 1, \"lines\": [")
                                 << qint64(0) << "не прочитана (файл обрывается"
                                 << ".damaged-";
        QTest::newRow("newer") << QByteArray("{\"format\": \"velaro-estimate\", \"version\": 9}")
                               << qint64(0) << "более новой версией программы (формат 9)"
                               << ".format-9-";
        QTest::newRow("too large") << QByteArray("{") << kLargestSheetFile + 1
                                   << "файл слишком велик" << ".damaged-";
    }
    void recoveryFilesSetAside() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, notice);
        QFETCH(QString, aside);
        for (int start = 1; start <= 2; ++start) { // the second start keeps the first copy
            QFile file(recoveryPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            if (size)
                QVERIFY(file.resize(size));
            file.close();
            SheetDocument document(u',');
            const QStringList notices = restoreNotices(document);
            QVERIFY2(notices.size() == 1 && notices[0].contains(notice), qPrintable(notices.join(' ')));
            QVERIFY(!QFile::exists(recoveryPath()));
            const QStringList kept = QDir(recoveryFolder())
                                         .entryList({RecoveryStore::sharedFileName() + aside + "*"});
            QCOMPARE(kept.size(), start);
            QVERIFY(notices[0].contains(kept.last()));
        }
    }

    // A file that cannot be written whole (here: past the size the system lets this process
    // write, as a full disk would stop it) is never put in place nor reported as written: the
    // old file stays and the sheet stays unsaved.
    void writesThatFailLeaveTheOldFile() {
        FakePrompts prompts;
        Workspace space;
        space.window.setPrompts(&prompts);
        const QString path = space.folder.filePath("object.velaro-estimate");
        fillModel(space.model(), {"1"});
        QVERIFY(space.window.saveTo(path));
        QFile file(path);
        const qint64 saved = file.size();
        for (int n = 0; n < 100; ++n)
            space.model().editor().addLine(lineWith(QString::number(n)));

        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = rlim_t(saved + 1024);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = space.window.saveTo(path);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!written && space.document.isModified());
        QCOMPARE(file.size(), saved);
        QVERIFY2(prompts.errors.value(0).contains("файл больше, чем позволяет система"),
                 qPrintable(prompts.errors.value(0)));
        QCOMPARE(QDir(space.folder.path()).entryList({".*.*"}, QDir::Files | QDir::Hidden),
                 QStringList()); // no half-written file left behind
    }

    // An export stopped part way leaves the file it was to replace as it was, and no other.
    void stoppedExportsLeaveTheOldFile_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("pdf") << "pdf";
        QTest::newRow("xlsx") << "xlsx";
    }
    void stoppedExportsLeaveTheOldFile() {
        QFETCH(QString, format);
        QTemporaryDir folder;
        const QString path = folder.filePath("object." + format);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        fillModel(model, {"1", "2", "3"});
        const ExportProgress stop = [](int, int) { return false; };
        const QString error = format == "pdf" ? writePdf(model.estimate().view(), path, stop)
                                              : writeXlsx(model.estimate().view(), path, stop);
        QCOMPARE(error, QString("прервано"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"object." + format});
    }

    // A failed export from the window is said in a box, and the program goes on while the box
    // is open: nothing of the export's progress is left to fire.
    void failedExportSaidInABox_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("pdf") << "exportPdf";
        QTest::newRow("xlsx") << "exportXlsx";
    }
    void failedExportSaidInABox() {
        QFETCH(QString, action);
        FakePrompts prompts;
        prompts.errorShownMs = 2000;
        Workspace space;
        space.window.setPrompts(&prompts);
        fillModel(space.model(), {"1", "2"});
        // A name past what the file system takes.
        prompts.fileName = space.folder.filePath(QString(300, u'ж') + ".out");
        space.window.findChild<QAction*>(action)->trigger();
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY2(prompts.errors[0].startsWith("Не удалось записать файл"), qPrintable(prompts.errors[0]));
        QVERIFY(space.window.findChild<QAction*>(action)->isEnabled());
    }

    // A window saved larger than this screen, on another screen, opens fitted to this one.
    void windowSavedOnALargerScreen() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        {
            Workspace larger;
            larger.window.show();
            larger.window.setGeometry(QRect(available.topLeft(), available.size() * 3 / 2));
        } // its layout is kept as it closes
        Workspace space;
        QVERIFY(available.contains(space.window.frameGeometry()));
    }

    // The properties dialog gives each field to its own property, in one undo step.
    void propertiesDialog() {
        Workspace space;
        const QStringList typed{"Дом",    "ул. Мира, 1", "Иванов",
                                "ООО «Краска»", "Петров", "01.12.2026"};
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == "PropertiesDialog");
            const char* fields[] = {"propertyObject", "propertyAddress", "propertyClient",
                                    "propertyContractor", "propertyEstimator", "propertyDate"};
            for (int i = 0; i < 6; ++i)
                dialog->findChild<QLineEdit*>(fields[i])->setText(typed[i]);
            qobject_cast<QDialog*>(dialog)->accept();
        });
        space.window.findChild<QAction*>("actionProperties")->trigger();
        const SheetProperties& p = space.model().estimate().sheet().properties;
        QCOMPARE(QStringList({p.object, p.address, p.client, p.contractor, p.estimator, p.date}),
                 typed);
        space.document.undoStack().undo();
        QVERIFY(space.model().estimate().sheet().properties == SheetProperties());
    }

    // The program's exit asks only where the recovery file could not be written.
    void exitAsksOnlyWhenAutosaveFailed_data() {
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("exits");
        QTest::addColumn<int>("questions");
        QTest::newRow("written") << false << int(EstimatePrompts::ExitChoice::Stay) << true << 0;
        QTest::newRow("failed, stay")
            << true << int(EstimatePrompts::ExitChoice::Stay) << false << 1;
        QTest::newRow("failed, quit")
            << true << int(EstimatePrompts::ExitChoice::Quit) << true << 1;
        QTest::newRow("failed, saved elsewhere")
            << true << int(EstimatePrompts::ExitChoice::SaveElsewhere) << true << 1;
    }
    void exitAsksOnlyWhenAutosaveFailed() {
        QFETCH(bool, blocked);
        QFETCH(int, choice);
        QFETCH(bool, exits);
        QFETCH(int, questions);
        QTemporaryDir home;
        const QByteArray ownHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        if (blocked) { // a file where the data folder should be: nothing can be written there
            QFile obstacle(QFileInfo(recoveryPath()).absolutePath());
            QVERIFY(obstacle.open(QIODevice::WriteOnly));
        }
        FakePrompts prompts;
        prompts.exitChoice = EstimatePrompts::ExitChoice(choice);
        prompts.fileName = home.filePath("elsewhere.velaro-estimate");
        {
            Program program(',');
            program.start();
            program.estimateSheet().window().setPrompts(&prompts);
            CalculatorWindow* sinks = openCalculator(program, 5);
            typeInto(sinks, "Edit2", "2");
            click(sinks, "Button1");
            QCOMPARE(program.estimateSheet().document().flushRecovery(), !blocked);
            // Said once, in a box, and in the main window's status line.
            QCOMPARE(prompts.errors.size(), blocked ? 1 : 0);
            QCOMPARE(program.mainWindow().statusBar()->currentMessage().contains("резервный файл"),
                     blocked);
            if (exits) // through the sheet alone: closing the main window would end the test
                QVERIFY(program.estimateSheet().window().mayExit());
            else
                QVERIFY(!program.mainWindow().close());
            QCOMPARE(prompts.exitQuestions, questions);
            QCOMPARE(QFile::exists(prompts.fileName),
                     choice == int(EstimatePrompts::ExitChoice::SaveElsewhere) && blocked);
            program.estimateSheet().window().setPrompts(nullptr);
        }
        qputenv("XDG_DATA_HOME", ownHome);
    }

    void mainWindowMenuOpensTheSheet() {
        Program program(',');
        program.start();
        QMenu* file = program.mainWindow().findChild<QMenu*>("N1Menu");
        QVERIFY(file);
        const QList<QAction*> commands = file->actions();
        QCOMPARE(commands.size(), 2);
        QCOMPARE(commands[0]->text(), QString("Ведомость окраски…"));
        QVERIFY(!commands[0]->shortcut().isEmpty());
        QCOMPARE(commands[1]->text(), QString("Выход"));
        QVERIFY(!program.estimateSheet().isBuilt());
        commands[0]->trigger();
        QVERIFY(program.estimateSheet().isBuilt());
        EstimateWindow& sheet = program.estimateSheet().window();
        QVERIFY(sheet.isVisible());
        QCOMPARE(sheet.objectName(), QString("EstimateWindow"));
        QVERIFY(sheet.windowTitle().startsWith("Ведомость окраски"));
        QVERIFY(sheet.minimumSize() != sheet.maximumSize()); // resizable
        QVERIFY(sheet.findChild<QTableView*>("lines"));
        QCOMPARE(sheet.findChild<QLabel*>("total")->text(), QString("0,00 м2"));
        QVERIFY(program.mainWindow().isVisible());
    }

    void materialsDialogRefusesUnsoundRows_data() {
        QTest::addColumn<QList<Material>>("materials");
        QTest::addColumn<QString>("problem");
        QTest::newRow("sound") << QList<Material>{paint("0,11", "10", "0,9", "250")} << "";
        QTest::newRow("same name twice")
            << QList<Material>{paint("0,11", "10", "0,9", ""), paint("0,2", "0", "3", "")}
            << "Строка 2: название «ПФ-115» уже есть.";
        QTest::newRow("no can size")
            << QList<Material>{paint("0,11", "10", "", "")} << "Строка 1: тара";
    }
    void materialsDialogRefusesUnsoundRows() {
        QFETCH(QList<Material>, materials);
        QFETCH(QString, problem);
        MaterialsDialog dialog(materials);
        QCOMPARE(dialog.materials(), materials);
        QVERIFY2(problem.isEmpty() ? dialog.problem().isEmpty()
                                   : dialog.problem().startsWith(problem),
                 qPrintable(dialog.problem()));
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, problem.isEmpty());
        if (!problem.isEmpty())
            QVERIFY(dialog.findChild<QLabel*>("problem")->text().startsWith(problem));
    }

    // Removing a material that lines use asks first; one no line uses goes without a question.
    void removingAUsedMaterialAsks() {
        QList<Material> materials{paint("0,1", "0", "1", ""), paint("0,2", "0", "1", "", "ВД")};
        materials[0].id = 1;
        materials[1].id = 2;
        FakePrompts prompts;
        prompts.confirmAnswer = false;
        MaterialsDialog dialog(materials);
        dialog.setUsedMaterials({1}, &prompts);
        auto* table = dialog.findChild<QTableWidget*>("materials");
        table->selectRow(0); // used: asked, and kept on «no»
        dialog.removeSelectedRows();
        table->clearSelection();
        table->selectRow(1); // used by no line: gone without a question
        dialog.removeSelectedRows();
        QCOMPARE(prompts.confirms, 1);
        QCOMPARE(dialog.materials(), materials.mid(0, 1));
    }

    void systemsDialogRefusesUnsoundSystems_data() {
        QTest::addColumn<QList<PaintSystem>>("systems");
        QTest::addColumn<QString>("problem");
        const PaintSystem enamel{1, "Эмаль", {{1, 2}}, "120,50", "ГЭСН 15-04-030-03"};
        auto with = [&](const QString& name, const QString& price, int material = 1) {
            return PaintSystem{2, name, {{material, 1}}, price, {}};
        };
        QTest::newRow("sound") << QList<PaintSystem>{enamel, with("Грунт", "")} << "";
        QTest::newRow("blank name") << QList<PaintSystem>{enamel, with("  ", "")}
                                    << "Система 2: нет названия.";
        QTest::newRow("same name") << QList<PaintSystem>{enamel, with(" Эмаль", "")}
                                   << "Система 2: название «Эмаль» уже есть.";
        QTest::newRow("negative price") << QList<PaintSystem>{with("Грунт", "-1")}
                                        << "Система 1: цена работ не число.";
        QTest::newRow("price with words") << QList<PaintSystem>{with("Грунт", "12 руб")}
                                          << "Система 1: цена работ не число.";
        QTest::newRow("material gone") << QList<PaintSystem>{enamel, with("Грунт", "", 9)}
                                       << "Система 2: у слоя 1 нет материала.";
    }
    void systemsDialogRefusesUnsoundSystems() {
        QFETCH(QList<PaintSystem>, systems);
        QFETCH(QString, problem);
        QList<Material> materials{paint("0,1", "0", "1", "")};
        materials[0].id = 1;
        SystemsDialog dialog(systems, materials);
        QCOMPARE(dialog.problem(), problem);
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, problem.isEmpty());
        QCOMPARE(dialog.findChild<QLabel*>("problem")->text(), problem);
        if (problem.isEmpty())
            QCOMPARE(dialog.systems()[0], systems[0]);
        else // the system at fault is the one shown
            QCOMPARE(dialog.findChild<QListWidget*>("systemList")->currentRow(),
                     problem.section(u' ', 1, 1).remove(u':').toInt() - 1);
    }

    // Edited through its fields a system keeps its id, which the lines refer to; a new one has
    // none yet, and removing one that lines use asks.
    void systemsDialogEditsKeepIds() {
        QList<Material> materials{paint("0,1", "0", "1", "", "Грунтовка ГФ-021"),
                                  paint("0,2", "0", "1", "", "Эмаль ПФ-115")};
        materials[0].id = 1;
        materials[1].id = 2;
        FakePrompts prompts;
        prompts.confirmAnswer = false;
        SystemsDialog dialog({{4, "Эмаль", {{2, 2}, {1, 1}}, {}, {}}}, materials);
        dialog.setUsedSystems({4}, &prompts);
        auto* name = dialog.findChild<QLineEdit*>("systemName");
        name->setText("По металлу");
        auto* layers = dialog.findChild<QTableWidget*>("layers");
        qobject_cast<QSpinBox*>(layers->cellWidget(0, 1))->setValue(3);
        layers->setCurrentCell(1, 0);
        dialog.findChild<QPushButton*>("layerUp")->click(); // primer first
        QCOMPARE(dialog.findChild<QLineEdit*>("layersText")->text(),
                 QString("Грунтовка ГФ-021 ×1 + Эмаль ПФ-115 ×3"));
        dialog.removeSystem(); // used: asked, and kept on «no»
        QCOMPARE(prompts.confirms, 1);
        dialog.addSystem();
        name->setText("Грунт");
        const QList<PaintSystem> expected{{4, "По металлу", {{1, 1}, {2, 3}}, {}, {}},
                                          {0, "Грунт", {}, {}, {}}};
        QCOMPARE(dialog.systems(), expected);
        QCOMPARE(dialog.findChild<QListWidget*>("systemList")->item(0)->text(),
                 QString("По металлу"));
    }

    // A template carries its materials: added into a sheet that lacks some of them it brings
    // them along, keeps the sheet's own of the same name, and is one step to undo.
    void systemTemplateBringsItsMaterials() {
        QSettings().setValue("systemTemplates/list",
                             R"([{"name": 5}, "junk", {"name": "Битый", "layers": [{"coats": 500,
                                 "material": {"name": "Х", "unit": "кг", "consumption": "1",
                                 "waste": "0", "canSize": "1"}}]}])");
        QList<Material> source{paint("0,12", "5", "0,9", "210", "Грунтовка ГФ-021"),
                               paint("0,1", "0", "2,7", "540", "Эмаль ПФ-115")};
        source[0].id = 1;
        source[1].id = 2;
        const PaintSystem metal{1, "По металлу", {{1, 1}, {2, 2}}, "250", "ГЭСН 13-03-004"};
        SystemsDialog first({metal}, source);
        QVERIFY(first.saveTemplate());

        FakePrompts prompts;
        prompts.choice = "По металлу";
        Workspace space;
        space.window.setPrompts(&prompts);
        paintWith(space.model(), {paint("0,3", "0", "1", "99", "Эмаль ПФ-115")});
        const Sheet before = space.model().estimate().sheet();
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<SystemsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->addFromTemplate());
            dialog->accept();
        });
        space.window.editSystems();
        QCOMPARE(prompts.offered, QStringList{"По металлу"}); // the damaged ones passed over
        const Sheet& after = space.model().estimate().sheet();
        QCOMPARE(after.materials.size(), 2);
        QCOMPARE(after.materials[0], before.materials[0]); // the sheet's own enamel stays
        Material primer = source[0];
        primer.id = after.materials[1].id;
        QCOMPARE(after.materials[1], primer);
        QCOMPARE(after.systems.size(), 2);
        const PaintSystem& added = after.systems[1];
        QCOMPARE(added.layers,
                 (QList<Layer>{{primer.id, 1}, {before.materials[0].id, 2}}));
        QCOMPARE(added.layersText(after.materials),
                 QString("Грунтовка ГФ-021 ×1 + Эмаль ПФ-115 ×2"));
        QCOMPARE(added.price + added.code, metal.price + metal.code);
        space.document.undoStack().undo();
        QCOMPARE(space.model().estimate().sheet(), before);
    }

    // Over unsaved changes «Новая», «Открыть» and the program's end ask, and the answer
    // decides; nothing is lost that the user did not choose to drop.
    void unsavedChangesAsk_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("linesInFile");
        QTest::addColumn<int>("linesShown");
        using U = EstimatePrompts::Unsaved;
        QTest::newRow("new, discard") << "new" << int(U::Discard) << true << 1 << 0;
        QTest::newRow("new, cancel") << "new" << int(U::Cancel) << false << 1 << 2;
        QTest::newRow("open, cancel") << "open" << int(U::Cancel) << false << 1 << 2;
        QTest::newRow("exit, save") << "exit" << int(U::Save) << true << 2 << 2;
        QTest::newRow("exit, discard") << "exit" << int(U::Discard) << true << 1 << 1;
    }
    void unsavedChangesAsk() {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(bool, done);
        QFETCH(int, linesInFile);
        QFETCH(int, linesShown);
        FakePrompts prompts;
        Workspace space;
        space.window.setPrompts(&prompts);
        const QString path = space.folder.filePath("object.velaro-estimate");
        fillModel(space.model(), {"1"});
        QVERIFY(space.window.saveTo(path));
        space.model().editor().addLine(lineWith("2")); // an edit, undoable
        prompts.unsavedAnswer = EstimatePrompts::Unsaved(answer);
        prompts.fileName = path;
        const bool result = command == "new"    ? space.window.newSheet()
                            : command == "open" ? space.window.open()
                                                : space.window.mayExit();
        QCOMPARE(prompts.unsavedQuestions, QStringList{"object.velaro-estimate"});
        QCOMPARE(result, done);
        QCOMPARE(space.model().rowCount(), linesShown);
        SheetDocument file(u',', space.folder.path());
        QCOMPARE(file.openFrom(path), QString());
        QCOMPARE(file.model().rowCount(), linesInFile);
    }
};

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--compute-and-wait") == 0)
        return computeAndWait(argc, argv);
    QApplication app(argc, argv);
    EstimateTest tests;
    return velaro::test::runTests(argc, argv, &tests);
}

#include "test_estimate.moc"

// The sheet on paper as the client reads it, read back by poppler's pdftotext: real jobs on few
// pages with whole words and numbers, lines numbered as printed room by room, the columns the
// reader needs, subtotals to hundredths, typed arithmetic written out, a materials table that can
// be checked by hand; crafted texts cut short; a file that cannot be written leaves the old one.

#include "estimate/columns.h"
#include "estimate/expression.h"
#include "estimate/pdfjoin.h"
#include "estimate/sheetmodel.h"
#include "estimate/sheetpages.h"
#include "shell/mainwindow.h"
#include "support/jobs.h"
#include "support/sheets.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUndoStack>

#include <csignal>
#include <sys/resource.h>

using namespace velaro;
using velaro::test::Sheets;
namespace jobs = velaro::test::jobs;

namespace {

// pdftotext's reading of the file: "-layout" keeps the columns side by side, "-raw" gives each
// cell's lines in the order painted, so that a cell's text reads whole.
QString pdfText(const QString& path, const QString& mode) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {mode, path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

Sheet jobNamed(const QString& name) {
    if (name == "office3")
        return jobs::officeOfThreeRooms();
    if (name == "flat2")
        return jobs::flatOfTwoRooms();
    if (name == "flat2 without norms")
        return jobs::withoutNorms(jobs::flatOfTwoRooms());
    return jobs::flatOfFourRooms();
}

// The sheet's pages written to `path`: empty where written, otherwise why not.
QString pdfOf(const Sheet& sheet, const QString& path) {
    QUndoStack undo;
    Sheets sheets(undo, u',');
    sheets.editor.reset(sheet);
    return writePdf(sheets.estimate.view(), path);
}

// The line numbers at the left edge of each page, as -layout sets them.
QList<QList<int>> numbersByPage(const QString& layout) {
    static const QRegularExpression number(QStringLiteral("^ ?(\\d{1,3}) \\S"),
                                           QRegularExpression::MultilineOption);
    QList<QList<int>> pages;
    QStringList texts = layout.split(u'\f');
    texts.removeLast(); // after the last page's separator
    for (const QString& page : texts) {
        pages.append(QList<int>());
        for (auto match = number.globalMatch(page); match.hasNext();)
            pages.back() << match.next().captured(1).toInt();
    }
    return pages;
}

Decimal figure(const QString& text) {
    return Decimal::parse(QString(text).remove(u' ')).value_or(Decimal::whole(-1));
}

} // namespace

class PaperTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        tellSheetTheOpenings(); // as the program does at start: windows and doors are openings
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
                 "pdftotext (poppler-utils) is needed");
    }

    void realJobs_data() {
        QTest::addColumn<QString>("job");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        const QStringList norms{"Шифр", "100 м2"};
        QTest::newRow("flat of four rooms")
            << "flat4" << true << norms + QStringList{"Кол-во "} << QStringList();
        QTest::newRow("office of three") << "office3" << true << norms << QStringList();
        QTest::newRow("flat of two") << "flat2" << true << norms << QStringList{"Кол-во "};
        QTest::newRow("flat of two without norms")
            << "flat2 without norms" << false << QStringList() << norms + QStringList{"Кол-во"};
    }
    void realJobs() {
        QFETCH(QString, job);
        QFETCH(bool, landscape);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        model.editor().reset(jobNamed(job));
        const Sheet& sheet = model.estimate().sheet();
        const int lines = int(sheet.lines.size());
        QTemporaryDir folder;
        const QString path = folder.filePath("job.pdf");
        QCOMPARE(writePdf(model.estimate().view(), path), QString());
        const QString layout = pdfText(path, "-layout");
        const QString raw = pdfText(path, "-raw").simplified();
        QVERIFY(!layout.isEmpty() && !raw.isEmpty());

        // Numbered as printed, room by room, each number whole; at least eight lines on every
        // page the table goes on from.
        const QList<QList<int>> pages = numbersByPage(layout);
        QList<int> numbers, expected;
        for (int n = 1; n <= lines; ++n)
            expected << n;
        for (qsizetype page = 0; page < pages.size(); ++page) {
            numbers << pages[page];
            if (numbers.size() < lines)
                QVERIFY2(pages[page].size() >= 8,
                         qPrintable(
                             QString("%1 lines on page %2").arg(pages[page].size()).arg(page + 1)));
        }
        QCOMPARE(numbers, expected);

        // Every text whole: a word broken anywhere but after a blank would not be found.
        for (int row = 0; row < lines; ++row) {
            const Line& line = sheet.lines[row];
            QStringList texts = line.conditions;
            for (const Column column : {Column::Element, Column::Measurements, Column::Formula})
                texts << cellText(line, model.estimate().figures()[std::size_t(row)], column, u',',
                                  sheet);
            for (const QString& text : texts)
                QVERIFY2(raw.contains(text.simplified()), qPrintable(text));
        }
        // Each norm whole on its line.
        for (const PaintSystem& system : sheet.systems) {
            const QString code = system.codes();
            if (code.isEmpty())
                continue;
            const auto uses = std::count_if(sheet.lines.begin(), sheet.lines.end(),
                                            [&](const Line& l) { return l.system == system.id; });
            QCOMPARE(layout.count(code), uses);
        }

        // The rooms head their groups and are no column; the line added to the bedroom last
        // is printed in the bedroom.
        QVERIFY(!raw.contains("Вычитать"));
        QVERIFY(!raw.contains("Помещение"));
        if (job == "flat4") {
            QCOMPARE(raw.count("Спальня"), 3); // heading, continuation, subtotal
            const qsizetype grille = raw.indexOf("Решетки стальные");
            QVERIFY(raw.indexOf("Спальня") < grille &&
                    grille < raw.indexOf("Итого по помещению «Спальня»"));
        }
        for (const QString& heading : shown)
            QVERIFY2(raw.contains(heading), qPrintable(heading));
        for (const QString& heading : hidden)
            QVERIFY2(!raw.contains(heading), qPrintable(heading));

        // Areas to hundredths in every subtotal and the total.
        static const QRegularExpression subtotal(
            QStringLiteral("Итого по помещению «[^»]+» ([\\d ]+,\\d+) м2"));
        int rooms = 0;
        static const QRegularExpression hundredths(QStringLiteral("^\\d{1,3}( \\d{3})*,\\d\\d$"));
        for (auto match = subtotal.globalMatch(raw); match.hasNext(); ++rooms) {
            const QString area = match.next().captured(1);
            QVERIFY2(hundredths.match(area).hasMatch(), qPrintable(area));
        }
        QCOMPARE(rooms, int(model.estimate().rooms().size()));
        QVERIFY(raw.contains(QString("Итого площадь окраски: %1 м2")
                                 .arg(model.estimate().totals().area().text(u',', 2, true))));

        // The materials: quantity, can, its price, cans and cost, each checkable by hand.
        static const QRegularExpression material(QStringLiteral(
            "^(\\S.*\\S) +([\\d ]+,\\d\\d) (кг|л) +([\\d,]+) (кг|л) +([\\d ]+,\\d\\d) +(\\d+) "
            "+([\\d ]+,\\d\\d)$"));
        int checked = 0;
        for (const QString& text : layout.split(u'\n')) {
            const auto row = material.match(text);
            if (!row.hasMatch())
                continue;
            const auto kept =
                std::find_if(sheet.materials.begin(), sheet.materials.end(),
                             [&](const Material& m) { return m.name == row.captured(1); });
            QVERIFY2(kept != sheet.materials.end(), qPrintable(text));
            QCOMPARE(figure(row.captured(4)), figure(kept->cans.front().size));
            QCOMPARE(figure(row.captured(6)), figure(kept->cans.front().price));
            const long long cans = row.captured(7).toLongLong();
            QCOMPARE(figure(row.captured(2)).wholeUnitsUp(figure(row.captured(4))).value_or(-1),
                     cans);
            QCOMPARE(Decimal::whole(cans).times(figure(row.captured(6))).value_or(Decimal()),
                     figure(row.captured(8)));
            ++checked;
        }
        QCOMPARE(checked, int(sheet.materials.size()));

        QProcess info;
        info.start("pdfinfo", {path});
        QVERIFY(info.waitForFinished());
        QCOMPARE(QString::fromUtf8(info.readAllStandardOutput()).contains("842 x 595"), landscape);
    }

    // A typed line's formula is its arithmetic written out with what it comes to, on screen and
    // in every document; the editor still gets the arithmetic as typed.
    void typedFormula_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("written");
        QTest::newRow("products summed") << "2*1,5*0,25+1,4*0,25"
                                         << "м2"
                                         << "2 × 1,5 × 0,25 + 1,4 × 0,25 = 1,1 м2";
        QTest::newRow("signs and brackets") << "-(1+2)*3"
                                            << "м"
                                            << "−(1 + 2) × 3 = −9 м";
        QTest::newRow("division, spaced as typed") << "10 /4 - 0,5"
                                                   << "шт."
                                                   << "10 / 4 − 0,5 = 2 шт.";
        QTest::newRow("other signs for times") << "2,5·3 + 1,2×2 − 0,8"
                                               << "м2"
                                               << "2,5 × 3 + 1,2 × 2 − 0,8 = 9,1 м2";
        QTest::newRow("a signed factor") << "3*-2 + +1"
                                         << "м2"
                                         << "3 × −2 + +1 = −5 м2";
    }
    void typedFormula() {
        QFETCH(QString, typed);
        QFETCH(QString, unit);
        QFETCH(QString, written);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        Line line;
        line.kind = LineKind::Typed;
        line.element = "Откосы";
        line.unit = unit;
        line.formula = typed;
        line.result = evaluateQuantity(typed, u',').value->text(u',');
        model.editor().insertLines(0, {line});
        const QModelIndex formula = model.index(0, int(Column::Formula));
        QCOMPARE(formula.data(Qt::DisplayRole).toString(), written);
        QCOMPARE(formula.data(Qt::EditRole).toString(), typed);
        QVERIFY(model.setData(formula, formula.data(Qt::EditRole), Qt::EditRole));
        QCOMPARE(model.estimate().sheet().lines[0].formula, typed);
    }

    // A text of millions of characters is cut on paper, and the pages come out at once; a word
    // too long for its column takes a smaller type and stays whole.
    void textsOnPaper_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("text");
        const QString huge(5'000'000, u'ж');
        const QString word = "Высококачественнаяантикоррозионнаятермостойкаяэмаль";
        for (const char* where : {"room", "object", "element", "formula"})
            QTest::newRow(qPrintable(QString(where) + ", cut")) << QString(where) << huge;
        QTest::newRow("element, whole") << "element" << word;
        QTest::newRow("system, whole") << "system" << word;
    }
    void textsOnPaper() {
        QFETCH(QString, where);
        QFETCH(QString, text);
        Sheet sheet = jobs::flatOfTwoRooms();
        if (where == "object")
            sheet.properties.object = text;
        if (where == "system")
            sheet.systems.front().name = text;
        for (Line& line : sheet.lines) {
            if (where == "room" && line.room == "Кухня")
                line.room = text;
            else if (where == "element")
                line.element = text;
            else if (where == "formula")
                line.formula = text;
        }
        QTemporaryDir folder;
        const QString path = folder.filePath("job.pdf");
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(pdfOf(sheet, path), QString());
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        const QString raw = pdfText(path, "-raw");
        if (text.size() < 500) {
            QVERIFY(raw.contains(text));
            return;
        }
        QVERIFY(raw.contains(u'…'));
        QVERIFY(!raw.contains(QString(500, u'ж')));
        QVERIFY(QFileInfo(path).size() < 1'000'000);
    }

    // Layers priced by norms of their own show the norms joined, each whole; a material of two
    // sizes shows its sizes, their prices and the cans taken of each. 32,34 л of paint in cans
    // of 10 л at 2 400 and 3 л at 800: 4 × 10 is 9 600, 3 × 10 + 1 × 3 is 8 000, 2 × 10 + 5 × 3
    // and 1 × 10 + 8 × 3 and 11 × 3 are 8 800.
    void layersAndCanSizesOnPaper() {
        Sheet sheet = jobs::flatOfTwoRooms();
        sheet.materials[2].cans = {{"10", "2400"}, {"3", "800"}};
        sheet.systems[0].layers.prepend({0, 1, "85", "15-02-019-05", "Шпатлёвка"});
        QTemporaryDir folder;
        const QString path = folder.filePath("job.pdf");
        QCOMPARE(pdfOf(sheet, path), QString());
        const QString raw = pdfText(path, "-raw").simplified();
        const QString layout = pdfText(path, "-layout");
        const auto uses = std::count_if(sheet.lines.begin(), sheet.lines.end(), [&](const Line& l) {
            return l.system == sheet.systems[0].id;
        });
        QCOMPARE(raw.count("15-02-019-05; 15-04-030-01"), uses);
        static const QRegularExpression paint(QStringLiteral(
            "Краска ВД-АК-111 белая +32,34 л +10 / 3 л +2 400,00 / 800,00 +3 × 10 л \\+ 1 × 3 л "
            "+8 000,00"));
        QVERIFY2(layout.contains(paint), qPrintable(layout.right(1500)));
    }

    // The approval block opens the first page above the title: «СОГЛАСОВАНО» for the contractor
    // at the left, «УТВЕРЖДАЮ» for the client at the right, each side only where someone is named
    // for it. Overhead and profit come between the work and the sum VAT is taken on, and nothing
    // is said of them without their rates. The flat of two rooms, checked by hand in
    // test_figures: НР 12 % and СП 8 % of 13 020,20.
    void approvalAndOverheadOnPaper_data() {
        QTest::addColumn<QStringList>("contractor"); // position, name
        QTest::addColumn<QStringList>("client");
        QTest::addColumn<bool>("rates");
        const QStringList contractor{"Директор ООО «Малярка»", "С. С. Сидоров"};
        const QStringList client{"Генеральный директор ООО «Заказчик»", "П. П. Петров"};
        QTest::newRow("both sides, НР and СП") << contractor << client << true;
        QTest::newRow("the client alone") << QStringList{"", ""} << client << false;
        QTest::newRow("the contractor's name alone")
            << QStringList{"", "С. С. Сидоров"} << QStringList{"", ""} << true;
        QTest::newRow("none") << QStringList{"", ""} << QStringList{"", ""} << false;
    }
    void approvalAndOverheadOnPaper() {
        QFETCH(QStringList, contractor);
        QFETCH(QStringList, client);
        QFETCH(bool, rates);
        Sheet sheet = jobs::flatOfTwoRooms();
        sheet.properties.contractorSignatory = {contractor[0], contractor[1]};
        sheet.properties.clientSignatory = {client[0], client[1]};
        if (rates) {
            sheet.overheadRate = "12";
            sheet.profitRate = "8";
        }
        QTemporaryDir folder;
        const QString path = folder.filePath("job.pdf");
        QCOMPARE(pdfOf(sheet, path), QString());
        const QStringList lines = pdfText(path, "-layout").section(u'\f', 0, 0).split(u'\n');
        const auto lineOf = [&](const QString& text) {
            for (qsizetype i = 0; i < lines.size(); ++i)
                if (lines[i].contains(text))
                    return i;
            return qsizetype(-1);
        };
        qsizetype width = 0;
        for (const QString& line : lines)
            width = std::max(width, line.trimmed().isEmpty() ? 0 : line.size());
        const qsizetype title = lineOf("Ведомость окраски");
        QVERIFY(title >= 0);
        // Each text of a side: above the title, in its half of the page, in the block's order.
        const auto side = [&](const QStringList& who, const QString& heading, bool right) {
            const QString name = who[1].isEmpty() ? QString("____________________") : who[1];
            const QStringList texts{heading, who[0], "/" + name + "/",
                                    "\"___\" __________ 20__ г."};
            qsizetype previous = -1;
            for (const QString& text : texts) {
                if (text.isEmpty())
                    continue;
                const qsizetype at = lineOf(text);
                QVERIFY2(at > previous && at < title, qPrintable(text));
                // The date line reads the same on both sides.
                const qsizetype column =
                    right ? lines[at].lastIndexOf(text) : lines[at].indexOf(text);
                QVERIFY2(right ? column > width / 2 : column < width / 4,
                         qPrintable(QString("%1 at %2 of %3").arg(text).arg(column).arg(width)));
                previous = at;
            }
        };
        if (contractor.join("").isEmpty())
            QCOMPARE(lineOf("СОГЛАСОВАНО"), -1);
        else
            side(contractor, "СОГЛАСОВАНО", false);
        if (client.join("").isEmpty())
            QCOMPARE(lineOf("УТВЕРЖДАЮ"), -1);
        else
            side(client, "УТВЕРЖДАЮ", true);
        if (lineOf("СОГЛАСОВАНО") < 0 && lineOf("УТВЕРЖДАЮ") < 0)
            QVERIFY2(lines.first().contains("Ведомость окраски"), qPrintable(lines.first()));

        const QString raw = pdfText(path, "-raw").simplified();
        QStringList money{"Работы 13 020,20 руб."};
        if (rates)
            money << "НР 12% от работ 1 562,42 руб."
                  << "СП 8% от работ 1 041,62 руб."
                  << "Итого без НДС 27 076,74 руб."
                  << "НДС 20% 5 415,35 руб."
                  << "Всего 32 492,09 руб.";
        else
            QVERIFY(!raw.contains("от работ"));
        qsizetype previous = -1;
        for (const QString& sum : money) {
            const qsizetype at = raw.indexOf(sum);
            QVERIFY2(at > previous, qPrintable(sum));
            previous = at;
        }
    }

    // A long sheet is painted in runs of pages, one a core, and the runs joined: it reads as the
    // same sheet painted in one run, page for page, and keeps its title.
    void longSheetPaintedInRuns() {
        if (QThread::idealThreadCount() < 2)
            QSKIP("one core: a sheet is painted in one run");
        QVERIFY2(canJoinPdf(), "the PDF module is built beside the tests");
        QTemporaryDir folder;
        QUndoStack undo;
        Sheets sheets(undo, u',');
        sheets.editor.reset(jobs::manyFlats(4000));
        const SheetView view = sheets.estimate.view();
        QCOMPARE(writePdf(view, folder.filePath("runs.pdf")), QString());
        {
            QPdfWriter writer(folder.filePath("whole.pdf"));
            writer.setTitle("Жилой дом");
            setUpPages(writer, view);
            QVERIFY(paintSheet(view, writer, QDate::currentDate()));
        }
        const QString runs = pdfText(folder.filePath("runs.pdf"), "-layout");
        QVERIFY(runs.count(u'\f') > 200);
        QCOMPARE(runs, pdfText(folder.filePath("whole.pdf"), "-layout"));
        QProcess info;
        info.start("pdfinfo", {folder.filePath("runs.pdf")});
        QVERIFY(info.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Title: +Жилой дом\n")));
    }

    // Where the temporary folder cannot be used, a long sheet goes to its file in one run.
    void longSheetWithoutTemporaryFolder() {
        QTemporaryDir folder;
        const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
        const QByteArray before = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(folder.filePath("gone")));
        const QString error = pdfOf(jobs::manyFlats(4000), folder.filePath("job.pdf"));
        if (wasSet)
            qputenv("TMPDIR", before);
        else
            qunsetenv("TMPDIR");
        QCOMPARE(error, QString());
        QVERIFY(pdfText(folder.filePath("job.pdf"), "-layout").count(u'\f') > 200);
    }

    // A file that can no longer be written mid-way is said in the user's words; the old one
    // stays, and nothing is left beside it.
    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<int>("lines"); // 0: the flat of four rooms
        QTest::newRow("the flat") << 0;
        // Its runs of pages fail first in the temporary folder, then the pages go to the file.
        QTest::newRow("a sheet painted in runs") << 4000;
    }

    void failedWriteKeepsTheOldFile() {
        QFETCH(int, lines);
        QTemporaryDir folder;
        const QString path = folder.filePath("job.pdf");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 16 * 1024; // the pages take more
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString error = pdfOf(lines ? jobs::manyFlats(lines) : jobs::flatOfFourRooms(), path);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(error, QString("файл больше, чем позволяет система"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"job.pdf"});
    }
};

QTEST_MAIN(PaperTest)
#include "test_paper.moc"

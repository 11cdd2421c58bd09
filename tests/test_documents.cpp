// The documents handed over: CSV, PDF and print, the Excel workbook read back by openpyxl and
// recalculated by LibreOffice, their names, and exports stopped or failed.

#include "support/jobs.h"
#include "support/sheetfixtures.h"

using namespace velaro;
using namespace velaro::test;

class DocumentsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY2(startLikeTheProgram(), "ru_RU.UTF-8 is not generated here"); }
    void init() { removeRecovery(); }

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
        QCOMPARE(prompts.suggested.section(u'/', -1), suggested);
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
        model.editor().editSystems({{0, "Грунт и эмаль", {{2, 1, "180,5"}, {1, 1}, {1, 1}}}});
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
                 MaterialTotal::of(enamel, &*model.estimate().view().rates.find(1)).canCount());
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
    // (under ru_RU a number written with a decimal comma is read as its whole part). The flat
    // of two rooms with overhead and profit comes to the figures worked out by hand in
    // test_figures, under its approval block.
    void xlsxRecalculatedByCalc_data() {
        QTest::addColumn<bool>("flat");
        QTest::newRow("lines of every kind") << false;
        QTest::newRow("flat of two rooms, НР 12 % and СП 8 %") << true;
    }

    void xlsxRecalculatedByCalc() {
        QFETCH(bool, flat);
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty())
            QSKIP("LibreOffice Calc is not installed (libreoffice-calc-nogui): "
                  "scripts/install-deps.sh installs it");
        QTemporaryDir folder;
        const QString path = folder.filePath("sheet.xlsx");
        SheetDocument document(u',', folder.path());
        SheetModel& model = document.model();
        if (flat) {
            model.editor().reset(jobs::flatOfTwoRooms());
            QCOMPARE(model.editor().setOverheadRate("12"), QString());
            QCOMPARE(model.editor().setProfitRate("8"), QString());
            SheetProperties properties = model.estimate().sheet().properties;
            properties.contractorSignatory = {"Директор ООО «Малярка»", "С. С. Сидоров"};
            properties.clientSignatory = {"Генеральный директор", "П. П. Петров"};
            model.editor().setProperties(properties);
        } else {
            addLinesOfEveryKind(model);
        }
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
            // Of several sizes the cans are the program's choice, written out.
            if (m.cans.size() > 1) {
                const QString seen = cell(materials, name, m.name, cans);
                const QString taken = cansText(m, *view.rates.find(m.id), total.cans, u',');
                if (seen != taken)
                    wrong << QString("%1, банок: Calc %2, the program %3").arg(m.name, seen, taken);
            } else {
                expect(m.name + ", банок", cell(materials, name, m.name, cans),
                       Decimal::whole(total.cans.empty() ? -1 : total.canCount()));
            }
            expect(m.name + ", стоимость", cell(materials, name, m.name, cost),
                   total.cost.value_or(Decimal()));
        }
        const Money money = moneyOf(view);
        QList<std::pair<QString, Decimal>> sums{{"Материалы, руб.", money.materials},
                                                {"Работы, руб.", money.work}};
        if (flat)
            sums << std::pair{QString("НР 12% от работ, руб."), money.overhead.value_or(Decimal())}
                 << std::pair{QString("СП 8% от работ, руб."), money.profit.value_or(Decimal())};
        sums << std::pair{QString("Итого без НДС, руб."), money.subtotal}
             << std::pair{QString("НДС 20%, руб."), money.vat.value_or(Decimal())}
             << std::pair{QString("Всего, руб."), money.total};
        for (const auto& [label, figure] : sums)
            expect(label, cell(lines, -1, label, work), figure);
        if (flat) {
            // By hand, as test_figures works them out.
            const QStringList byHand{"11452,5", "13020,2", "1562,42", "1041,62",
                                     "27076,74", "5415,35", "32492,09"};
            for (qsizetype i = 0; i < sums.size(); ++i)
                expect(sums[i].first + " (by hand)", cell(lines, -1, sums[i].first, work),
                       *Decimal::parse(byHand[i]));
            // The approval block above the title: the contractor's at the left, the client's
            // further right, on the same rows.
            QCOMPARE(lines.value(0).value(0), QString("СОГЛАСОВАНО"));
            QVERIFY2(lines.value(0).indexOf("УТВЕРЖДАЮ") > 5, qPrintable(lines.value(0).join('|')));
            QCOMPARE(lines.value(1).value(0), QString("Директор ООО «Малярка»"));
            QVERIFY(lines.value(1).contains("Генеральный директор"));
            QCOMPARE(lines.value(2).value(0), QString("____________________ /С. С. Сидоров/"));
            QVERIFY(lines.value(2).contains("____________________ /П. П. Петров/"));
            QCOMPARE(lines.value(5).value(0), QString("Ведомость окраски"));
        } else {
            for (const QStringList& row : lines)
                for (const QString& text : row)
                    QVERIFY2(!text.contains("от работ"), qPrintable(text));
            QCOMPARE(lines.value(0).value(0), QString("Ведомость окраски"));
        }
        for (const QString& w : wrong) // each, as one message would be cut short
            qWarning("%s", qPrintable(w));
        QVERIFY2(wrong.isEmpty(), qPrintable(QString("%1 figures differ").arg(wrong.size())));
    }

  private:
    // Lines of every kind in three rooms and none, three materials in two systems, VAT at 20 %.
    static void addLinesOfEveryKind(SheetModel& model) {
        // Each material's quantity over its can leaves less than a half: rounded to nearest
        // instead of up, it would come to a can fewer.
        // An enamel of two sizes: 100 м2 × 0,3 = 30 кг, the cheapest cans 2 × 14 + 1 × 2,7.
        Material sizes = paint("0,3", "0", "14", "2400", "МЛ-12");
        sizes.cans.append(Can{"2,7", "560"});
        model.editor().editMaterials({paint("0,1", "5", "2,5", "300", "ГФ-021"),
                             paint("0,11", "10", "3", "750,5", "ПФ-115"),
                             paint("0,15", "0", "2,5", "420", "ВД-АК"), sizes});
        // Priced by layers, each rounded on its own: 3 × 10,125 = 30,375 and 3 × 20,125 =
        // 60,375 make 90,76 where 3 × 30,25 would make 90,75.
        model.editor().editSystems({{0, "Грунт и эмаль", {{1, 1, "180,5"}, {2, 2}}},
                           {0, "Водоэмульсионная", {{3, 2, "95"}}},
                           {0, "По слоям", {{0, 1, "10,125", {}, "Шлифовка"}, {4, 1, "20,125"}}}});
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
                              {"", "3,333", 3, "м2", 1, "", LineKind::Computed},
                              {"Коридор", "3", 1, "м2", 3, "", LineKind::Computed},
                              {"Спальня", "97", 1, "м2", 3, "", LineKind::Computed}};
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
    }

  private slots:
    // Printing is a module of its own, found beside the program in the build tree.
    void printModuleLoads() {
        QLibrary module(QCoreApplication::applicationDirPath() + "/../velaro-print");
        QVERIFY2(module.load(), qPrintable(module.errorString()));
        QVERIFY(module.resolve("velaro_print_preview"));
    }

    // An export stopped part way leaves the file it was to replace as it was, and no other.
    void stoppedExportsLeaveTheOldFile_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("lines");
        QTest::newRow("pdf") << "pdf" << 3;
        QTest::newRow("pdf painted in runs of pages") << "pdf" << 20000;
        QTest::newRow("xlsx") << "xlsx" << 3;
    }

    void stoppedExportsLeaveTheOldFile() {
        QFETCH(QString, format);
        QFETCH(int, lines);
        QTemporaryDir folder;
        const QString path = folder.filePath("object." + format);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        fillModel(model, QStringList(lines, "1,5"));
        // Stopped once the pages are painted or the rows written, past the measuring.
        const ExportProgress stop = [](int done, int total) { return 3 * done <= 2 * total; };
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
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DocumentsTest tests;
    return velaro::test::runTests(argc, argv, &tests);
}

#include "test_documents.moc"

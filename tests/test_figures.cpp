// The sheet's figures: exact decimal totals, by room and by material with cans and cost, the money
// with overhead, profit and VAT, the one report the documents read, the sum in words.

#include "support/jobs.h"
#include "support/sheetfixtures.h"
#include "support/sheets.h"

#include "estimate/repeatrooms.h"
#include "estimate/report.h"

#include <QElapsedTimer>

using namespace velaro;
using namespace velaro::test;

class FiguresTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY2(startLikeTheProgram(), "ru_RU.UTF-8 is not generated here"); }
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
        QTest::newRow("primer and two coats") << "м2"
                                              << ""
                                              << "20"
                                              << "10,00 м2" << painted << "2 820,00 руб.";
        QTest::newRow("the line's price") << "м2"
                                          << "200"
                                          << ""
                                          << "10,00 м2" << painted << "2 850,00 руб.";
        QTest::newRow("VAT to the kopeck") << "м2"
                                           << "0,333"
                                           << "20"
                                           << "10,00 м2" << painted << "1 024,00 руб.";
        QTest::newRow("metres take no paint")
            << "м"
            << ""
            << ""
            << "0,00 м2" << QStringList{"0,00 кг/0/0,00", "0,00 кг/0/0,00"} << "1 500,00 руб.";
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
        model.editor().editSystems({{0, "Радиаторы", {{1, 1, "150", "15-04-030-1"}, {2, 2}}}});
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
        const QList<QStringList> csv =
            parseCsv(QString::fromUtf8(sheetCsv(model.estimate().view()).mid(3)), ';');
        // A material nothing takes has no column.
        const QStringList taken =
            unit == "м2" ? QStringList{"Грунтовка, кг", "Эмаль, кг"} : QStringList{};
        QCOMPARE(csv[0].mid(csv[0].size() - 1 - taken.size()), QStringList{"Шифр нормы"} + taken);
        QCOMPARE(csv[1].mid(csv[1].size() - 2 - taken.size(), 1),
                 QStringList{model.estimate().totals().work().text(u',', 2)});
        QCOMPARE(csv[1].mid(csv[1].size() - taken.size()),
                 unit == "м2" ? QStringList({"1,00", "2,40"}) : QStringList());
    }

    // A line's work is each priced layer's, quantity × price rounded to the kopeck, summed; its
    // price cell the layers' prices summed. A line's own price replaces the layers', its own norm
    // theirs; a layer of work alone adds work and no paint.
    void workByLayers_data() {
        QTest::addColumn<QList<int>>("materials"); // of each layer; 0 for work alone
        QTest::addColumn<QStringList>("prices");   // of each layer
        QTest::addColumn<QStringList>("codes");    // of each layer
        QTest::addColumn<QString>("linePrice");
        QTest::addColumn<QString>("lineCode");
        QTest::addColumn<QString>("result");    // the line's quantity, count 1
        QTest::addColumn<QStringList>("cells"); // price | work | code | paint
        QTest::newRow("one priced layer, as a system priced whole")
            << QList<int>{1, 0} << QStringList{"180", ""} << QStringList{"15-04-030-01", ""} << ""
            << ""
            << "12,35" << QStringList{"180,00", "2 223,00", "15-04-030-01", "1,24 кг"};
        // 3 × 10,125 = 30,375 → 30,38 and 3 × 20,125 = 60,375 → 60,38: 90,76, where 3 × 30,25
        // would give 90,75.
        QTest::newRow("each layer rounded on its own")
            << QList<int>{1, 0} << QStringList{"10,125", "20,125"} << QStringList{"", ""} << ""
            << ""
            << "3" << QStringList{"30,25", "90,76", "", "0,30 кг"};
        QTest::newRow("putty without material, primer, two coats")
            << QList<int>{0, 1, 1} << QStringList{"85,5", "40", "120"}
            << QStringList{"15-02-019-05", "15-04-024-01", "15-04-024-01"} << ""
            << ""
            << "10"
            << QStringList{"245,50", "2 455,00", "15-02-019-05; 15-04-024-01",
                           "Грунтовка 1,00 кг; Грунтовка 1,00 кг"};
        QTest::newRow("the line's price replaces the layers'")
            << QList<int>{0, 1} << QStringList{"85,5", "40"} << QStringList{"15-02-019-05", ""}
            << "100"
            << ""
            << "2,5" << QStringList{"100,00", "250,00", "15-02-019-05", "0,25 кг"};
        QTest::newRow("the line's norm replaces the layers'")
            << QList<int>{1} << QStringList{"40"} << QStringList{"15-04-024-01"} << ""
            << "ТЕР 15-01"
            << "2" << QStringList{"40,00", "80,00", "ТЕР 15-01", "0,20 кг"};
        QTest::newRow("no layer priced: no work")
            << QList<int>{1, 0} << QStringList{"", ""} << QStringList{"", ""} << ""
            << ""
            << "2" << QStringList{"", "", "", "0,20 кг"};
    }

    void workByLayers() {
        QFETCH(QList<int>, materials);
        QFETCH(QStringList, prices);
        QFETCH(QStringList, codes);
        QFETCH(QString, linePrice);
        QFETCH(QString, lineCode);
        QFETCH(QString, result);
        QFETCH(QStringList, cells);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        model.editor().editMaterials({paint("0,1", "0", "1", "100", "Грунтовка")});
        PaintSystem system{0, "Система", {}};
        for (qsizetype i = 0; i < materials.size(); ++i)
            system.layers.append(
                {materials[i], 1, prices[i], codes[i], materials[i] ? "" : "Шпатлёвка"});
        model.editor().editSystems({system});
        Line line = lineWith(result);
        line.system = 1;
        line.price = linePrice;
        line.code = lineCode;
        model.editor().insertLines(0, {line, lineWith("1")}); // the second without a system
        QStringList shown;
        for (Column column : {Column::Price, Column::Work, Column::Code, Column::Paint})
            shown << model.index(0, int(column)).data().toString();
        QCOMPARE(shown, cells);
        QCOMPARE(model.estimate().totals().work().text(u',', 2, true),
                 cells[1].isEmpty() ? QString("0,00") : cells[1]);
    }

    // The cheapest whole cans holding the quantity, each choice checked by hand against every
    // other combination that holds it.
    void cheapestCans_data() {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QStringList>("cans"); // size@price, in the material's order
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("cost");
        // 30 кг: 3 × 14 (42 кг) 7 200; 2 × 14 + 1 × 2,7 (30,7 кг) 4 800 + 560 = 5 360;
        // 1 × 14 + 6 × 2,7 (30,2 кг) 2 400 + 3 360 = 5 760; 12 × 2,7 (32,4 кг) 6 720.
        QTest::newRow("30 кг of 14 and 2,7")
            << "30" << QStringList{"14@2400", "2,7@560"} << "2 × 14 кг + 1 × 2,7 кг"
            << "5 360,00";
        // 2,6 кг: 3 × 0,9 = 300; 1 × 2,7 = 350; 1 × 2,7 is the fewer cans but dearer.
        QTest::newRow("the small can cheaper per kg")
            << "2,6" << QStringList{"2,7@350", "0,9@100"} << "3 × 0,9 кг"
            << "300,00";
        // 2,7 кг: 1 × 2,7 = 750 and 3 × 0,9 = 750: the fewer cans.
        QTest::newRow("equal cost: fewer cans")
            << "2,7" << QStringList{"0,9@250", "2,7@750"} << "1 × 2,7 кг"
            << "750,00";
        // 14,5 л: 2 × 10 = 4 000; 10 + 2 × 3 = 3 380; 10 + 5 × 1 = 3 300; 10 + 3 + 2 × 1 = 3 210;
        // 5 × 3 = 3 450; 4 × 3 + 3 × 1 = 3 540.
        QTest::newRow("three sizes") << "14,5" << QStringList{"10@2000", "3@690", "1@260"}
                                     << "1 × 10 кг + 1 × 3 кг + 2 × 1 кг"
                                     << "3 210,00";
        QTest::newRow("a size without a price is not bought")
            << "30" << QStringList{"14@2400", "2,7@"} << "3 × 14 кг"
            << "7 200,00";
        // 3 × 14 and 2 × 14 + 1 × 2,7 are both three cans: the one with less left over.
        QTest::newRow("no prices: fewest cans, least left over")
            << "30" << QStringList{"14@", "2,7@"} << "2 × 14 кг + 1 × 2,7 кг"
            << "—";
        // Equal cost per kilogram bound nothing: 45 725 × 2,7 = 123 457,5 кг, the least
        // multiple of 0,9 past the quantity, in the fewest cans.
        QTest::newRow("a large quantity, sizes of one value")
            << "123456,78" << QStringList{"0,9@250", "2,7@750"} << "45725 × 2,7 кг"
            << "34 293 750,00";
    }

    void cheapestCans() {
        QFETCH(QString, quantity);
        QFETCH(QStringList, cans);
        QFETCH(QString, taken);
        QFETCH(QString, cost);
        Material material = paint("1", "0", "1", "");
        material.cans.clear();
        for (const QString& can : cans)
            material.cans.append({can.section(u'@', 0, 0), can.section(u'@', 1)});
        const auto rates = MaterialRates::of(material);
        QVERIFY2(rates, qPrintable(material.problem()));
        QElapsedTimer timer;
        timer.start();
        const MaterialTotal total = MaterialTotal::of(*Decimal::parse(quantity), &*rates);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(cansText(material, *rates, total.cans, u','), taken);
        QCOMPARE(total.cost ? total.cost->text(u',', 2, true) : QString("—"), cost);
    }

    // Overhead and profit are each a share of the work alone, rounded half up to the kopeck,
    // and go into the sum VAT is taken on; a rate left empty or zero adds nothing.
    void overheadAndProfit_data() {
        QTest::addColumn<QString>("work");
        QTest::addColumn<QString>("overhead"); // rates, %
        QTest::addColumn<QString>("profit");
        QTest::addColumn<QString>("vat");
        QTest::addColumn<QString>("expected"); // НР / СП / Итого / НДС / Всего
        // Materials 500,00 in every row.
        QTest::newRow("none") << "1000"
                              << ""
                              << ""
                              << "20"
                              << "-/-/1500,00/300,00/1800,00";
        QTest::newRow("zero is none") << "1000"
                                      << "0"
                                      << "0,00"
                                      << ""
                                      << "-/-/1500,00/-/1500,00";
        QTest::newRow("both, VAT on them too") << "1000"
                                               << "12"
                                               << "8"
                                               << "20"
                                               << "120,00/80,00/1700,00/340,00/2040,00";
        // 1,25625 and 0,75375: each rounded on its own, not their sum 2,01.
        QTest::newRow("each to the kopeck") << "10,05"
                                            << "12,5"
                                            << "7,5"
                                            << ""
                                            << "1,26/0,75/512,06/-/512,06";
        // 2,005 exactly; as a double it lies below the half and would give 2,00.
        QTest::newRow("a half kopeck up") << "100,25"
                                          << "2"
                                          << ""
                                          << ""
                                          << "2,01/-/602,26/-/602,26";
        // On work plus overhead profit would be 1166,61.
        QTest::newRow("profit on the work alone") << "13020,2"
                                                  << "12"
                                                  << "8"
                                                  << ""
                                                  << "1562,42/1041,62/16124,24/-/16124,24";
        QTest::newRow("only profit") << "1000"
                                     << ""
                                     << "100"
                                     << ""
                                     << "-/1000,00/2500,00/-/2500,00";
        QTest::newRow("a rate past 100 counts for nothing") << "1000"
                                                            << "150"
                                                            << ""
                                                            << ""
                                                            << "-/-/1500,00/-/1500,00";
    }

    void overheadAndProfit() {
        QFETCH(QString, work);
        QFETCH(QString, overhead);
        QFETCH(QString, profit);
        QFETCH(QString, vat);
        QFETCH(QString, expected);
        const Money money =
            moneyOf(Decimal::whole(500), *Decimal::parse(work), vat, overhead, profit);
        const auto shown = [](const std::optional<Decimal>& sum) {
            return sum ? sum->text(u',', 2) : QString("-");
        };
        QCOMPARE(QStringList({shown(money.overhead), shown(money.profit), shown(money.subtotal),
                              shown(money.vat), shown(money.total)})
                     .join(u'/'),
                 expected);
    }

    // A rate is a percentage from 0 to 100 with at most two decimals: refused in words, the
    // sheet left as it was and nothing on the undo stack; taken as one step.
    void ratesRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal"); // empty: taken
        QTest::newRow("whole") << "12"
                               << "";
        QTest::newRow("comma") << "12,5"
                               << "";
        QTest::newRow("point, two decimals") << "12.55"
                                             << "";
        QTest::newRow("a hundred") << "100"
                                   << "";
        QTest::newRow("blanks around") << " 8 "
                                       << "";
        QTest::newRow("just past a hundred") << "100,01"
                                             << "не больше 100 %";
        QTest::newRow("huge") << "99999999999999999999"
                              << "не больше 100 %";
        QTest::newRow("three decimals") << "12,345"
                                        << "не больше двух знаков после запятой";
        QTest::newRow("negative") << "-5"
                                  << "нужно число от 0 до 100";
        QTest::newRow("exponent") << "1e1"
                                  << "нужно число от 0 до 100";
        QTest::newRow("with its sign") << "12 %"
                                       << "нужно число от 0 до 100";
        QTest::newRow("separator last") << "12,"
                                        << "нужно число от 0 до 100";
    }

    void ratesRefused() {
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QUndoStack undo;
        Sheets sheets(undo, u',');
        sheets.editor.reset(jobs::flatOfTwoRooms());
        QVERIFY(sheets.editor.setProfitRate("5").isEmpty());
        const int steps = undo.count();
        QCOMPARE(sheets.editor.setOverheadRate(typed), refusal);
        QCOMPARE(sheets.editor.setProfitRate(typed), refusal);
        const Sheet& sheet = sheets.estimate.sheet();
        QCOMPARE(sheet.overheadRate, refusal.isEmpty() ? typed.trimmed() : QString());
        QCOMPARE(sheet.profitRate, refusal.isEmpty() ? typed.trimmed() : QString("5"));
        QCOMPARE(undo.count(), steps + (refusal.isEmpty() ? 2 : 0));
    }

    // The flat of two rooms with НР 12 % and СП 8 % typed into the totals, VAT at 20 %, worked
    // out by hand. Each room (4 × 3,5 × 2,6 m):
    //   window 5,99 m2 × 180 = 1078,20; radiator 7 × 0,244 = 1,71 m2 × 210 = 359,10;
    //   pipes 0,94 m2 × 210 = 197,40; walls 15 × 2,6 − 1,68 = 37,32 m2 × 95 = 3545,40;
    //   ceiling 14 m2 × 95 = 1330,00; the room's work 6510,10, both rooms' 13020,20.
    // Materials, per room: primer 0,63 + 0,18 + 0,10 = 0,91 kg (0,1 × 1,05 per m2); enamel
    //   1,45 + 0,41 + 0,23 = 2,09 kg (0,11 × 1,1 × 2 coats); water-based 11,76 + 4,41 = 16,17 l
    //   (0,15 × 1,05 × 2 coats). Both rooms: 1,82 kg → 2 cans × 300 = 600,00; 4,18 kg → 5 cans
    //   of 0,9 × 250,5 = 1252,50; 32,34 l → 4 cans of 10 × 2400 = 9600,00; in all 11452,50.
    // НР 13020,20 × 12 % = 1562,424 → 1562,42; СП 13020,20 × 8 % = 1041,616 → 1041,62.
    // Итого 11452,50 + 13020,20 + 1562,42 + 1041,62 = 27076,74; НДС 20 % 5415,348 → 5415,35;
    // Всего 32492,09.
    void flatOfTwoRoomsByHand() {
        Workspace space;
        space.model().editor().reset(jobs::flatOfTwoRooms());
        space.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&space.window));
        const auto type = [&](const char* name, const QString& text) {
            auto* field = space.window.findChild<QLineEdit*>(name);
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Return);
        };
        type("overheadRate", "150");
        auto* refusal = space.window.findChild<QLabel*>("rateRefusal");
        QVERIFY(refusal->isVisible());
        QCOMPARE(refusal->text(), QString("НР: не больше 100 %"));
        QCOMPARE(space.document.undoStack().count(), 0);
        QCOMPARE(space.window.findChild<QLineEdit*>("overheadRate")->text(), QString("150"));
        type("overheadRate", "12");
        QVERIFY(!refusal->isVisible());
        type("profitRate", "8");
        QCOMPARE(space.document.undoStack().count(), 2);

        const Money money = Report::of(space.model().estimate().view()).money();
        const QList<std::pair<QString, std::optional<Decimal>>> figures{
            {"materials", money.materials}, {"work", money.work},
            {"overhead", money.overhead},   {"profit", money.profit},
            {"subtotal", money.subtotal},   {"vat", money.vat},
            {"total", money.total}};
        const QStringList byHand{"11 452,50", "13 020,20", "1 562,42", "1 041,62",
                                 "27 076,74", "5 415,35",  "32 492,09"};
        for (qsizetype i = 0; i < figures.size(); ++i) {
            QVERIFY2(figures[i].second, qPrintable(figures[i].first));
            QCOMPARE(figures[i].second->text(u',', 2, true), byHand[i]);
            // The totals beside the table show the same.
            auto* shown = space.window.findChild<QLabel*>(figures[i].first + "Cost");
            QCOMPARE(shown->text(), byHand[i] + " руб.");
        }

        // The CSV: after the lines and a blank row, each sum under the work, named by its rate.
        const QList<QStringList> csv =
            parseCsv(QString::fromUtf8(sheetCsv(space.model().estimate().view()).mid(3)), u';');
        const qsizetype work = csv[0].indexOf(columnTitle(Column::Work));
        const qsizetype price = csv[0].indexOf(columnTitle(Column::Price));
        QCOMPARE(csv.size(), 1 + 10 + 4 + 5); // then the three materials under a heading
        QCOMPARE(csv[11].join(""), QString());
        QStringList sums;
        for (const QStringList& row : csv.mid(12, 3))
            sums << row[price] + u'=' + row[work];
        QCOMPARE(sums, (QStringList{"Работы, руб.=13020,20", "НР 12% от работ, руб.=1562,42",
                                    "СП 8% от работ, руб.=1041,62"}));
    }

    // A floor of nine identical flats entered as an estimator measures it, with no line typed
    // or worked out by hand, checked by hand. Each flat:
    //   Комната, an L: 4 × 3 × 2,7 (37,8) and an alcove of walls 5 m long, floor 3 (13,5);
    //     a window measured 1,5 × 1,4 = 2,1 m2 with reveals 0,25 deep; a door to the corridor
    //     of 1,8 m2 recorded from its calculator (4,32 m2 painted, once).
    //     Walls 51,3 − 2,1 − 1,8 = 47,4; ceiling 12 + 3 = 15; reveals (2 × 1,4 + 1,5) × 0,25
    //     = 1,075 → 1,08.
    //   Коридор: perimeter 8 × 2,7 = 21,6 − 1,8 (the same door) = 19,8; ceiling 3,5.
    //   Area 47,4 + 15 + 1,08 + 4,32 + 19,8 + 3,5 = 91,1; the floor 819,9.
    // «Стены и потолки»: putty 120 (no paint), primer 0,1 kg 30, ВД-АК 0,15 kg × 2 coats 150:
    //   per m2 300: walls 47,4 → 14 220, ceiling 4 500, reveals 1,08 → 324, corridor 5 940 and
    //   1 050; the door in enamel ПФ-115 0,12 × 2 at 250: 1 080. A flat 27 114, the floor 244 026.
    // Paint per line to hundredths: primer 4,74 + 1,5 + 0,11 + 1,98 + 0,35 = 8,68 a flat, 78,12
    //   on the floor, 8 cans of 10 kg × 900 = 7 200; ВД-АК 14,22 + 4,5 + 0,32 + 5,94 + 1,05 =
    //   26,03, 234,27 kg: 17 × 14 kg 40 800, but 16 × 14 + 4 × 2,7 (234,8 kg) 38 400 + 2 240 =
    //   40 640 is the cheapest; enamel 1,04 a flat, 9,36 kg, 5 cans of 1,9 × 380 = 1 900.
    //   Materials 49 740.
    // НР 12 % 29 283,12; СП 8 % 19 522,08; Итого 342 571,20; НДС 20 % 68 514,24;
    // Всего 411 085,44.
    void floorOfNineFlatsByHand() {
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetEditor& editor = sheets.editor;
        Sheet job;
        job.materials = {{1, "Грунтовка", "кг", "0,1", "0", {{"10", "900"}}},
                         {2, "Краска ВД-АК", "кг", "0,15", "0", {{"14", "2400"}, {"2,7", "560"}}},
                         {3, "Эмаль ПФ-115", "кг", "0,12", "0", {{"1,9", "380"}}}};
        Layer putty(0, 1, "120", "15-02-019-05", "Шпатлёвка");
        job.systems = {{1, "Стены и потолки", {putty, {1, 1, "30"}, {2, 2, "150"}}},
                       {2, "Двери", {{3, 2, "250"}}}};
        editor.reset(job);
        const QString room = "Кв. 1, Комната", corridor = "Кв. 1, Коридор";
        Line door = jobs::solidDoor(room);
        door.adjacentRoom = corridor;
        door.system = 2;
        QCOMPARE(editor.insertLines(0, {door}), QString());
        const RoomOpening window{OpeningKind::Window, "1,5", "1,4", "1", true, "0,25"};
        QCOMPARE(editor.setRoomSize(room, RoomSize("4", "3", "", "2,7", "",
                                                   {RoomPart{"", "", "5", "2,7", "3"}}, {window})),
                 QString());
        QCOMPARE(editor.setRoomSize(corridor, {"", "", "8", "2,7", "3,5"}), QString());
        const Estimate& estimate = sheets.estimate;
        QList<int> painted;
        for (int row = 0; row < estimate.sheet().lines.size(); ++row)
            if (estimate.sheet().lines[row].kind != LineKind::Computed)
                painted << row;
        editor.assignSystem(painted, 1);
        const RoomPattern pattern = suggestedPattern({room, corridor});
        QCOMPARE(editor.repeatRooms({room, corridor}, pattern.pattern, pattern.firstNumber, 8),
                 QString());
        QCOMPARE(editor.setOverheadRate("12"), QString());
        QCOMPARE(editor.setProfitRate("8"), QString());
        editor.setVatRate("20");

        const QList<Line>& lines = estimate.sheet().lines;
        QCOMPARE(lines.size(), 9 * 6);
        QStringList flat;
        for (const Line& line : lines.mid(0, 6))
            flat << line.element + " " + line.result;
        QCOMPARE(flat, (QStringList{"Дверные проемы с глухими полотнами 4,32", "Стены 47,4",
                                    "Потолок 15", "Откосы 1,08", "Стены 19,8", "Потолок 3,5"}));
        for (const Line& line : lines) {
            QVERIFY(line.kind != LineKind::Typed);
            QVERIFY2(!line.result.startsWith(u'-'), qPrintable(line.room + " " + line.element));
        }
        QCOMPARE(lines[6 * 8].room, QString("Кв. 9, Комната"));
        QCOMPARE(lines[6 * 8].adjacentRoom, QString("Кв. 9, Коридор"));

        const Report report = Report::of(estimate.view());
        QCOMPARE(areaText(report.area(), u','), QString("819,90 м2"));
        QStringList materials;
        for (const ReportMaterial& taken : report.materials())
            materials << taken.material->name + ": " + taken.quantity.text(u',', 2) + " " +
                             cansText(*taken.material, *taken.rates, taken.cans, u',') + " " +
                             taken.cost->text(u',', 2, true);
        QCOMPARE(materials, (QStringList{"Грунтовка: 78,12 8 7 200,00",
                                         "Краска ВД-АК: 234,27 16 × 14 кг + 4 × 2,7 кг 40 640,00",
                                         "Эмаль ПФ-115: 9,36 5 1 900,00"}));
        const Money& money = report.money();
        QStringList sums;
        for (const std::optional<Decimal>& sum : std::initializer_list<std::optional<Decimal>>{
                 money.materials, money.work, money.overhead, money.profit, money.subtotal,
                 money.vat, money.total})
            sums << (sum ? sum->text(u',', 2, true) : QString("—"));
        QCOMPARE(sums, (QStringList{"49 740,00", "244 026,00", "29 283,12", "19 522,08",
                                    "342 571,20", "68 514,24", "411 085,44"}));
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
        QTest::newRow("waste and coats") << QStringList{"10"} << paint("0,11", "10", "0,9", "250,5")
                                         << 2 << QStringList{"2,42 кг"} << "2,42 кг"
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
        // The sheet's paint, not a line's, goes into cans: 60 + 40 м2 × 0,3 = 30 кг.
        Material sizes = paint("0,3", "0", "14", "2400");
        sizes.cans.append(Can{"2,7", "560"});
        QTest::newRow("two sizes: the cheapest whole cans")
            << QStringList{"60", "40"} << sizes << 1 << QStringList{"18,00 кг", "12,00 кг"}
            << "30,00 кг"
            << "2 × 14 кг + 1 × 2,7 кг"
            << "5 360,00";
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
            QVERIFY(
                model.setData(model.index(row, int(Column::System)), material.name, Qt::EditRole));
        QStringList shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown << model.index(row, int(Column::Paint)).data().toString();
        QCOMPARE(shown, paints);
        const auto rows = materialRows(model.estimate().view());
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows[0].quantity, quantity);
        QCOMPARE(rows[0].cans, cans);
        QCOMPARE(rows[0].cost, cost);
        QCOMPARE(Report::of(model.estimate().view()).money().materials.text(u',', 2, true),
                 cost == "—" ? QString("0,00") : cost);
        // The CSV's materials under the lines: the same cans and cost, figures bare.
        const QList<QStringList> csv =
            parseCsv(QString::fromUtf8(sheetCsv(model.estimate().view()).mid(3)), u';');
        QCOMPARE(csv.value(results.size() + 1), QStringList{""});
        const QStringList row = csv.value(results.size() + 3);
        QCOMPARE(row.value(0), material.name);
        QCOMPARE(row.value(2), QString(quantity).remove(" кг"));
        QCOMPARE(row.value(5), cans);
        QCOMPARE(row.value(6), cost == "—" ? QString() : QString(cost).remove(u' '));
    }

    // A material whose work was priced keeps its work when the material goes: the layer stays as
    // work alone, named after it; a layer that was paint and nothing more goes. One step to undo.
    void removingAPaintKeepsItsPricedWork() {
        QUndoStack undo;
        Sheets sheets(undo, u',');
        SheetModel& model = sheets.model;
        model.editor().editMaterials({paint("0,1", "0", "1", "100", "Грунтовка"),
                                      paint("0,12", "0", "0,9", "250", "Эмаль")});
        model.editor().editSystems(
            {{0,
              "Грунт и эмаль",
              {{1, 1, "40", "15-04-024-01"}, {2, 2}, {2, 1, "", "", "Подкраска"}}}});
        Line line = lineWith("10");
        line.system = 1;
        model.editor().insertLines(0, {line});
        const Sheet before = model.estimate().sheet();
        model.editor().editMaterials({before.materials[1]});
        QCOMPARE(model.estimate().sheet().systems[0].layers,
                 (QList<Layer>{{0, 1, "40", "15-04-024-01", "Грунтовка"},
                               {2, 2},
                               {2, 1, "", "", "Подкраска"}}));
        QCOMPARE(model.index(0, int(Column::Work)).data().toString(), QString("400,00"));
        model.editor().editMaterials({});
        QCOMPARE(model.estimate().sheet().systems[0].layers,
                 (QList<Layer>{{0, 1, "40", "15-04-024-01", "Грунтовка"}}));
        QCOMPARE(model.index(0, int(Column::Paint)).data().toString(), QString());
        undo.undo();
        undo.undo();
        QCOMPARE(model.estimate().sheet(), before);
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
        Material none = paint("1", "0", "1", "");
        none.cans.clear();
        QTest::newRow("no can") << none << false;
        Material seven = paint("1", "0", "1", "");
        for (int size = 2; size <= 7; ++size)
            seven.cans.append(Can{QString::number(size), ""});
        QTest::newRow("seven sizes") << seven << false;
    }

    void materialProblems() {
        QFETCH(Material, material);
        QFETCH(bool, sound);
        QCOMPARE(material.problem().isEmpty(), sound);
        QCOMPARE(MaterialRates::of(material).has_value(), sound);
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
        model.editor().editSystems(
            {{0, "Грунт и эмаль ×2", {{2, 1, "180,5"}, {1, 2}}}, {0, "Эмаль", {{1, 1}}}});
        const QList<std::tuple<QString, QString, int>> lines{
            {"12,35", "Кухня", 1}, {"7,77", "", 2},    {"3,33", "Ванная", 1},
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
        QCOMPARE(order,
                 (QStringList{"Кухня: 1=1 2=4 3=6", "Ванная: 4=3 5=5", "(без помещения): 6=2"}));
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
        QCOMPARE(csvOrder,
                 (QStringList{"1=37,05", "2=0,99", "3=3,03", "4=9,99", "5=15", "6=23,31"}));

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

    void roublesInWords_data() {
        QTest::addColumn<QString>("sum");
        QTest::addColumn<QString>("words");
        const QString none = " рублей 00 копеек";
        QTest::newRow("1") << "1"
                           << "Один рубль 00 копеек";
        QTest::newRow("2") << "2"
                           << "Два рубля 00 копеек";
        QTest::newRow("5") << "5"
                           << "Пять" + none;
        QTest::newRow("11") << "11"
                            << "Одиннадцать" + none;
        QTest::newRow("21") << "21"
                            << "Двадцать один рубль 00 копеек";
        QTest::newRow("1000") << "1000"
                              << "Одна тысяча" + none;
        QTest::newRow("2000") << "2000"
                              << "Две тысячи" + none;
        QTest::newRow("5000") << "5000"
                              << "Пять тысяч" + none;
        QTest::newRow("21 000") << "21000"
                                << "Двадцать одна тысяча" + none;
        QTest::newRow("1 000 000") << "1000000"
                                   << "Один миллион" + none;
        QTest::newRow("47 600,40") << "47600,40"
                                   << "Сорок семь тысяч шестьсот рублей 40 копеек";
        QTest::newRow("0,01") << "0,01"
                              << "Ноль рублей 01 копейка";
        QTest::newRow("billions, rounded") << "3002000112,125"
                                           << "Три миллиарда два миллиона сто двенадцать рублей "
                                              "13 копеек";
        QTest::newRow("negative") << "-214,22"
                                  << "Минус двести четырнадцать рублей 22 копейки";
    }

    void roublesInWords() {
        QFETCH(QString, sum);
        QFETCH(QString, words);
        QCOMPARE(velaro::roublesInWords(*Decimal::parse(sum)), words);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FiguresTest tests;
    return velaro::test::runTests(argc, argv, &tests);
}

#include "test_figures.moc"

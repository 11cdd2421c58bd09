// A firm's catalogue: a supplier's price list read (CSV of any separator, xlsx), taken into the
// catalogue after its preview, the sheet's prices brought up to it in one step that undoes; the
// catalogue's file refused where damaged, shared by programs that take turns writing it.

#include "support/sheetfixtures.h"

#include <QLockFile>
#include <QStringEncoder>

#include <clocale>

#include <xlsxwriter.h>

using namespace velaro;
using namespace velaro::test;

namespace {

// The rows read, one text each: «line|name|size|unit|price».
QStringList rowTexts(const PriceList& list) {
    QStringList texts;
    for (const PriceListRow& row : list.rows)
        texts << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(row.line)
                     .arg(row.name, row.size, row.unit, row.price);
    return texts;
}

void writeCatalogue(const QString& path, const PriceCatalogue& catalogue) {
    CatalogueStore store(path);
    QCOMPARE(store.change([&](PriceCatalogue& c) {
        c = catalogue;
        return true;
    }),
             QString());
}

// A catalogue's materials, one text each: «name|unit|consumption|size:price size:price».
QStringList materialTexts(const PriceCatalogue& catalogue) {
    QStringList texts;
    for (const Material& m : catalogue.materials) {
        QStringList cans;
        for (const Can& can : m.cans)
            cans << can.size + u':' + can.price;
        texts << QStringList{m.name, m.unit, m.consumption, cans.join(u' ')}.join(u'|');
    }
    return texts;
}

// The firm's catalogue as the hand figures below take it: enamel at 0,15 kg per m² a coat in
// cans of 2,7 kg at 560 and 14 kg at 2400; walls painted with it twice at 100 a m².
PriceCatalogue firmCatalogue() {
    PriceCatalogue c;
    c.materials = {paint("0,15", "0", "2,7", "560", "Эмаль ПФ-115")};
    c.materials[0].id = 7;
    c.materials[0].cans.append(Can{"14", "2400"});
    c.systems = {{3, "Стены", {{7, 2, "100"}}}};
    return c;
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY2(startLikeTheProgram(), "ru_RU.UTF-8 is not generated here"); }
    void init() {
        removeRecovery();
        setCatalogueFolder(catalogueFolder_.path());
        QFile::remove(cataloguePath());
    }

    void priceListRows_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("semicolons, decimal commas, headings in their own order, unit in heading")
            << QByteArray("Цена, руб.;Наименование;Фасовка, л\r\n560,50;Эмаль ПФ-115;2,7\r\n")
            << QStringList{"2|Эмаль ПФ-115|2.7|л|560.5"} << QStringList{};
        QTest::newRow("commas, quoted decimal comma, units and currency in cells")
            << QByteArray("Наименование,Тара,Цена\n\"Грунт ГФ-021\",\"2,7 кг\",\"1 240,00 руб.\"\n")
            << QStringList{"2|Грунт ГФ-021|2.7|кг|1240"} << QStringList{};
        QTest::newRow("tabs, no headings, points, grams and millilitres")
            << QByteArray("Эмаль\t900 г\t310.5\nЛак\t750 мл\t99\n")
            << QStringList{"1|Эмаль|0.9|кг|310.5", "2|Лак|0.75|л|99"} << QStringList{};
        QTest::newRow("a title above the headings, dots grouping thousands")
            << QByteArray("Прайс-лист ООО «Краски» на 01.12.2026\n\nНаименование;Вес;Цена\n"
                          "Эмаль;14;2.400,50\n")
            << QStringList{"4|Эмаль|14|кг|2400.5"} << QStringList{};
        // A quoted line break counts as a line of the file, as an editor shows it.
        QTest::newRow("rows that cannot be read are named by their line")
            << QByteArray("Наименование;Тара;Цена\nЭмаль;14;\n;14;100\nЛак;;100\n"
                          "Лак;0,9 л;дорого\nЛак;ведро;100\n\"Краска\nбелая\";0;5\nКраска;1;50\n")
            << QStringList{"9|Краска|1|кг|50"}
            << QStringList{"Строка 2: нет цены", "Строка 3: нет названия", "Строка 4: нет тары",
                           "Строка 5: цена «дорого» не число",
                           "Строка 6: тара «ведро» не число кг или л",
                           "Строка 7: тара «0» не положительное число"};
        QStringEncoder cp1251("windows-1251");
        QVERIFY(cp1251.isValid());
        QTest::newRow("Windows-1251, as Excel saves CSV")
            << QByteArray(cp1251(QStringLiteral("Наименование;Тара;Цена\nЭмаль;2,7;560\n")))
            << QStringList{"2|Эмаль|2.7|кг|560"} << QStringList{};
    }
    void priceListRows() {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, problems);
        const PriceList list = priceListOf(csvRecords(csv));
        QCOMPARE(rowTexts(list), rows);
        QCOMPARE(list.problems, problems);
    }

    // A workbook as a supplier sends it: numbers stored as binary values, texts shared.
    void priceListFromAWorkbook() {
        QTemporaryDir folder;
        const QString path = folder.filePath("прайс.xlsx");
        {
            // libxlsxwriter writes numbers with printf: the test writes them with points.
            const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
            std::setlocale(LC_NUMERIC, "C");
            lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
            lxw_worksheet* sheet = workbook_add_worksheet(book, "Прайс");
            worksheet_write_string(sheet, 0, 0, "Наименование", nullptr);
            worksheet_write_string(sheet, 0, 1, "Фасовка, кг", nullptr);
            worksheet_write_string(sheet, 0, 2, "Цена", nullptr);
            worksheet_write_string(sheet, 1, 0, "Эмаль ПФ-115", nullptr);
            worksheet_write_number(sheet, 1, 1, 0.1 + 2.6, nullptr); // 2.7000000000000002
            worksheet_write_number(sheet, 1, 2, 2400.5, nullptr);
            worksheet_write_string(sheet, 3, 0, "Лак", nullptr); // a row left empty above
            worksheet_write_string(sheet, 3, 1, "0,9 л", nullptr);
            QCOMPARE(workbook_close(book), LXW_NO_ERROR);
            std::setlocale(LC_NUMERIC, numeric.c_str());
        }
        auto read = readXlsxRows(path);
        QVERIFY2(std::holds_alternative<Records>(read),
                 qPrintable(std::get_if<QString>(&read) ? *std::get_if<QString>(&read) : ""));
        const PriceList list = priceListOf(std::get<Records>(read));
        QCOMPARE(rowTexts(list), QStringList{"2|Эмаль ПФ-115|2.7|кг|2400.5"});
        QCOMPARE(list.problems, QStringList{"Строка 4: нет цены"});
        QFile csv(folder.filePath("not.xlsx"));
        QVERIFY(csv.open(QIODevice::WriteOnly) && csv.write("a;b;c\n") > 0);
        csv.close();
        QCOMPARE(std::get<QString>(readXlsxRows(csv.fileName())),
                 QString("это не книга Excel (xlsx)"));
    }

    // A supplier's rows into the firm's catalogue above: what each changes, what is refused.
    void priceListIntoTheCatalogue_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QStringList>("problems");
        QTest::addColumn<QStringList>("materials");
        QTest::newRow("a new material joins, its consumption to be given")
            << QByteArray("Грунт ГФ-021;0.9;310\n")
            << QStringList{"Грунт ГФ-021, 0,9 кг: — → 310"} << QStringList{}
            << QStringList{"Эмаль ПФ-115|кг|0,15|2,7:560 14:2400", "Грунт ГФ-021|кг|0|0,9:310"};
        QTest::newRow("a new size of a material named otherwise")
            << QByteArray("эмаль  пф-115;5;900\n") << QStringList{"Эмаль ПФ-115, 5 кг: — → 900"}
            << QStringList{} << QStringList{"Эмаль ПФ-115|кг|0,15|2,7:560 14:2400 5:900"};
        QTest::newRow("another unit, a size twice")
            << QByteArray("Эмаль ПФ-115;2,7 л;500\nЭмаль ПФ-115;14;2300\nЭмаль ПФ-115;14,0;2500\n")
            << QStringList{"Эмаль ПФ-115, 14 кг: 2400 → 2300"}
            << QStringList{"Строка 1: «Эмаль ПФ-115» в каталоге в кг, а здесь в л",
                           "Строка 3: тара 14 кг уже есть в строке 2"}
            << QStringList{"Эмаль ПФ-115|кг|0,15|2,7:560 14:2300"};
        QTest::newRow("no more than six sizes")
            << QByteArray("Эмаль ПФ-115;1;1\nЭмаль ПФ-115;2;2\nЭмаль ПФ-115;3;3\nЭмаль ПФ-115;4;4\n"
                          "Эмаль ПФ-115;5;5\n")
            << QStringList{"Эмаль ПФ-115, 1 кг: — → 1", "Эмаль ПФ-115, 2 кг: — → 2",
                           "Эмаль ПФ-115, 3 кг: — → 3", "Эмаль ПФ-115, 4 кг: — → 4"}
            << QStringList{"Строка 5: у «Эмаль ПФ-115» уже 6 размеров тары"}
            << QStringList{"Эмаль ПФ-115|кг|0,15|2,7:560 14:2400 1:1 2:2 3:3 4:4"};
    }
    void priceListIntoTheCatalogue() {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, problems);
        QFETCH(QStringList, materials);
        const CatalogueImport taken =
            importPriceList(firmCatalogue(), priceListOf(csvRecords(csv)), u',');
        QStringList changed;
        for (const PriceChange& c : taken.changes)
            changed << QStringLiteral("%1: %2 → %3").arg(c.what, c.before, c.after);
        QCOMPARE(changed, changes);
        QCOMPARE(taken.problems, problems);
        QCOMPARE(materialTexts(taken.catalogue), materials);
        // What it holds is a catalogue its file takes back.
        const auto reread = catalogueFromJson(catalogueToJson(taken.catalogue));
        QVERIFY(std::holds_alternative<PriceCatalogue>(reread));
    }

    void catalogueFileRefusals_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = catalogueToJson(firmCatalogue());
        const auto edited = [&](const QByteArray& from, const QByteArray& to) {
            QByteArray bytes = good;
            return bytes.replace(from, to);
        };
        QTest::newRow("as written") << good << "";
        QTest::newRow("a layer of a material not there")
            << edited("\"material\": 7", "\"material\": 8") << "система 1, слой 1: нет материала 8";
        QByteArray twice = catalogueToJson(
            {{firmCatalogue().materials[0], paint("0,1", "0", "1", "", "эмаль  пф-115")}, {}});
        QTest::newRow("a name twice, blanks and case aside")
            << twice.replace("\"id\": 0", "\"id\": 8") << "материал 2: название повторяется";
        QTest::newRow("a price not a figure")
            << edited("\"2400\"", "\"дорого\"") << "материал 1: цена тары 2 не число";
        QTest::newRow("a sheet, not a catalogue") << sheetToJson({}) << "это не файл каталога";
        QTest::newRow("newer") << edited("\"version\": 1", "\"version\": 2")
                               << "более новой версией программы (формат 2)";
    }
    void catalogueFileRefusals() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const auto read = catalogueFromJson(bytes);
        if (reason.isEmpty()) {
            QVERIFY(std::holds_alternative<PriceCatalogue>(read));
            QCOMPARE(std::get<PriceCatalogue>(read), firmCatalogue());
        } else {
            QVERIFY(std::holds_alternative<QString>(read));
            QVERIFY2(std::get<QString>(read).contains(reason), qPrintable(std::get<QString>(read)));
        }
    }

    // What the sheet takes of the catalogue's prices: only what matches by name, unit and size,
    // a layer by its material (or work), the second of a kind by the second.
    void sheetTakesOnlyMatchingPrices() {
        PriceCatalogue catalogue;
        catalogue.materials = {paint("0,1", "0", "2,7", "600", "ЭМАЛЬ  ПФ-115"),
                               paint("0,1", "0", "1", "50", "Лак")};
        catalogue.materials[0].id = 1;
        catalogue.materials[1].id = 2;
        catalogue.materials[1].unit = "л";
        catalogue.systems = {{1, "Металл", {{0, 1, "30", {}, "Шлифовка"}, {1, 1, "70"},
                                            {1, 1, "90"}}}};
        Sheet sheet;
        sheet.materials = {paint("0,2", "5", "2,7", "560", "Эмаль ПФ-115"),
                           paint("0,1", "0", "1", "40", "Лак")}; // in kg: not the catalogue's
        sheet.materials[0].id = 4;
        sheet.materials[0].cans.append(Can{"14", "2400"}); // a size the catalogue lacks
        sheet.materials[1].id = 5;
        sheet.systems = {{2, "Металл", {{4, 1, "60"}, {0, 1, "30", {}, "Шлифовка"}, {4, 2, "80"}}}};
        const SheetPriceUpdate update = sheetPriceUpdate(sheet, catalogue, u',');
        QCOMPARE(update.changes,
                 (QList<PriceChange>{{"Эмаль ПФ-115, 2,7 кг", "560", "600"},
                                     {"Металл: слой «Эмаль ПФ-115»", "60", "70"},
                                     {"Металл: слой «Эмаль ПФ-115»", "80", "90"}}));
        QCOMPARE(update.materials[0].consumption, QString("0,2")); // only prices come
        QCOMPARE(update.materials[0].cans[1].price, QString("2400"));
        QCOMPARE(update.systems[0].layers[2].coats, 2);
    }

    // The whole way, as the estimator goes: the sheet takes the firm's system, the supplier's
    // CSV goes into the catalogue after its preview, another estimator reprices the work, and
    // the sheet's prices follow in one step that undoes.
    // By hand: 30 м2 × 0,15 кг × 2 coats = 9 кг. Before: 4 × 2,7 кг at 560 = 2 240 (one 14 kg
    // can is 2 400), work 30 × 100 = 3 000, total 5 240. After: a 14 kg can at 2 200 is cheaper
    // than 4 × 2,7 at 610 = 2 440, work 30 × 110 = 3 300, total 5 500.
    void supplierPricesReachTheSheet() {
        writeCatalogue(cataloguePath(), firmCatalogue());
        FakePrompts prompts;
        Workspace space;
        space.window.setPrompts(&prompts);
        const Sheet blank = space.model().estimate().sheet();
        prompts.ticked = {"Система «Стены» — Эмаль ПФ-115 ×2"};
        space.window.findChild<QAction*>("actionTakeFromCatalogue")->trigger();
        QCOMPARE(prompts.offered,
                 (QStringList{"Система «Стены» — Эмаль ПФ-115 ×2", "Материал «Эмаль ПФ-115»"}));
        SheetEditor& editor = space.model().editor();
        const Sheet& sheet = space.model().estimate().sheet();
        QCOMPARE(sheet.systems.size(), 1);
        QCOMPARE(sheet.catalogue, cataloguePath());
        editor.insertLines(0, {lineWith("30")});
        editor.assignSystem({0}, sheet.systems[0].id);
        const Sheet taken = sheet;
        QCOMPARE(grandTotal(taken, u','), *Decimal::parse("5240"));

        QTemporaryDir folder;
        QFile csv(folder.filePath("поставщик.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("Наименование;Фасовка, кг;Цена, руб.\r\nЭмаль ПФ-115;2,7;610\r\n"
                  "Эмаль ПФ-115;14;2 200,00\r\nГрунт ГФ-021;0,9;\r\n");
        csv.close();
        prompts.fileName = csv.fileName();
        CatalogueDialog dialog(space.window);
        dialog.findChild<QPushButton*>("importPriceList")->click();
        QCOMPARE(prompts.previews.size(), 1);
        QCOMPARE(prompts.previews[0].problems, QStringList{"Строка 4: нет цены"});
        QCOMPARE(prompts.previews[0].changes,
                 (QStringList{"Эмаль ПФ-115, 2,7 кг: 560 → 610",
                              "Эмаль ПФ-115, 14 кг: 2400 → 2200"}));
        QCOMPARE(dialog.findChild<QTableWidget*>("catalogue")->item(0, 2)->text(),
                 QString("2,7 кг — 610,00; 14 кг — 2 200,00"));
        QCOMPARE(sheet, taken); // the sheet keeps its copies until asked

        // Another estimator's program, on the same file.
        CatalogueStore other(cataloguePath());
        QCOMPARE(other.change([](PriceCatalogue& c) {
            c.systems[0].layers[0].price = "110";
            return true;
        }),
                 QString());

        space.window.findChild<QAction*>("actionUpdatePrices")->trigger();
        QCOMPARE(prompts.previews.size(), 2);
        QCOMPARE(prompts.previews[1].changes,
                 (QStringList{"Эмаль ПФ-115, 2,7 кг: 560 → 610", "Эмаль ПФ-115, 14 кг: 2400 → 2200",
                              "Стены: слой «Эмаль ПФ-115»: 100 → 110"}));
        QCOMPARE(prompts.previews[1].summary,
                 QString("Итого по ведомости: 5 240,00 руб. → 5 500,00 руб."));
        QCOMPARE(moneyOf(space.model().estimate().view()).total, *Decimal::parse("5500"));
        QCOMPARE(space.model().index(0, int(Column::Work)).data().toString(), QString("3 300,00"));

        space.document.undoStack().undo();
        QCOMPARE(sheet, taken);
        QCOMPARE(moneyOf(space.model().estimate().view()).total, *Decimal::parse("5240"));
        space.document.undoStack().undo(); // the line's system
        space.document.undoStack().undo(); // the line
        space.document.undoStack().undo(); // the copies taken, and the catalogue named
        QCOMPARE(sheet, blank);
    }

    // A firm's shared folder chosen, a sheet's systems put into its catalogue keep their layers'
    // materials (the ids are the catalogue's own there), and another sheet takes them back the
    // same; a sheet already at the catalogue's prices is told so, with no step to undo.
    void sheetSystemsThroughASharedCatalogue() {
        writeCatalogue(cataloguePath(), firmCatalogue()); // the user's own: left behind
        QTemporaryDir shared;
        FakePrompts prompts;
        prompts.folder = shared.path();
        Workspace first;
        first.window.setPrompts(&prompts);
        SheetEditor& editor = first.model().editor();
        editor.editMaterials({paint("0,12", "5", "0,9", "210", "Грунтовка ГФ-021"),
                              paint("0,11", "0", "2,7", "560", "Эмаль ПФ-115")});
        const QList<Material>& own = first.model().estimate().sheet().materials;
        editor.editSystems({{0, "Металл", {{0, 1, "40", {}, "Зачистка"}, {own[1].id, 2, "90"},
                                           {own[0].id, 1, "60"}}}});
        const QString layers = first.model().estimate().sheet().systems[0].layersText(own);
        CatalogueDialog dialog(first.window);
        dialog.findChild<QPushButton*>("chooseCatalogueFolder")->click();
        QCOMPARE(cataloguePath(), QDir(shared.path()).filePath("catalogue.velaro-catalogue"));
        QVERIFY(dialog.findChild<QLabel*>("cataloguePath")->text().contains("ещё не создан"));
        dialog.findChild<QPushButton*>("addFromSheet")->click();
        QCOMPARE(prompts.previews.value(0).changes,
                 (QStringList{"Материал «Грунтовка ГФ-021»: добавится",
                              "Материал «Эмаль ПФ-115»: добавится",
                              "Система «Металл»: добавится"}));
        CatalogueStore firm(cataloguePath());
        QCOMPARE(firm.refresh(), QString());
        QCOMPARE(firm.catalogue().systems.value(0).layersText(firm.catalogue().materials), layers);

        Workspace second;
        second.window.setPrompts(&prompts);
        const Sheet& sheet = second.model().estimate().sheet();
        second.model().editor().editMaterials({paint("1", "0", "1", "1", "Шпатлёвка")});
        prompts.ticked = {"Система «Металл» — " + layers};
        second.window.findChild<QAction*>("actionTakeFromCatalogue")->trigger();
        QCOMPARE(sheet.materials.size(), 3);
        QCOMPARE(sheet.systems.value(0).layersText(sheet.materials), layers);

        // Prices are the sheet's own catalogue's while its file is there, whichever folder the
        // user has now.
        dialog.findChild<QPushButton*>("ownCatalogueFolder")->click();
        QFile::remove(cataloguePath());
        const int steps = second.document.undoStack().count();
        second.window.findChild<QAction*>("actionUpdatePrices")->trigger();
        QCOMPARE(prompts.previews.size(), 2);
        QCOMPARE(prompts.previews.last().summary, QString("Цены ведомости те же, что в каталоге."));
        QCOMPARE(second.document.undoStack().count(), steps);
        // A sheet of no catalogue, where the user has none: said, and nothing changes.
        second.model().editor().takeFromCatalogue(sheet.materials, sheet.systems, {},
                                                  "без каталога");
        second.window.findChild<QAction*>("actionUpdatePrices")->trigger();
        QCOMPARE(prompts.noticesShown.value(0),
                 QString("Каталог «%1» пуст: заполните его в «Правка ▸ Каталог фирмы…».")
                     .arg(cataloguePath()));
        QCOMPARE(second.document.undoStack().count(), steps + 1);
    }

    // The catalogue's materials edited by hand: one removed leaves its systems, a layer of it
    // priced staying as work under its name; the table follows another program's write.
    void catalogueMaterialsEditedAndFollowed() {
        PriceCatalogue firm = firmCatalogue();
        firm.materials.append(paint("0,12", "0", "0,9", "210", "Грунтовка ГФ-021"));
        firm.materials[1].id = 9;
        firm.systems[0].layers = {{9, 1, "40"}, {9, 1}, {7, 2, "100"}};
        writeCatalogue(cataloguePath(), firm);
        Workspace space;
        FakePrompts prompts;
        space.window.setPrompts(&prompts);
        CatalogueDialog dialog(space.window);
        QTimer::singleShot(0, [] {
            auto* materials = qobject_cast<MaterialsDialog*>(QApplication::activeModalWidget());
            QVERIFY(materials);
            auto* table = materials->findChild<QTableWidget*>("materials");
            table->setCurrentCell(1, 0);
            materials->removeSelectedRows();
            table->item(0, 2)->setText("0,2");
            materials->accept();
        });
        dialog.editMaterials();
        CatalogueStore store(cataloguePath());
        QCOMPARE(store.refresh(), QString());
        QCOMPARE(materialTexts(store.catalogue()),
                 QStringList{"Эмаль ПФ-115|кг|0,2|2,7:560 14:2400"});
        QCOMPARE(store.catalogue().systems[0].layers,
                 (QList<Layer>{{0, 1, "40", {}, "Грунтовка ГФ-021"}, {7, 2, "100"}}));

        auto* table = dialog.findChild<QTableWidget*>("catalogue");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(store.change([](PriceCatalogue& c) {
            c.materials.append(paint("1", "0", "1", "5", "Лак"));
            c.materials.back().id = 20;
            return true;
        }),
                 QString());
        QTRY_COMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(1, 0)->text(), QString("Лак"));
    }

    // Two programs never write the catalogue at once: while one holds it, the other is refused
    // in words and the file stays as it was. A shared folder out of reach is not made anew.
    void refusedWrites_data() {
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("held by another program") << true << "каталог сейчас изменяет другой сметчик";
        QTest::newRow("a shared folder out of reach") << false << "нет папки «";
    }
    void refusedWrites() {
        QFETCH(bool, held);
        QFETCH(QString, refusal);
        writeCatalogue(cataloguePath(), firmCatalogue());
        QLockFile lock(cataloguePath() + ".lock");
        QVERIFY(lock.tryLock(0));
        const QString path = held ? cataloguePath()
                                  : catalogueFolder_.filePath("unmounted/catalogue.velaro-catalogue");
        CatalogueStore store(path);
        bool edited = false;
        const QString said = store.change([&](PriceCatalogue& c) {
            edited = true;
            c = {};
            return true;
        });
        QVERIFY2(said.startsWith(refusal), qPrintable(said));
        QVERIFY(!edited);
        QCOMPARE(QFileInfo::exists(QFileInfo(path).absolutePath()), held);
        CatalogueStore firm(cataloguePath());
        QCOMPARE(firm.refresh(), QString());
        QCOMPARE(firm.catalogue(), firmCatalogue());
    }

  private:
    QTemporaryDir catalogueFolder_;
};

VELARO_TEST_MAIN(CatalogueTest)
#include "test_catalogue.moc"

// The sheet's file: written and read back whole, its bad variants refused with the sheet left as it
// was, and a write that fails leaving the old file.

#include "support/jobs.h"
#include "support/sheetfixtures.h"

using namespace velaro;
using namespace velaro::test;

namespace {

// The sheet as the program wrote it in format 3: a material in one can size; a system of
// layers each a material and its coats, with one price and norm for all its work. Made from a
// sheet whose layers after the first carry no price or norm, as every format 3 sheet reads.
QByteArray asFormat3(const QByteArray& written) {
    QJsonObject sheet = QJsonDocument::fromJson(written).object();
    sheet["version"] = 3;
    QJsonArray materials;
    for (const QJsonValue& value : sheet["materials"].toArray()) {
        QJsonObject material = value.toObject();
        const QJsonObject can = material.take("cans").toArray().first().toObject();
        material["canSize"] = can["size"];
        material["price"] = can["price"];
        materials.append(material);
    }
    sheet["materials"] = materials;
    QJsonArray systems;
    for (const QJsonValue& value : sheet["systems"].toArray()) {
        QJsonObject system = value.toObject();
        const QJsonArray layers = system.take("layers").toArray();
        const QJsonObject first = layers.isEmpty() ? QJsonObject() : layers.first().toObject();
        system["price"] = first["price"].toString();
        system["code"] = first["code"].toString();
        QJsonArray painted; // work alone had no layer: the system's price was all there was
        for (const QJsonValue& layer : layers)
            if (layer["material"].toInt() != 0)
                painted.append(QJsonObject{{"material", layer["material"]}, {"coats", layer["coats"]}});
        system["layers"] = painted;
        systems.append(system);
    }
    sheet["systems"] = systems;
    return QJsonDocument(sheet).toJson();
}

Sheet sheetNamed(const QString& name) {
    if (name == "flat4")
        return jobs::flatOfFourRooms();
    if (name == "office3")
        return jobs::officeOfThreeRooms();
    if (name == "flat2")
        return jobs::flatOfTwoRooms();
    // A system of no layers, priced: work without paint.
    Sheet sheet;
    sheet.systems = {{1, "Шлифовка", {{0, 1, "45,5", "ГЭСН 15-02-019-05", "Шлифовка"}}}};
    sheet.lines = {lineWith("10,25")};
    sheet.lines[0].system = 1;
    return sheet;
}

} // namespace

class SheetFileTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY2(startLikeTheProgram(), "ru_RU.UTF-8 is not generated here"); }
    void init() { removeRecovery(); }

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
            QList<Material> materials = model.estimate().sheet().materials;
            materials[1].cans = {{"3", ""}, {"10", "2900"}};
            model.editor().editMaterials(materials);
            QList<PaintSystem> systems = model.estimate().sheet().systems;
            // Each layer priced by its own norm, sanding a layer of work alone.
            systems.append({0, "Грунт и эмаль",
                            {{0, 1, "35", "ГЭСН 15-02-019-05", "Шлифовка"},
                             {1, 1, "40,5", "ГЭСН 15-04-024-01"},
                             {2, 2, "80", {}, "Окраска"}}});
            model.editor().editSystems(systems);
            Line window = lineWith("3,2", 2, "Кухня");
            window.calculator = "TForm20";
            window.opening = "1,6";
            window.deduct = true;
            window.system = 3;
            window.price = "99";
            window.code = "ГЭСН 15-04-030-01";
            window.adjacentRoom = "Коридор";
            window.openingWidth = "1";
            window.openingHeight = "1,6";
            model.editor().insertLines(2, {window});
            Line typed = lineWith("7,5", 1, "Кухня");
            typed.kind = LineKind::Typed;
            typed.unit = "м";
            model.editor().insertLines(3, {typed});
            // Walls less the window and a door measured with the size, a ceiling, the door's reveals.
            model.editor().setRoomSize(
                "Кухня", {"4", "3", "", "2,7", "", {},
                          {{OpeningKind::Door, "0,8", "2", "1", true, "0,15"},
                           {OpeningKind::Doorway, "1,2", "2,1", "2", false, ""}}});
            model.editor().setVatRate("20");
            model.editor().setOverheadRate("12,5");
            model.editor().setProfitRate("8");
            model.editor().setProperties({"Кв. 5", "ул. Мира, 1", "Иванов", "ООО «Краска»", "Петров", "",
                                          {"Директор", "Иванов И. И."}, {"Прораб", ""}});
            model.editor().setRecording(false);
            model.editor().takeFromCatalogue(model.estimate().sheet().materials,
                                             model.estimate().sheet().systems,
                                             "/srv/фирма/catalogue.velaro-catalogue", "каталог");
            original = model.estimate().sheet();
            QCOMPARE(original.lines.size(), 7);
            QCOMPARE(original.lines[6].formula, QString("(2 × 2 м + 0,8 м) × 0,15 м (дверь) = 0,72 м2"));
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
        QVERIFY(bytes.contains("\"version\": 4"));
    }

    // A bad file is refused with its name and what is wrong, and the sheet stays as it was.
    // A file that cannot be read is said as one that cannot be read, never as a folder that
    // cannot be written.
    void readingErrorsInReadingWords_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing" << "такого файла нет";
        QTest::newRow("a folder") << "folder" << "это папка, а не файл";
        QTest::newRow("in no folder") << "no folder" << "такой папки нет";
        QTest::newRow("not readable") << "unreadable" << "нет прав на чтение файла";
    }
    void readingErrorsInReadingWords() {
        QFETCH(QString, what);
        QFETCH(QString, reason);
        if (what == "unreadable" && ::geteuid() == 0)
            QSKIP("the superuser reads every file");
        QTemporaryDir folder;
        QString path = folder.filePath("sheet.velaro-estimate");
        if (what == "folder")
            QDir(folder.path()).mkdir("sheet.velaro-estimate");
        if (what == "no folder") {
            QFile plain(folder.filePath("plain"));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            path = folder.filePath("plain/sheet.velaro-estimate");
        }
        if (what == "unreadable") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("{}") == 2);
            file.setPermissions(QFileDevice::WriteOwner);
        }
        SheetDocument document(u',', folder.path());
        QCOMPARE(document.openFrom(path), reason);
    }

    void badFilesLeaveTheSheet_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        Sheet sheet;
        sheet.materials = {paint("0,1", "0", "1", "")};
        sheet.materials[0].id = 1;
        sheet.lines = {lineWith("1,5"), lineWith("2")};
        sheet.systems = {{1, "Эмаль", {{1, 2}}}};
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
        // Format 3 had no openings shared by two rooms, nor a layer's price: members of those
        // names are not read.
        QByteArray v3 = asFormat3(good);
        QTest::newRow("format 3: no adjacent room, no layer's price")
            << v3.replace("\"adjacentRoom\": \"\"", "\"adjacentRoom\": 5")
                   .replace("\"coats\": 2", "\"coats\": 2, \"price\": 7")
            << "";
        QTest::newRow("format 3 without its system's price")
            << asFormat3(good).replace("\"price\": \"\"\n", "\"cost\": \"\"\n")
            << "система 1, «price»";
        QTest::newRow("format 3: no layer of work alone")
            << asFormat3(good).replace("\"material\": 1", "\"material\": 0")
            << "система 1, слой 1, «material»";
        QTest::newRow("format 4 without its adjacent room")
            << edited("\"adjacentRoom\"", "\"adjacentRooms\"") << "«adjacentRoom»";
        // Nor rates of overhead and profit, nor signatories: what it holds under their names is
        // not read.
        QTest::newRow("format 3: no rates nor signatories")
            << asFormat3(good)
                   .replace("\"overheadRate\": \"\"", "\"overheadRate\": \"150\"")
                   .replace("\"clientSignatoryName\": \"\"", "\"clientSignatoryName\": 5")
            << "";
        QTest::newRow("format 4 without its profit rate")
            << edited("\"profitRate\"", "\"profit\"") << "«profitRate»: нет текста";
        QTest::newRow("format 4 without a signatory")
            << edited("\"contractorSignatoryName\"", "\"contractorSignatory\"")
            << "«contractorSignatoryName»";
        // The catalogue the materials came from may be left out: a sheet of none.
        QTest::newRow("format 4 of no catalogue")
            << edited("\"catalogue\": \"\"", "\"catalog\": 5") << "";
        QTest::newRow("format 4, catalogue not a text")
            << edited("\"catalogue\": \"\"", "\"catalogue\": 5") << "«catalogue»: нет текста";
        QTest::newRow("format 3: no catalogue")
            << asFormat3(good).replace("\"catalogue\": \"\"", "\"catalogue\": 5") << "";
        QTest::newRow("overhead past 100")
            << edited("\"overheadRate\": \"\"", "\"overheadRate\": \"150\"")
            << "«overheadRate»: не больше 100 %";
        QTest::newRow("newer") << edited("\"version\": 4", "\"version\": 5")
                               << "более новой версией программы (формат 5)";
        QTest::newRow("no version")
            << edited("\"version\": 4", "\"version\": \"4\"") << "нет версии формата";
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
            << edited("\"size\": \"1\"", "\"size\": \"0\"") << "материал 1: тара";
        QTest::newRow("format 4 without cans")
            << edited("\"cans\"", "\"canSize\"") << "материал 1, «cans»: нет списка";
        QTest::newRow("can without its price")
            << edited("\"price\": \"\"\n", "\"cost\": \"\"\n") << "материал 1, тара 1, «price»";
        QTest::newRow("format 4 layer without its norm")
            << edited("\"code\": \"\"", "\"norm\": \"\"") << "система 1, слой 1, «code»";
        QTest::newRow("layer of neither material nor work")
            << edited("\"material\": 1", "\"material\": 0")
            << "система 1: у слоя 1 нет ни материала, ни названия работы";
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
            "price": "", "code": "", "adjacentRoom": ""}, )";
        // Openings measured with a room's size: a walls line's, each sound.
        Sheet walled;
        walled.lines = {wallsLine("Зал", {"4", "3", "", "2,7", "", {},
                                          {{OpeningKind::Door, "0,8", "2", "1", true, "0,15"}}}, u',')};
        const QByteArray walls = sheetToJson(walled);
        const auto editedWalls = [&](const QByteArray& from, const QByteArray& to) {
            QByteArray bytes = walls;
            return bytes.replace(from, to);
        };
        QTest::newRow("opening of no kind")
            << editedWalls("\"door\"", "\"hatch\"") << "строка 1, проём 1, «kind»: нужно window";
        QTest::newRow("opening without its width")
            << editedWalls("\"width\"", "\"wide\"") << "строка 1, проём 1, «width»: нет текста";
        QTest::newRow("opening of no height")
            << editedWalls("\"height\": \"2\"", "\"height\": \"0\"")
            << "строка 1, проём 1: Высота проёма";
        QTest::newRow("openings of a line not walls")
            << editedWalls("\"walls\"", "\"typed\"") << "строка 1, «openings»: проёмы бывают только у стен";
        QTest::newRow("openings not a list")
            << editedWalls("\"openings\": [", "\"openings\": 5, \"x\": [") << "строка 1, «openings»: нет списка";
        QTest::newRow("opening's width not a figure")
            << editedWalls("\"adjacentRoom\": \"\"",
                           "\"adjacentRoom\": \"\", \"openingWidth\": \"широкий\", \"openingHeight\": \"2\"")
            << "строка 1, «openingWidth»: нужно положительное число";
        QTest::newRow("format 3 had no reveals")
            << asFormat3(sheetToJson([] {
                   Sheet revealed;
                   revealed.lines = {*revealsLine("Зал", {"4", "3", "", "2,7", "", {},
                                                          {{OpeningKind::Door, "0,8", "2", "1", true, "0,15"}}}, u',')};
                   return revealed;
               }())) << "строка 1, «kind»: нужно computed, typed, walls или ceiling";
        QTest::newRow("too many lines")
            << edited("\"lines\": [", "\"lines\": [" + line.repeated(kMaxLines))
            << "больше 200000 строк";
    }

    // A sheet of format 3 opens as it was: each system's one price and norm on its first layer
    // (a system of no layers gets a layer of work alone), and the money to the kopeck what
    // the program worked out before layers were priced (for the flat of two rooms: materials
    // 11 452,50 + work 13 020,20 = 24 472,70, VAT 20 % 4 894,54, in all 29 367,24).
    void formatThreeKeepsItsMoney_data() {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("total");
        QTest::newRow("flat of four rooms") << "flat4" << "54754,32";
        QTest::newRow("office of three rooms") << "office3" << "75050,64";
        QTest::newRow("flat of two rooms") << "flat2" << "29367,24";
        QTest::newRow("a system of no layers, priced") << "work alone" << "466,38";
    }

    void formatThreeKeepsItsMoney() {
        QFETCH(QString, sheet);
        QFETCH(QString, total);
        const Sheet job = sheetNamed(sheet);
        const QByteArray old = asFormat3(sheetToJson(job));
        QVERIFY(old.contains("\"version\": 3") && !old.contains("\"cans\""));
        auto loaded = sheetFromJson(old);
        if (const auto* error = std::get_if<LoadError>(&loaded))
            QFAIL(qPrintable(error->reason));
        QUndoStack undo;
        Sheets sheets(undo, u',');
        sheets.editor.reset(std::get<LoadedSheet>(loaded).sheet);
        QCOMPARE(sheets.estimate.sheet().systems, job.systems);
        QCOMPARE(sheets.estimate.sheet().materials, job.materials);
        QCOMPARE(moneyOf(sheets.estimate.view()).total.text(u',', 2), total);
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
            QCOMPARE(space.model().estimate().sheet().overheadRate, QString());
            return;
        }
        QVERIFY(!space.window.openFrom(path));
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY2(prompts.errors[0].contains(path), qPrintable(prompts.errors[0]));
        QVERIFY2(prompts.errors[0].contains(reason), qPrintable(prompts.errors[0]));
        QVERIFY(space.model().estimate().sheet() == before);
        QCOMPARE(space.document.path(), QString());
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
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SheetFileTest tests;
    return velaro::test::runTests(argc, argv, &tests);
}

#include "test_sheetfile.moc"

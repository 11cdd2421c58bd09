// The sheet's window: recording from the real calculator windows, the keys, the dialogs and the
// questions it asks.

#include "support/sheetfixtures.h"

#include "estimate/gui/recentsheets.h"

#include <QClipboard>
#include <QHeaderView>
#include <QScopeGuard>
#include <QStyleOptionComboBox>

using namespace velaro;
using namespace velaro::test;

class EstimateWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY2(startLikeTheProgram(), "ru_RU.UTF-8 is not generated here"); }
    void init() { removeRecovery(); }

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

    // The openings typed in the room dialog are those it gives, whatever their kind and tick,
    // and come back into its table when it opens again.
    void roomOpeningsInTheDialog() {
        RoomDialog dialog("Кухня", {"4", "3", "", "2,7"}, u',');
        auto* table = dialog.findChild<QTableWidget*>("roomOpenings");
        for (int row = 0; row < 3; ++row)
            dialog.findChild<QPushButton*>("addRoomOpening")->click();
        const QStringList rows{"0,9|2,05|1||", "1.5|1,8|2|0,25", "1|2|1|0,1"};
        for (int row = 0; row < 3; ++row) {
            const QStringList cells = rows[row].split('|');
            qobject_cast<QComboBox*>(table->cellWidget(row, 0))->setCurrentIndex(2 - row);
            for (int c = 0; c < 4; ++c)
                table->item(row, c == 3 ? 5 : c + 1)->setText(cells[c]);
        }
        table->item(1, 4)->setCheckState(Qt::Unchecked);
        table->setCurrentCell(2, 1);
        dialog.findChild<QPushButton*>("removeRoomOpening")->click();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QList<RoomOpening> typed{{OpeningKind::Doorway, "0,9", "2,05", "1", true, ""},
                                       {OpeningKind::Door, "1.5", "1,8", "2", false, "0,25"}};
        QVERIFY(dialog.size().openings == typed);
        RoomDialog again("Кухня", dialog.size(), u',');
        QVERIFY(again.size().openings == (QList<RoomOpening>{typed[0], {OpeningKind::Door, "1,5", "1,8", "2", false, "0,25"}}));
    }

    // The room dialog takes length and width, or a perimeter, and a height, all positive.
    void roomSizeRefusals_data() {
        // length, width, perimeter, height[, floor[, a second part's cells «L|W|P|F|H»[, an
        // opening's cells «W|H|count|depth»]]]
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("taken");
        QTest::newRow("rectangle") << QStringList{"4", "3,5", "", "2.7"} << true;
        QTest::newRow("perimeter") << QStringList{"", "", "14,2", "2,7"} << true;
        QTest::newRow("no height") << QStringList{"4", "3", "", ""} << false;
        QTest::newRow("width missing") << QStringList{"4", "", "", "2,7"} << false;
        QTest::newRow("both ways") << QStringList{"4", "3", "14", "2,7"} << false;
        QTest::newRow("zero") << QStringList{"4", "0", "", "2,7"} << false;
        QTest::newRow("nothing") << QStringList{"", "", "", "2,7"} << false;
        QTest::newRow("perimeter and floor") << QStringList{"", "", "14,2", "2,7", "12,5"} << true;
        QTest::newRow("floor of a rectangle") << QStringList{"4", "3", "", "2,7", "12"} << false;
        QTest::newRow("a second part") << QStringList{"4", "3", "", "2,7", "", "2|1,5|||2,4"} << true;
        QTest::newRow("a part without height") << QStringList{"4", "3", "", "2,7", "", "2|1,5|||"}
                                               << false;
        QTest::newRow("an opening") << QStringList{"4", "3", "", "2,7", "", "", "1,5|1,8|2|0,25"} << true;
        QTest::newRow("an opening without height")
            << QStringList{"4", "3", "", "2,7", "", "", "1,5||2|0,25"} << false;
        QTest::newRow("openings counted in halves")
            << QStringList{"4", "3", "", "2,7", "", "", "1,5|1,8|1,5|"} << false;
    }

    void roomSizeRefusals() {
        QFETCH(QStringList, fields);
        QFETCH(bool, taken);
        RoomDialog dialog("Кухня", {}, u',');
        const char* names[] = {"roomLength", "roomWidth", "roomPerimeter", "roomHeight"};
        for (int i = 0; i < 4; ++i)
            dialog.findChild<QLineEdit*>(names[i])->setText(fields[i]);
        dialog.findChild<QLineEdit*>("roomFloor")->setText(fields.value(4));
        if (fields.size() > 6) {
            auto* openings = dialog.findChild<QTableWidget*>("roomOpenings");
            dialog.findChild<QPushButton*>("addRoomOpening")->click();
            const QStringList cells = fields[6].split('|');
            for (int c = 0; c < 4; ++c)
                openings->item(0, c == 3 ? 5 : c + 1)->setText(cells[c]);
        }
        if (fields.size() > 5 && !fields[5].isEmpty()) {
            auto* parts = dialog.findChild<QTableWidget*>("roomParts");
            dialog.findChild<QPushButton*>("addRoomPart")->click();
            const QStringList cells = fields[5].split('|');
            for (int c = 0; c < 5; ++c)
                parts->item(0, c)->setText(cells[c]);
        }
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, taken);
        QCOMPARE(dialog.findChild<QLabel*>("problem")->text().isEmpty(), taken);
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

    // Lines deleted from many places of a long sheet (the table told anew rather than block by
    // block) leave the cursor where the table moves it after any deletion: its own line being
    // deleted, on the nearest line above that stays, for the keys to go on from.
    void cursorStaysAfterDeletingFromManyPlaces() {
        Workspace space;
        QStringList results;
        for (int n = 0; n < 3000; ++n)
            results << QString::number(n);
        fillModel(space.model(), results);
        auto* table = space.window.findChild<QTableView*>("lines");
        QItemSelection found;
        for (int row = 10; row < 3000; row += 2)
            found.select(space.model().index(row, 0), space.model().index(row, 0));
        table->selectionModel()->setCurrentIndex(space.model().index(1400, 1),
                                                 QItemSelectionModel::NoUpdate);
        table->selectionModel()->select(found, QItemSelectionModel::Select |
                                                   QItemSelectionModel::Rows);
        space.window.findChild<QAction*>("removeLines")->trigger();
        QCOMPARE(space.model().rowCount(), 10 + 1495);
        QCOMPARE(table->currentIndex().row(), 704); // 695 lines deleted above it
        QCOMPARE(space.model().estimate().sheet().lines[704].result, QString("1399"));
        // Two lines, told block by block: the same place.
        table->selectionModel()->clearSelection();
        for (int row : {100, 102})
            table->selectionModel()->select(space.model().index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        table->selectionModel()->setCurrentIndex(space.model().index(102, 1),
                                                 QItemSelectionModel::NoUpdate);
        space.window.findChild<QAction*>("removeLines")->trigger();
        QCOMPARE(table->currentIndex().row(), 100);
    }

    // Lines go to the clipboard as a spreadsheet takes them and come back whole; rows typed in a
    // spreadsheet come in as typed lines, or not at all while one cannot be read; each edit is
    // one undo step.
    void linesThroughTheClipboard() {
        Workspace space;
        FakePrompts prompts;
        EstimateWindow& window = space.window;
        window.setPrompts(&prompts);
        SheetModel& model = space.model();
        fillModel(model, {"1", "2,5", "3", "4", "5"}, {"А", "Б", "В", "Г", "Д"});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* table = window.findChild<QTableView*>("lines");
        table->setFocus();
        const auto select = [&](const QList<int>& rows) {
            table->clearSelection();
            for (int row : rows)
                table->selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select |
                                                                         QItemSelectionModel::Rows);
        };
        const auto results = [&] {
            QStringList all;
            for (const Line& line : model.estimate().sheet().lines)
                all << line.room + line.result;
            return all.join(' ');
        };
        const int steps = space.document.undoStack().index();
        select({3, 1});
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        const QStringList rows = copied->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows[0].startsWith("№\tПомещение\tЭлемент\t"));
        QVERIFY(rows[1].startsWith("2\tБ\tмоек и раковин\t"));
        QVERIFY(rows[1].contains("\t2,5\t")); // the user's decimal comma, a number to a spreadsheet
        QVERIFY(rows[2].startsWith("4\tГ\t"));
        QVERIFY(copied->html().contains("<th>Помещение</th>"));

        select({0});
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(results(), QString("А1 Б2,5 Г4 Б2,5 В3 Г4 Д5"));
        QCOMPARE(window.selectedRows(), (QList<int>{1, 2})); // the pasted lines
        QTest::keyClick(table, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(results(), QString("А1 Б2,5 В3 Г4 Д5"));
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(results(), QString("А1 Б2,5 В3 Г4 Д5"));
        QCOMPARE(space.document.undoStack().index(), steps);

        auto* fromCalc = new QMimeData;
        fromCalc->setText("Наименование\tЕд. изм.\tКоличество\nОткосы\tм2\t2*1,5\nПлинтус\tм\t12\n");
        QGuiApplication::clipboard()->setMimeData(fromCalc);
        select({});
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(model.rowCount(), 7);
        QCOMPARE(model.index(5, int(Column::Formula)).data().toString(), QString("2 × 1,5 = 3 м2"));
        QCOMPARE(model.index(6, int(Column::Unit)).data().toString(), QString("м"));

        auto* unreadable = new QMimeData;
        unreadable->setText("Стены\tм2\t2,5*\n");
        QGuiApplication::clipboard()->setMimeData(unreadable);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(model.rowCount(), 7);
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(prompts.errors.front().contains("Строка 1, «Количество»"));
    }

    // Ctrl+F finds lines by what they say, F3 and Shift+F3 go on and back round the sheet, in
    // the grouped view too; Esc gives the table back.
    void findBar() {
        Workspace space;
        EstimateWindow& window = space.window;
        SheetModel& model = space.model();
        fillModel(model, {"1", "2", "3", "4"}, {"Кухня", "Зал", "Кухня", "Спальня"});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* table = window.findChild<QTableView*>("lines");
        auto* bar = window.findChild<QWidget*>("findBar");
        auto* found = window.findChild<QLabel*>("findFound");
        table->setFocus();
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        window.findChild<QLineEdit*>("findText")->insert("КУХ"); // as typed, letter case aside
        QCOMPARE(window.selectedRows(), QList<int>{0});
        QCOMPARE(found->text(), QString("1 из 2"));
        QTest::keyClick(&window, Qt::Key_F3);
        QCOMPARE(window.selectedRows(), QList<int>{2});
        QCOMPARE(found->text(), QString("2 из 2"));
        QTest::keyClick(&window, Qt::Key_F3); // round past the end
        QCOMPARE(window.selectedRows(), QList<int>{0});
        window.setGrouped(true);
        QTest::keyClick(&window, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(window.selectedRows(), QList<int>{2});
        QTest::keyClick(window.findChild<QLineEdit*>("findText"), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(table->hasFocus());
    }

    // A value typed into a cell of several selected lines and finished with Ctrl+Enter sets
    // them all, in one undo step.
    void valueForSelectedLines() {
        Workspace space;
        EstimateWindow& window = space.window;
        SheetModel& model = space.model();
        fillModel(model, {"1", "2", "3", "4"}, {"А", "Б", "В", "Г"});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* table = window.findChild<QTableView*>("lines");
        table->setFocus();
        table->setCurrentIndex(model.index(0, int(Column::Room)));
        for (int row : {2, 3})
            table->selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select |
                                                                     QItemSelectionModel::Rows);
        QTest::keyClick(table, 'R'); // the first key opens the editor
        QTest::keyClicks(QApplication::focusWidget(), "oom 2");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QStringList rooms;
        for (const Line& line : model.estimate().sheet().lines)
            rooms << line.room;
        QCOMPARE(rooms, (QStringList{"Room 2", "Б", "Room 2", "Room 2"}));
        space.document.undoStack().undo();
        rooms.clear();
        for (const Line& line : model.estimate().sheet().lines)
            rooms << line.room;
        QCOMPARE(rooms, (QStringList{"А", "Б", "В", "Г"}));
    }

    // Each sheet opened or saved heads «Последние ведомости», ten at most, and joins the
    // desktop's recent files; a desktop list that cannot be read is left as it was.
    void recentSheets() {
        Workspace space;
        EstimateWindow& window = space.window;
        window.recentSheets().clear();
        const QString desktopList =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            "/recently-used.xbel";
        QFile::remove(desktopList);
        fillModel(space.model(), {"1"});
        QStringList saved;
        for (int i = 1; i <= 11; ++i) {
            saved.prepend(space.folder.filePath(QString("смета %1.velaro-estimate").arg(i)));
            QVERIFY(window.saveTo(saved.front()));
        }
        QVERIFY(window.saveTo(saved[3])); // saved again: first, not twice
        saved.move(3, 0);
        QCOMPARE(window.recentSheets().paths(), saved.mid(0, 10));
        QFile list(desktopList);
        QVERIFY(list.open(QIODevice::ReadOnly));
        const QByteArray xbel = list.readAll();
        list.close();
        QVERIFY(xbel.contains(QUrl::fromLocalFile(saved[0]).toEncoded()));
        QVERIFY(xbel.contains("application/x-velaro-estimate"));

        auto* menu = window.findChild<QMenu*>("recentMenu");
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 12); // ten sheets, a line, «Очистить список»
        space.document.newSheet();
        menu->actions()[1]->trigger();
        QCOMPARE(space.document.path(), saved[1]);

        QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate) && list.write("<xbel") == 5);
        list.close();
        QVERIFY(window.saveTo(saved[2]));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("<xbel"));
        window.findChild<QAction*>("clearRecent")->trigger();
        QVERIFY(window.recentSheets().paths().isEmpty());
    }

    // The file dialogs start in the document's folder, else in the last one a dialog chose,
    // else in the user's documents folder: never where the program was started.
    void fileDialogsStartWhereTheUserWorks_data() {
        QTest::addColumn<QString>("before"); // what the user did first
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("folder"); // where it starts
        const QStringList befores{"nothing", "exported", "saved", "folder gone"};
        const QStringList folders{"documents", "chosen", "document", "documents"};
        for (const char* dialog : {"openSheet", "saveSheetAs", "exportPdf"})
            for (qsizetype i = 0; i < befores.size(); ++i)
                QTest::addRow("%s, %s", dialog, qPrintable(befores[i]))
                    << befores[i] << QString(dialog) << folders[i];
    }
    void fileDialogsStartWhereTheUserWorks() {
        QFETCH(QString, before);
        QFETCH(QString, dialog);
        QFETCH(QString, folder);
        QTemporaryDir root;
        QHash<QString, QString> folders;
        for (const char* name : {"documents", "chosen", "document"}) {
            folders[name] = root.filePath(name);
            QVERIFY(QDir().mkpath(folders[name]));
        }
        QVERIFY(QDir::currentPath() != folders["documents"]);
        const QString config = QStandardPaths::writableLocation(QStandardPaths::ConfigLocation);
        const QString userDirs = config + "/user-dirs.dirs";
        QFile dirs(userDirs);
        QVERIFY2(QDir().mkpath(config) && dirs.open(QIODevice::WriteOnly), qPrintable(userDirs));
        dirs.write("XDG_DOCUMENTS_DIR=\"" + folders["documents"].toUtf8() + "\"\n");
        dirs.close();
        const auto forget = qScopeGuard([&] { QFile::remove(userDirs); });
        programSettings()->remove("estimateWindow/lastFolder");

        Workspace space;
        FakePrompts prompts;
        prompts.unsavedAnswer = EstimatePrompts::Unsaved::Discard;
        space.window.setPrompts(&prompts);
        if (before != "nothing") {
            prompts.fileName = folders["chosen"] + "/job.csv";
            space.window.findChild<QAction*>("exportCsv")->trigger();
            QVERIFY(QFile::exists(prompts.fileName));
        }
        if (before == "saved")
            QVERIFY(space.window.saveTo(folders["document"] + "/job.velaro-estimate"));
        if (before == "folder gone")
            QVERIFY(QDir(folders["chosen"]).removeRecursively());

        prompts.fileName.clear(); // each dialog is cancelled
        prompts.suggested.clear();
        space.window.findChild<QAction*>(dialog)->trigger();
        const QString started = dialog == "openSheet"
                                    ? prompts.openedIn
                                    : QFileInfo(prompts.suggested).absolutePath();
        QCOMPARE(started, folders[folder]);
    }

    // Enter in «Помещение» hands the focus back to the table; Ctrl+Z and Ctrl+Shift+Z then are
    // the sheet's wherever the focus is, but in a cell being edited, which undoes its own typing.
    void undoIsTheSheetsWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("sheets");
        QTest::newRow("the table, after Enter in the room box") << "lines" << true;
        QTest::newRow("the room box") << "currentRoom" << true;
        QTest::newRow("the VAT rate") << "vatRate" << true;
        QTest::newRow("a cell being edited") << "cell" << false;
    }
    void undoIsTheSheetsWhereverTheFocusIs() {
        QFETCH(QString, focus);
        QFETCH(bool, sheets);
        Workspace space;
        EstimateWindow& window = space.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* table = window.findChild<QTableView*>("lines");
        QLineEdit* room = window.findChild<QComboBox*>("currentRoom")->lineEdit();
        room->setFocus();
        QTest::keyClicks(room, "Zal 1"); // QTest types Latin-1 only
        QTest::keyClick(room, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), table);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>("roomLength")->setText("4");
            dialog->findChild<QLineEdit*>("roomWidth")->setText("3");
            dialog->findChild<QLineEdit*>("roomHeight")->setText("2,7");
            dialog->accept();
        });
        QTest::keyClick(table, Qt::Key_R, Qt::ControlModifier);
        window.activateWindow(); // as the window manager does when the dialog closes
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const int sized = 2; // the room's walls and ceiling
        QCOMPARE(space.model().rowCount(), sized);

        QWidget* focused = window.findChild<QWidget*>(focus);
        if (focus == "cell") {
            table->edit(table->model()->index(0, int(Column::Room)));
            focused = table->findChild<QLineEdit*>();
            QTest::keyClicks(focused, "x"); // over the room, all selected
        }
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(space.model().rowCount(), sheets ? 0 : sized);
        QCOMPARE(space.model().estimate().sheet().lastRoom, QString("Zal 1"));
        QCOMPARE(room->text(), QString("Zal 1"));
        if (!sheets) { // the cell's own typing went
            QCOMPARE(qobject_cast<QLineEdit*>(focused)->text(), QString("Zal 1"));
            return;
        }
        QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(space.model().rowCount(), sized);
    }

    // Undone from the VAT rate's field, the rate shown is the sheet's again, and leaving the field
    // does not put the undone rate back.
    void undoFromTheVatRate() {
        Workspace space;
        space.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&space.window));
        auto* vat = space.window.findChild<QLineEdit*>("vatRate");
        vat->setFocus();
        QTest::keyClicks(vat, "20");
        QTest::keyClick(vat, Qt::Key_Return);
        QCOMPARE(space.model().estimate().sheet().vatRate, QString("20"));
        QTest::keyClick(vat, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(space.model().estimate().sheet().vatRate, QString());
        QCOMPARE(vat->text(), QString());
        space.window.findChild<QTableView*>("lines")->setFocus();
        QCOMPARE(space.model().estimate().sheet().vatRate, QString());
        QVERIFY(space.document.undoStack().canRedo());
    }

    // The fonts the window and the systems dialog are looked at in.
    static void addFontRows() {
        QTest::addColumn<QFont>("font");
        QTest::newRow("Liberation Sans 9 pt") << QFont("Liberation Sans", 9);
        QTest::newRow("Liberation Sans 14 pt") << QFont("Liberation Sans", 14);
        QTest::newRow("Liberation Serif 20 pt") << QFont("Liberation Serif", 20);
    }

    // Widths kept from a smaller font, or squeezed by hand, never cut a heading in the font the
    // window opens in; a column widened by hand keeps its width.
    void columnsShowTheirHeadings_data() { addFontRows(); }
    void columnsShowTheirHeadings() {
        QFETCH(QFont, font);
        const QFont before = QApplication::font();
        const auto restoreFont = qScopeGuard([&] { QApplication::setFont(before); });
        constexpr int kWidened = 600;
        {
            Workspace squeezed;
            squeezed.window.show();
            QHeaderView* header =
                squeezed.window.findChild<QTableView*>("lines")->horizontalHeader();
            for (int c = 0; c < kColumnCount; ++c)
                header->resizeSection(c, c == int(Column::Room) ? kWidened : 12);
        } // its layout is kept as it closes
        QApplication::setFont(font);
        Workspace space;
        space.window.show();
        space.window.findChild<QAction*>("showNorms")->setChecked(true); // every column shown
        auto* table = space.window.findChild<QTableView*>("lines");
        QHeaderView* header = table->horizontalHeader();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int c = 0; c < kColumnCount; ++c) {
            const QString heading = table->model()->headerData(c, Qt::Horizontal).toString();
            const int needs = header->fontMetrics().horizontalAdvance(heading) + 2 * margin;
            const int width = header->sectionSize(c);
            QVERIFY2(!header->isSectionHidden(c) && width >= needs,
                     qPrintable(QString("«%1»: %2 < %3").arg(heading).arg(width).arg(needs)));
        }
        QCOMPARE(header->sectionSize(int(Column::Room)), kWidened);
    }

    // Each layer's material is shown whole, and the composition names each material whole.
    void systemsDialogShowsWholeMaterialNames_data() { addFontRows(); }
    void systemsDialogShowsWholeMaterialNames() {
        QFETCH(QFont, font);
        const QFont before = QApplication::font();
        const auto restoreFont = qScopeGuard([&] { QApplication::setFont(before); });
        QApplication::setFont(font);
        QList<Material> materials{paint("0,1", "0", "1", "", "Грунтовка ГФ-021 красно-коричневая"),
                                  paint("0,2", "0", "1", "", "Эмаль ПФ-115 белая глянцевая")};
        materials[0].id = 1;
        materials[1].id = 2;
        SystemsDialog dialog({{1, "Эмаль", {{1, 1}, {2, 2}}}}, materials);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* layers = dialog.findChild<QTableWidget*>("layers");
        for (int row = 0; row < layers->rowCount(); ++row) {
            auto* material = qobject_cast<QComboBox*>(layers->cellWidget(row, 0));
            QStyleOptionComboBox option;
            option.initFrom(material);
            const QRect text = material->style()->subControlRect(
                QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, material);
            QVERIFY2(text.width() >= material->fontMetrics().horizontalAdvance(
                                         material->currentText()),
                     qPrintable(material->currentText()));
            // Inside the table's visible area, as high as it wants to be.
            const QRect shown(material->mapTo(layers->viewport(), QPoint(0, 0)), material->size());
            QVERIFY(layers->viewport()->rect().contains(shown) &&
                    material->height() >= material->sizeHint().height());
        }
        auto* composition = dialog.findChild<QLabel*>("layersText");
        QCOMPARE(composition->text(), QString("Грунтовка ГФ-021 красно-коричневая ×1 + "
                                              "Эмаль ПФ-115 белая глянцевая ×2"));
        QVERIFY(composition->height() >= composition->heightForWidth(composition->width()));
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
        const QStringList typed{"Дом",          "ул. Мира, 1", "Иванов",      "ООО «Краска»",
                                "Петров",       "01.12.2026",  "Директор",    "И. И. Иванов",
                                "Прораб",       "К. К. Краснов"};
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == "PropertiesDialog");
            const char* fields[] = {"propertyObject",         "propertyAddress",
                                    "propertyClient",         "propertyContractor",
                                    "propertyEstimator",      "propertyDate",
                                    "propertyClientPosition", "propertyClientName",
                                    "propertyContractorPosition", "propertyContractorName"};
            for (int i = 0; i < 10; ++i)
                dialog->findChild<QLineEdit*>(fields[i])->setText(typed[i]);
            qobject_cast<QDialog*>(dialog)->accept();
        });
        space.window.findChild<QAction*>("actionProperties")->trigger();
        const SheetProperties& p = space.model().estimate().sheet().properties;
        QCOMPARE(QStringList({p.object, p.address, p.client, p.contractor, p.estimator, p.date,
                              p.clientSignatory.position, p.clientSignatory.name,
                              p.contractorSignatory.position, p.contractorSignatory.name}),
                 typed);
        space.document.undoStack().undo();
        QVERIFY(space.model().estimate().sheet().properties == SheetProperties());
    }

    // A sheet file dropped on the main window or on the sheet's own opens in the sheet; other
    // files dropped are not taken.
    void droppedSheetsOpen_data() {
        QTest::addColumn<bool>("onTheSheet");
        QTest::newRow("the main window") << false;
        QTest::newRow("the sheet window") << true;
    }
    void droppedSheetsOpen() {
        QFETCH(bool, onTheSheet);
        RecordingMessageBoxes boxes;
        Program program(',');
        program.start();
        QTemporaryDir folder;
        Sheet sheet;
        sheet.lines = {lineWith("4,5")};
        const QString path = folder.filePath("дача.velaro-estimate");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sheetToJson(sheet)) > 0);
        file.close();
        QWidget& target = onTheSheet ? static_cast<QWidget&>(program.estimateSheet().window())
                                     : static_cast<QWidget&>(program.mainWindow());
        const auto drop = [&](const QString& dropped) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(dropped)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(&target, &enter);
            if (!enter.isAccepted())
                return false;
            QDropEvent dropped_(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(&target, &dropped_);
            return dropped_.isAccepted();
        };
        QVERIFY(!drop(folder.filePath("notes.txt")));
        QVERIFY(drop(path));
        SheetDocument& document = program.estimateSheet().document();
        QCOMPARE(document.path(), path);
        QCOMPARE(document.estimate().sheet().lines.value(0).result, QString("4,5"));
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

    // «Размеры проёма…» is there for one selected window or door line only; its dialog keeps
    // a size the rule refuses open, saying why, and one it takes becomes the line's.
    void openingSizeCommand() {
        Workspace space;
        SheetModel& model = space.model();
        Line door = lineWith("2,4", 1, "Зал");
        door.calculator = "TForm24";
        door.inputs = "CheckBox1=✓\nEdit2=1\n";
        door.opening = "1";
        model.editor().insertLines(0, {door, lineWith("3")});
        space.window.setGrouped(false);
        auto* table = space.window.findChild<QTableView*>("lines");
        QAction* command = space.window.findChild<QAction*>("actionOpeningSize");
        const auto select = [&](int row) {
            table->selectionModel()->select(model.index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                     QItemSelectionModel::Rows);
        };
        select(1);
        QVERIFY(!command->isEnabled());
        select(0);
        QVERIFY(command->isEnabled());
        QStringList problems;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == "OpeningSizeDialog");
            auto* width = dialog->findChild<QLineEdit*>("openingWidth");
            auto* height = dialog->findChild<QLineEdit*>("openingHeight");
            QTest::keyClicks(width, "0");
            QTest::keyClicks(height, "2");
            dialog->accept();
            problems << dialog->findChild<QLabel*>("problem")->text();
            width->clear();
            QTest::keyClicks(width, "0.8");
            dialog->accept();
        });
        command->trigger();
        QCOMPARE(problems, QStringList{"Ширина проёма должна быть положительным числом."});
        const Line& line = model.estimate().sheet().lines[0];
        QCOMPARE(line.result, QString("3,84")); // 0,8 × 2 = 1,6 × 2,4
        QCOMPARE(line.openingWidth, QString("0,8"));
        // Opened again, it shows the size given.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            problems << dialog->findChild<QLineEdit*>("openingWidth")->text() +
                            dialog->findChild<QLineEdit*>("openingHeight")->text();
            dialog->reject();
        });
        command->trigger();
        QCOMPARE(problems.last(), QString("0,82"));
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
        const PaintSystem enamel{1, "Эмаль", {{1, 2, "120,50", "ГЭСН 15-04-030-03"}}};
        auto with = [&](const QString& name, const QString& price, int material = 1) {
            return PaintSystem{2, name, {{material, 1, price}}};
        };
        QTest::newRow("sound") << QList<PaintSystem>{enamel, with("Грунт", "")} << "";
        QTest::newRow("blank name") << QList<PaintSystem>{enamel, with("  ", "")}
                                    << "Система 2: нет названия.";
        QTest::newRow("same name") << QList<PaintSystem>{enamel, with(" Эмаль", "")}
                                   << "Система 2: название «Эмаль» уже есть.";
        QTest::newRow("negative price") << QList<PaintSystem>{with("Грунт", "-1")}
                                        << "Система 1: цена работ слоя 1 не число.";
        QTest::newRow("price with words") << QList<PaintSystem>{with("Грунт", "12 руб")}
                                          << "Система 1: цена работ слоя 1 не число.";
        QTest::newRow("material gone") << QList<PaintSystem>{enamel, with("Грунт", "", 9)}
                                       << "Система 2: у слоя 1 нет материала.";
        QTest::newRow("work alone, named")
            << QList<PaintSystem>{{2, "Шлифовка", {{0, 1, "30", {}, "Шлифовка"}}}} << "";
        QTest::newRow("work alone, unnamed")
            << QList<PaintSystem>{enamel, {2, "Шлифовка", {{0, 1, "30", {}, " "}}}}
            << "Система 2: у слоя 1 нет ни материала, ни названия работы.";
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
        SystemsDialog dialog({{4, "Эмаль", {{2, 2}, {1, 1}}}}, materials);
        dialog.setUsedSystems({4}, &prompts);
        auto* name = dialog.findChild<QLineEdit*>("systemName");
        name->setText("По металлу");
        auto* layers = dialog.findChild<QTableWidget*>("layers");
        qobject_cast<QSpinBox*>(layers->cellWidget(0, 2))->setValue(3); // coats
        layers->setCurrentCell(1, 0);
        dialog.findChild<QPushButton*>("layerUp")->click(); // primer first
        QCOMPARE(dialog.findChild<QLabel*>("layersText")->text(),
                 QString("Грунтовка ГФ-021 ×1 + Эмаль ПФ-115 ×3"));
        dialog.removeSystem(); // used: asked, and kept on «no»
        QCOMPARE(prompts.confirms, 1);
        dialog.addSystem();
        name->setText("Грунт");
        const QList<PaintSystem> expected{{4, "По металлу", {{1, 1}, {2, 3}}},
                                          {0, "Грунт", {}}};
        QCOMPARE(dialog.systems(), expected);
        QCOMPARE(dialog.findChild<QListWidget*>("systemList")->item(0)->text(),
                 QString("По металлу"));
    }

    // Each layer's material (or none), work, coats, price and norm are edited in its row; the
    // dialog sums the layers' prices as a line will be priced.
    void systemsDialogEditsLayers() {
        QList<Material> materials{paint("0,1", "0", "1", "", "Грунтовка ГФ-021")};
        materials[0].id = 1;
        SystemsDialog dialog({{3, "Стены", {{1, 1}}}}, materials);
        dialog.setSeparator(u',');
        auto* layers = dialog.findChild<QTableWidget*>("layers");
        const auto edit = [&](int row, int column) {
            return qobject_cast<QLineEdit*>(layers->cellWidget(row, column));
        };
        QTest::keyClicks(edit(0, 3), "40");
        QTest::keyClicks(edit(0, 4), "15-04-024-01");
        layers->setCurrentCell(0, 0);
        dialog.findChild<QPushButton*>("addLayer")->click();
        dialog.findChild<QPushButton*>("layerUp")->click(); // sanding before the primer
        auto* material = qobject_cast<QComboBox*>(layers->cellWidget(0, 0));
        material->setCurrentIndex(material->findText("(без материала)"));
        for (const QChar c : QString("Шлифовка")) // keyClicks takes Latin letters only
            QTest::sendKeyEvent(QTest::Click, edit(0, 1), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        QTest::keyClicks(edit(0, 3), "35,5");
        QTest::keyClicks(edit(0, 4), "15-02-019-05");
        const QList<Layer> expected{{0, 1, "35,5", "15-02-019-05", "Шлифовка"},
                                    {1, 1, "40", "15-04-024-01"}};
        QCOMPARE(dialog.systems().value(0).layers, expected);
        QCOMPARE(dialog.findChild<QLabel*>("layersText")->text(),
                 QString("Шлифовка + Грунтовка ГФ-021 ×1"));
        QCOMPARE(dialog.findChild<QLabel*>("workPrice")->text(),
                 QString("75,50 руб. (сумма слоёв)"));
        QCOMPARE(dialog.problem(), QString());
        edit(0, 1)->clear(); // work alone needs its name
        QCOMPARE(dialog.problem(), QString("Система 1: у слоя 1 нет ни материала, ни названия работы."));
    }

    // Several can sizes are typed in one cell through «/», their prices in the next in the same
    // order; a dash for a size without a price.
    void materialsDialogTakesSeveralCanSizes_data() {
        QTest::addColumn<QString>("sizes");
        QTest::addColumn<QString>("prices");
        QTest::addColumn<QStringList>("cans"); // size@price
        QTest::addColumn<QString>("problem");
        QTest::newRow("two sizes, two prices")
            << "14 / 2,7" << "2400 / 560" << QStringList{"14@2400", "2,7@560"} << "";
        QTest::newRow("a size without a price")
            << "14 / 2,7" << "2400 / —" << QStringList{"14@2400", "2,7@"} << "";
        QTest::newRow("fewer prices than sizes")
            << "14 / 2,7" << "2400" << QStringList{"14@2400", "2,7@"}
            << "Строка 1: тара в 2 размерах, а цен 1";
        QTest::newRow("a size not a figure")
            << "14 / два" << "" << QStringList{"14@", "два@"}
            << "Строка 1: тара 2 не положительное число.";
        QTest::newRow("a size twice") << "14 / 14,0" << "" << QStringList{"14@", "14,0@"}
                                      << "Строка 1: тара 14,0 повторяется.";
    }

    void materialsDialogTakesSeveralCanSizes() {
        QFETCH(QString, sizes);
        QFETCH(QString, prices);
        QFETCH(QStringList, cans);
        QFETCH(QString, problem);
        MaterialsDialog dialog({paint("0,11", "10", "0,9", "250")});
        auto* table = dialog.findChild<QTableWidget*>("materials");
        table->item(0, 4)->setText(sizes);
        table->item(0, 5)->setText(prices);
        QStringList taken;
        for (const Can& can : dialog.materials().value(0).cans)
            taken << can.size + u'@' + can.price;
        QCOMPARE(taken, cans);
        QCOMPARE(dialog.problem().left(problem.size()), problem);
        QCOMPARE(dialog.problem().isEmpty(), problem.isEmpty());
        if (!problem.isEmpty())
            return;
        // Shown again as typed: a sheet's cans open in the dialog as they were entered.
        MaterialsDialog again(dialog.materials());
        QCOMPARE(again.materials(), dialog.materials());
    }

    // A template carries its materials: added into a sheet that lacks some of them it brings
    // them along, keeps the sheet's own of the same name, and is one step to undo.
    void systemTemplateBringsItsMaterials() {
        programSettings()->setValue("systemTemplates/list",
                             R"([{"name": 5}, "junk", {"name": "Битый", "layers": [{"coats": 500,
                                 "material": {"name": "Х", "unit": "кг", "consumption": "1",
                                 "waste": "0", "canSize": "1"}}]}])");
        QList<Material> source{paint("0,12", "5", "0,9", "210", "Грунтовка ГФ-021"),
                               paint("0,1", "0", "2,7", "540", "Эмаль ПФ-115")};
        source[0].id = 1;
        source[1].id = 2;
        source[0].cans.append(Can{"2,7", ""}); // its sizes go along
        const PaintSystem metal{1, "По металлу", {{0, 1, "40", {}, "Зачистка"},
                                                  {1, 1, "250", "ГЭСН 13-03-004"}, {2, 2}}};
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
        QCOMPARE(added.layers, (QList<Layer>{{0, 1, "40", {}, "Зачистка"},
                                             {primer.id, 1, "250", "ГЭСН 13-03-004"},
                                             {before.materials[0].id, 2}}));
        QCOMPARE(added.layersText(after.materials),
                 QString("Зачистка + Грунтовка ГФ-021 ×1 + Эмаль ПФ-115 ×2"));
        space.document.undoStack().undo();
        QCOMPARE(space.model().estimate().sheet(), before);
    }

    // A template kept before layers were priced and materials came in several sizes: its one
    // price and norm go to its first layer, its material's can is its one size.
    void olderTemplateKeepsItsPrice() {
        programSettings()->setValue("systemTemplates/list",
                                    R"([{"name": "Эмаль", "price": "150", "code": "15-04-024",
                                         "layers": [{"coats": 2, "material": {"name": "ПФ-115",
                                         "unit": "кг", "consumption": "0,1", "waste": "5",
                                         "canSize": "0,9", "price": "250"}}]}])");
        FakePrompts prompts;
        prompts.choice = "Эмаль";
        SystemsDialog dialog({}, {});
        dialog.setUsedSystems({}, &prompts);
        QVERIFY(dialog.addFromTemplate());
        QCOMPARE(dialog.systems().value(0).layers, (QList<Layer>{{-1, 2, "150", "15-04-024"}}));
        QCOMPARE(dialog.addedMaterials().value(0).cans, (QList<Can>{{"0,9", "250"}}));
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
    QApplication app(argc, argv);
    EstimateWindowTest tests;
    return velaro::test::runTests(argc, argv, &tests);
}

#include "test_estimatewindow.moc"

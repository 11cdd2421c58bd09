// The shell: start-up, opening one calculator at a time beside the main window, Exit and About.

#include "calculators/catalog.h"
#include "shell/application.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/testsupport.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

class ShellTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    MainWindow& main() { return program->mainWindow(); }
    QWidget* form(int n) { return program->registry().Form(n); }
    // Flush against the main window's right frame edge at its top, moved in as far as the
    // screen needs.
    QPoint besideMain(const QWidget& calculator) {
        const QRect outer = main().frameGeometry();
        const QRect available = main().screen()->availableGeometry();
        const QSize frame = calculator.frameGeometry().size();
        return {std::min(outer.left() + outer.width(), available.right() + 1 - frame.width()),
                std::min(outer.top(), available.bottom() + 1 - frame.height())};
    }

  private slots:
    void init() {
        program = std::make_unique<Program>(',');
        main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
    }
    void cleanup() { program.reset(); }

    void startsWithOnlyTheMainWindow() {
        QCOMPARE(main().objectName(), QString("TForm1"));
        QCOMPARE(main().windowTitle(), QString("Velaro Калькулятор окраски"));
        QCOMPARE(main().size(), QSize(412, 743));
        QCOMPARE(main().minimumSize(), main().maximumSize());
        for (int n = 2; n <= 27; ++n) {
            QVERIFY(form(n));
            QCOMPARE(form(n)->objectName(), QString("TForm%1").arg(n));
            QVERIFY2(!form(n)->isVisible(), qPrintable(form(n)->objectName()));
        }
    }

    void buttonsInOneColumn() {
        QPushButton* previous = nullptr;
        for (int n = 1; n <= 26; ++n) {
            auto* button = control<QPushButton>(&main(), QString("Button%1").arg(n));
            QVERIFY(button);
            QVERIFY(button->isEnabled());
            QCOMPARE(button->size(), QSize(369, 25));
            if (previous) {
                QCOMPARE(button->y() - previous->y(), 24);
                QCOMPARE(button->x(), previous->x());
                QCOMPARE(previous->nextInFocusChain(), button);
            }
            previous = button;
        }
        QCOMPARE(control<QPushButton>(&main(), "Button19")->text(),
                 QString("Площадь окраски оконных проемов с раздельными переплетами"));
    }

    // The captions come from the catalogue: each button must name the calculator it opens.
    void buttonsNameTheCalculatorTheyOpen_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("caption");
        QTest::newRow("pipes") << 2 << "Площадь окраски труб без фасонных частей...";
        QTest::newRow("cast-iron pipelines")
            << 4 << "Площадь окраски чугунных труб, включая выступы, крепления...";
        QTest::newRow("sinks") << 5 << "Площадь окраски моек и раковин";
        QTest::newRow("cisterns") << 7 << "Площадь окраски смывного бачка";
        QTest::newRow("МС-140 500") << 8 << "Площадь окраски чугунного радиатора МС-140 500";
        QTest::newRow("МС-140 300") << 9 << "Площадь окраски чугунного радиатора МС-140 300";
        QTest::newRow("stucco ceilings") << 10 << "Площадь окраски лепных потолков";
        QTest::newRow("coffered") << 11 << "Площадь окраски кесонных потолков";
        QTest::newRow("logs") << 14 << "Площадь окраски бревенчатых стен";
        QTest::newRow("stucco products") << 15 << "Площадь окраски лепных изделий";
        QTest::newRow("grilles 20")
            << 16 << "Площадь окраски стальных решеток с заполнением до 20%";
        QTest::newRow("grilles over 30")
            << 18 << "Площадь окраски стальных решеток с заполнением более 30%";
        QTest::newRow("corrugated")
            << 19 << "Площадь окраски волнистых поверхностей асболистов и стали";
        QTest::newRow("industrial windows")
            << 22 << "Площадь окраски оконных проемов промышленных зданий";
        QTest::newRow("framing") << 27 << "Площадь окраски обрамлений дверных проемов (арка)";
    }
    void buttonsNameTheCalculatorTheyOpen() {
        QFETCH(int, form);
        QFETCH(QString, caption);
        const QString button = QStringLiteral("Button%1").arg(form - 1);
        QCOMPARE(control<QPushButton>(&main(), button)->text(), caption);
        click(&main(), button);
        QVERIFY(this->form(form)->isVisible());
        for (const CalculatorEntry& entry : allCalculators())
            if (entry.formNumber == form)
                QCOMPARE(entry.caption, caption);
    }

    void calculatorCaptions_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("caption");
        QTest::newRow("pipes") << 2 << "Калькулятор площади окраски труб ";
        QTest::newRow("baths") << 6 << "Калькулятор окраски ванн ";
        QTest::newRow("grilles 30") << 17 << "Калькулятор окраски стальных решеток";
        QTest::newRow("framing")
            << 27 << "Калькулятор окраски дверных проемов - обрамление открытого проема";
    }
    void calculatorCaptions() {
        QFETCH(int, form);
        QFETCH(QString, caption);
        QCOMPARE(this->form(form)->windowTitle(), caption);
        auto* calculator = qobject_cast<CalculatorWindow*>(this->form(form));
        QVERIFY(calculator);
        QCOMPARE(calculator->client()->width(), form == 2 ? 471 : 492);
    }

    void buttonOpensOneCalculatorBesideTheMainWindow() {
        click(&main(), "Button1");
        QVERIFY(form(2)->isVisible());
        click(&main(), "Button19");
        QVERIFY(!form(2)->isVisible());
        QVERIFY(form(20)->isVisible());
        QCOMPARE(form(20)->frameGeometry().topLeft(), besideMain(*form(20)));
        int visible = 0;
        for (int n = 2; n <= 27; ++n)
            visible += form(n)->isVisible();
        QCOMPARE(visible, 1);
    }

    void reopeningMovesItBackAndKeepsTexts() {
        click(&main(), "Button1");
        typeInto(form(2), "Edit3", "57");
        form(2)->move(5, 5);
        click(&main(), "Button26");
        click(&main(), "Button1");
        QCOMPARE(textOf(form(2), "Edit3"), QString("57"));
        QCOMPARE(form(2)->frameGeometry().topLeft(), besideMain(*form(2)));
    }

    void windowsStayOnTheScreen() {
        const QRect available = main().screen()->availableGeometry();
        QVERIFY2(available.contains(main().frameGeometry()), "main window");
        for (int n = 2; n <= 27; ++n) {
            click(&main(), QString("Button%1").arg(n - 1));
            const QRect frame = form(n)->frameGeometry();
            QVERIFY2(available.contains(frame), qPrintable(form(n)->objectName()));
            QCOMPARE(frame.topLeft(), besideMain(*form(n)));
        }
    }

    // Where the screen is too small the client area takes what there is, with room for a scroll
    // bar each way the buttons do not fit, where the screen has it.
    void clientFitsTheScreen_data() {
        QTest::addColumn<QSize>("room");
        QTest::addColumn<QSize>("client"); // of 410×718, bars 15 pixels thick
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("exactly the size") << QSize(410, 718) << QSize(410, 718) << false;
        QTest::newRow("1366×768 with a panel") << QSize(1364, 699) << QSize(425, 699) << true;
        QTest::newRow("a pixel too narrow") << QSize(409, 1000) << QSize(409, 733) << true;
        QTest::newRow("too low, no room for the bar beside")
            << QSize(420, 500) << QSize(420, 500) << true;
    }
    void clientFitsTheScreen() {
        QFETCH(QSize, room);
        QFETCH(QSize, client);
        QFETCH(bool, scrolls);
        const ClientFit fit = fitClient(QSize(410, 718), room, QSize(15, 15));
        QCOMPARE(fit.size, client);
        QCOMPARE(fit.scrolls, scrolls);
    }

    void openingRestoresAMinimisedCalculator_data() {
        QTest::addColumn<QString>("between");
        QTest::newRow("its button twice") << QString();
        QTest::newRow("another calculator in between") << QString("Button7");
    }
    void openingRestoresAMinimisedCalculator() {
        QFETCH(QString, between);
        click(&main(), "Button4");
        click(&main(), "Button4");
        form(5)->showMinimized();
        QVERIFY(form(5)->isMinimized());
        if (!between.isEmpty())
            click(&main(), between);
        click(&main(), "Button4");
        QVERIFY(form(5)->isVisible());
        QVERIFY(!form(5)->isMinimized());
    }

    void returnOnAMainWindowButtonOpensItsCalculator_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
        QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
    }
    void returnOnAMainWindowButtonOpensItsCalculator() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, opens);
        auto* button = control<QPushButton>(&main(), "Button12");
        button->setFocus();
        QTest::keyClick(button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(program->registry().builtForm(13) && form(13)->isVisible(), opens);
    }

    // Compute with malformed text in every field ends in a box in every calculator: refused or
    // malformed.
    void returnOnComputeInEveryCalculator_data() {
        QTest::addColumn<int>("form");
        for (int n = 2; n <= 27; ++n)
            QTest::newRow(qPrintable(QString("TForm%1").arg(n))) << n;
    }
    void returnOnComputeInEveryCalculator() {
        QFETCH(int, form);
        RecordingMessageBoxes boxes;
        click(&main(), QString("Button%1").arg(form - 1));
        QWidget* calculator = this->form(form);
        auto* compute = control<QPushButton>(calculator, "Button1");
        QVERIFY(compute);
        for (QLineEdit* field : calculator->findChildren<QLineEdit*>()) {
            QTest::keyClicks(field, ",,");
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
        }
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.onlyText(Kind::Message)));
        compute->setFocus();
        QTest::keyClick(compute, Qt::Key_Return);
        QCOMPARE(boxes.boxes.size(), 1);
        compute->setFocus();
        QTest::keyClick(compute, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(boxes.boxes.size(), 2);
    }

    void calculatorExitHidesOnlyIt() {
        click(&main(), "Button1");
        auto* calculator = qobject_cast<QMainWindow*>(form(2));
        calculator->menuBar()->actions()[0]->menu()->actions()[0]->trigger();
        QVERIFY(!form(2)->isVisible());
        QVERIFY(main().isVisible());
    }

    void aboutBox() {
        RecordingMessageBoxes boxes;
        const QList<QAction*> menus = main().menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->text(), QString("&Файл"));
        QCOMPARE(menus[1]->text(), QString("&Справка"));
        QCOMPARE(menus[1]->menu()->actions()[0]->text(), QString("О программе"));
        menus[1]->menu()->actions()[0]->trigger();
        QCOMPARE(boxes.onlyText(Kind::About), MainWindow::kAboutText);
    }

    void everyCalculatorIsCreatedOnceInOrder() {
        const auto entries = allCalculators();
        QCOMPARE(entries.size(), std::size_t(26));
        QSet<QString> captions;
        QSet<QString> elements;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            QCOMPARE(entries[i].formNumber, int(i) + 2);
            QVERIFY(!entries[i].caption.isEmpty());
            captions.insert(entries[i].caption);
            elements.insert(entries[i].sheetName);
        }
        QCOMPARE(captions.size(), 26); // no two buttons alike
        QCOMPARE(elements.size(), 26); // nor two elements on the sheet
        QVERIFY(!elements.contains(QString()));
    }

    // Qt's own words follow the user's language: a field's context menu and a box's buttons.
    void qtTextsInTheUsersLanguage_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("catalogue");
        QTest::addColumn<QStringList>("menu"); // the field's context menu, shortcuts left out
        QTest::addColumn<QString>("cancel");
        const QStringList russian{
            "&Отменить действие", "&Повторить действие", "",        "&Вырезать",
            "&Копировать",        "В&ставить",           "Удалить", "",
            "Выделить всё"};
        QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << true << russian
                                 << "Отмена";
        QTest::newRow("C: Qt's own English")
            << QLocale::c() << false << QStringList{"&Undo",  "&Redo",  "", "Cu&t",      "&Copy",
                                                    "&Paste", "Delete", "", "Select All"}
            << "Cancel";
        QTest::newRow("Russian of another country")
            << QLocale(QLocale::Russian, QLocale::Belarus) << true << russian << "Отмена";
    }
    void qtTextsInTheUsersLanguage() {
        QFETCH(QLocale, locale);
        QFETCH(bool, catalogue);
        QFETCH(QStringList, menu);
        QFETCH(QString, cancel);
        QCOMPARE(installQtTranslations(locale), catalogue);
        QLineEdit field;
        std::unique_ptr<QMenu> contextMenu(field.createStandardContextMenu());
        QStringList shown;
        for (QAction* action : contextMenu->actions())
            shown << action->text().section('\t', 0, 0);
        QCOMPARE(shown, menu);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), cancel);
        installQtTranslations(QLocale::c());
    }

    // Last: it ends the application's event processing.
    void mainExitEndsTheProgram() {
        click(&main(), "Button5");
        QEventLoop loop;
        bool ended = false;
        QTimer::singleShot(0, [&] { main().findChild<QAction*>("N2")->trigger(); });
        QTimer::singleShot(5000, &loop, [&] { loop.exit(1); });
        ended = loop.exec() == 0;
        QVERIFY(ended);
    }
};

VELARO_TEST_MAIN(ShellTest)
#include "test_shell.moc"

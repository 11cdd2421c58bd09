// The shell: start-up, opening one calculator at a time beside the main window, Exit and About.

#include "calculators/catalog.h"
#include "shell/prob02.h"
#include "shell/registry.h"
#include "support/testsupport.h"

#include <QEventLoop>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

class ShellTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    TForm1& main() { return program->mainWindow(); }
    QWidget* form(int n) { return program->registry().Form(n); }

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
        const QRect outer = main().frameGeometry();
        QCOMPARE(form(20)->frameGeometry().topLeft(),
                 QPoint(outer.left() + outer.width(), outer.top()));
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
        const QRect outer = main().frameGeometry();
        QCOMPARE(form(2)->frameGeometry().topLeft(),
                 QPoint(outer.left() + outer.width(), outer.top()));
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
        QCOMPARE(boxes.onlyText(Kind::About), TForm1::kAboutText);
    }

    void everyCalculatorIsCreatedOnceInOrder() {
        const auto entries = allCalculators();
        QCOMPARE(entries.size(), std::size_t(26));
        for (std::size_t i = 0; i < entries.size(); ++i)
            QCOMPARE(entries[i].formNumber, int(i) + 2);
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

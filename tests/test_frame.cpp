// The calculator window frame and its boxes: the real QMessageBoxes, the error guard, and how
// an outcome is applied (focus, then box, then clearing).

#include "core/calculatorwindow.h"
#include "core/fonts.h"
#include "core/messages.h"
#include "core/numericedit.h"
#include "core/windowframe.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

namespace {

// A small calculator: refuses an empty Edit2 (focus to it, Edit4 emptied), else doubles it and
// says so in the result's trail.
class SampleWindow : public CalculatorWindow {
  public:
    SampleWindow() : CalculatorWindow({"TFormSample", "sample", "Sample ", QSize(492, 300)}, ',') {
        addFieldRow("Edit2", "Площадь:", "м2", QPoint(200, 40));
        addFieldRow("Edit3", "Прочее:", {}, QPoint(200, 70));
        addFoot(140, addFieldRow("Edit4", "Итог:", {}, QPoint(200, 100)), 180);
        setTabOrder({"Edit3", "Edit2", "Edit4", "Button1", "Button2"});
        setResetOrder({"Edit2", "Edit4"});
        setRule([](const FormState& state) -> Outcome {
            if (state.isEmpty("Edit2"))
                return Refusal{"Введите площадь", "Edit2", "Edit4"};
            TrailTerm doubled = measured(state, "Edit2");
            doubled.factors.push_back({2.0L, "вдвое"});
            return resultOf(state, "Edit4", doubled);
        });
    }
};

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Reads the next modal message box from a timer, then presses its only button.
void answerNextBox(SeenBox& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        box->buttons().front()->click();
    });
}

} // namespace

class FrameTest : public QObject {
    Q_OBJECT
  private slots:
    void validationBoxIsTheRealMessageBox() {
        SeenBox seen;
        answerNextBox(seen);
        ShowMessage("Введите площадь");
        QCOMPARE(seen.title, QString("Velaro Калькулятор окраски"));
        QCOMPARE(seen.text, QString("Введите площадь"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{"OK"});
    }

    void errorBoxHasTheStopIconAndFullStop() {
        SeenBox seen;
        answerNextBox(seen);
        runGuarded([] { throw EConvertError("'1,2,3' is not a valid floating point value"); });
        QCOMPARE(seen.title, QString("Velaro Калькулятор окраски"));
        QCOMPARE(seen.text, QString("'1,2,3' is not a valid floating point value."));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QStringList{"OK"});
    }

    void fullStopRule_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "value"
                                << "value.";
        QTest::newRow("already a stop") << "value."
                                        << "value.";
        QTest::newRow("exclamation sorts before the stop") << "value!"
                                                           << "value!";
        QTest::newRow("quote sorts before the stop") << "'x'"
                                                     << "'x'";
        QTest::newRow("cyrillic") << "ошибка"
                                  << "ошибка.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void fullStopRule() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(message), shown);
    }

    void guardStopsEveryException() {
        RecordingMessageBoxes boxes;
        runGuarded([] { throw std::runtime_error("boom"); });
        runGuarded([] { throw 42; });
        bool ran = false;
        runGuarded([&] { ran = true; });
        QVERIFY(ran);
        QCOMPARE(boxes.boxes.size(), 2);
        QCOMPARE(boxes.boxes[0].text, QString("boom."));
        QCOMPARE(boxes.boxes[1].kind, Kind::Error);
    }

    void frameProperties() {
        SampleWindow window;
        QCOMPARE(window.objectName(), QString("TFormSample"));
        QCOMPARE(window.windowTitle(), QString("Sample "));
        QCOMPARE(window.client()->size(), QSize(492, 300));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(window.palette().color(QPalette::Window), QColor(192, 192, 192));
        auto* compute = control<QPushButton>(&window, "Button1");
        auto* reset = control<QPushButton>(&window, "Button2");
        QCOMPARE(compute->text(), QString("Расчитать"));
        QCOMPARE(reset->text(), QString("Сброс"));
        QCOMPARE(compute->size(), QSize(75, 25));
        QCOMPARE(reset->size(), QSize(75, 25));
        QVERIFY(!compute->isDefault() && !compute->autoDefault());
        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus[0]->text(), QString("&Файл"));
        QCOMPARE(menus[0]->menu()->actions().size(), 1);
        QCOMPARE(menus[0]->menu()->actions()[0]->text(), QString("Выход"));
        QCOMPARE(focusName(&window), QString("Edit3")); // first in tab order
    }

    void exitHidesTheWindowAndKeepsTexts() {
        SampleWindow window;
        window.show();
        typeInto(&window, "Edit2", "12");
        window.menuBar()->actions()[0]->menu()->actions()[0]->trigger();
        QVERIFY(!window.isVisible());
        window.show();
        QCOMPARE(textOf(&window, "Edit2"), QString("12"));
    }

    void refusalMovesFocusThenBoxThenClears() {
        RecordingMessageBoxes boxes;
        SampleWindow window;
        typeInto(&window, "Edit4", "7");
        QString focusAtBox, resultAtBox;
        boxes.whileOpen = [&](const RecordingMessageBoxes::Box&) {
            focusAtBox = focusName(&window);
            resultAtBox = textOf(&window, "Edit4");
        };
        click(&window, "Button1");
        QCOMPARE(boxes.onlyText(Kind::Message), QString("Введите площадь"));
        QCOMPARE(focusAtBox, QString("Edit2"));
        QCOMPARE(resultAtBox, QString("7"));
        QCOMPARE(textOf(&window, "Edit4"), QString());
    }

    void malformedInputKeepsTheResult() {
        RecordingMessageBoxes boxes;
        SampleWindow window;
        typeInto(&window, "Edit4", "7");
        typeInto(&window, "Edit2", ",,");
        click(&window, "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error), QString("',,' is not a valid floating point value."));
        QCOMPARE(textOf(&window, "Edit4"), QString("7"));
        boxes.clear();
        retype(&window, "Edit2", "1,25");
        click(&window, "Button1");
        QCOMPARE(textOf(&window, "Edit4"), QString("2,5"));
    }

    void enterAndEscapeInAFieldDoNothing() {
        RecordingMessageBoxes boxes;
        SampleWindow window;
        typeInto(&window, "Edit2", "3");
        QTest::keyClick(control<QWidget>(&window, "Edit2"), Qt::Key_Return);
        QTest::keyClick(control<QWidget>(&window, "Edit2"), Qt::Key_Escape);
        QCOMPARE(textOf(&window, "Edit4"), QString());
        QVERIFY(boxes.boxes.isEmpty());
    }

    // The result's tooltip tells how the shown result was reached, for as long as it is shown.
    void tooltipFollowsTheResult_data() {
        QTest::addColumn<QString>("typed"); // into Edit2 before the second click
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("computed again") << "1,25"
                                        << "Button1"
                                        << "1,25 м2 × 2 (вдвое) = 2,5 м2";
        QTest::newRow("refused") << ""
                                 << "Button1"
                                 << "";
        QTest::newRow("malformed") << ",,"
                                   << "Button1"
                                   << "";
        QTest::newRow("out of range") << "1" + QString(300, '0') << "Button1"
                                      << "";
        QTest::newRow("reset") << "3"
                               << "Button2"
                               << "";
    }
    void tooltipFollowsTheResult() {
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, tooltip);
        RecordingMessageBoxes boxes;
        SampleWindow window;
        typeInto(&window, "Edit2", "12");
        click(&window, "Button1");
        QCOMPARE(control(&window, "Edit4")->toolTip(), QString("12 м2 × 2 (вдвое) = 24 м2"));
        retype(&window, "Edit2", typed);
        click(&window, button);
        QCOMPARE(control(&window, "Edit4")->toolTip(), tooltip);
        QCOMPARE(boxes.boxes.size(), tooltip.isEmpty() && button == "Button1" ? 1 : 0);
    }

    void keysOnTheFocusedControl_data() {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("result");
        const int none = Qt::NoModifier;
        QTest::newRow("Return on Compute") << "Button1" << int(Qt::Key_Return) << none << "6";
        QTest::newRow("keypad Enter on Compute")
            << "Button1" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "6";
        QTest::newRow("Space on Compute") << "Button1" << int(Qt::Key_Space) << none << "6";
        QTest::newRow("Ctrl+Return on Compute")
            << "Button1" << int(Qt::Key_Return) << int(Qt::ControlModifier) << "";
        QTest::newRow("Escape on Compute") << "Button1" << int(Qt::Key_Escape) << none << "";
        QTest::newRow("Return on Reset") << "Button2" << int(Qt::Key_Return) << none << "";
        QTest::newRow("Return in a field") << "Edit2" << int(Qt::Key_Return) << none << "";
        QTest::newRow("keypad Enter in a field")
            << "Edit3" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "";
    }
    void keysOnTheFocusedControl() {
        QFETCH(QString, focused);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, result);
        RecordingMessageBoxes boxes;
        SampleWindow window;
        window.show();
        typeInto(&window, "Edit2", "3");
        QWidget* target = control<QWidget>(&window, focused);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(textOf(&window, "Edit4"), result);
        // Reset leaves Edit3 alone and empties Edit2; a field keeps its text.
        QCOMPARE(textOf(&window, "Edit2"), QString(focused == "Button2" ? "" : "3"));
        QVERIFY(boxes.boxes.isEmpty());
    }

    void framePlacement_data() {
        QTest::addColumn<QPoint>("wanted");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("placed");
        const QRect screen(0, 0, 800, 600);
        QTest::newRow("fits") << QPoint(10, 20) << QSize(300, 200) << screen << QPoint(10, 20);
        QTest::newRow("past the right edge")
            << QPoint(600, 20) << QSize(300, 200) << screen << QPoint(500, 20);
        QTest::newRow("past the bottom edge")
            << QPoint(10, 500) << QSize(300, 200) << screen << QPoint(10, 400);
        QTest::newRow("above and left of the screen")
            << QPoint(-30, -132) << QSize(300, 200) << screen << QPoint(0, 0);
        QTest::newRow("exactly as wide")
            << QPoint(5, 0) << QSize(800, 200) << screen << QPoint(0, 0);
        QTest::newRow("taller than the screen")
            << QPoint(100, -72) << QSize(414, 743) << screen << QPoint(100, 0);
        QTest::newRow("taller and wanted below")
            << QPoint(100, 50) << QSize(414, 743) << screen << QPoint(100, 0);
        QTest::newRow("wider than the screen")
            << QPoint(200, 10) << QSize(900, 200) << screen << QPoint(0, 10);
        QTest::newRow("a panel above and a second screen")
            << QPoint(1900, 0) << QSize(494, 700) << QRect(1280, 30, 1024, 738) << QPoint(1810, 30);
    }
    void framePlacement() {
        QFETCH(QPoint, wanted);
        QFETCH(QSize, frame);
        QFETCH(QRect, available);
        QFETCH(QPoint, placed);
        QCOMPARE(keptInside(wanted, frame, available), placed);
    }

    void centredWhereItFits_data() {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("fits") << QSize(414, 764) << QRect(0, 0, 1280, 1024) << QPoint(433, 130);
        QTest::newRow("too tall: top on screen")
            << QSize(414, 764) << QRect(0, 0, 800, 600) << QPoint(193, 0);
        QTest::newRow("too tall and wide")
            << QSize(414, 764) << QRect(0, 0, 320, 240) << QPoint(0, 0);
        QTest::newRow("below a panel")
            << QSize(414, 764) << QRect(0, 28, 1280, 692) << QPoint(433, 28);
    }
    void centredWhereItFits() {
        QFETCH(QSize, frame);
        QFETCH(QRect, available);
        QFETCH(QPoint, placed);
        QCOMPARE(centredInside(frame, available), placed);
    }

    void resetEmptiesTheListedFieldsOnly() {
        RecordingMessageBoxes boxes;
        SampleWindow window;
        typeInto(&window, "Edit2", "3");
        typeInto(&window, "Edit3", "4");
        typeInto(&window, "Edit4", "5");
        click(&window, "Button2");
        QCOMPARE(textOf(&window, "Edit2"), QString());
        QCOMPARE(textOf(&window, "Edit3"), QString("4"));
        QCOMPARE(textOf(&window, "Edit4"), QString());
        click(&window, "Button2"); // on empty fields: nothing, no box
        QVERIFY(boxes.boxes.isEmpty());
    }
};

VELARO_TEST_MAIN(FrameTest)
#include "test_frame.moc"

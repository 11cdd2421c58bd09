// The stucco-ceiling (TForm10) and stucco-products (TForm15) calculators, driven as a person
// would: typed inputs, ticks, Compute, the refusals in their order and where they leave the
// focus, malformed input, Reset and tab order.

#include "support/testsupport.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

namespace {

// "Edit1=15;Edit2=25;CheckBox1": fields typed, boxes ticked with a click, in the order written.
// "Edit1:=-5" puts text in as a paste would, past the key filter.
void fillIn(QWidget* window, const QString& inputs) {
    for (const QString& entry : inputs.split(';', Qt::SkipEmptyParts)) {
        if (entry.contains(":=")) {
            const QStringList pair = entry.split(":=");
            control<QLineEdit>(window, pair[0])->setText(pair[1]);
        } else if (entry.contains('=')) {
            const QStringList pair = entry.split('=');
            typeInto(window, pair[0], pair[1]);
        } else {
            click(window, entry);
        }
    }
}

const QString kResult = "Edit4";

// What a refusal must leave alone.
QStringList inputsAndTicks(const QWidget* window) {
    QStringList seen;
    for (const char* field : {"Edit1", "Edit2", "Edit3"})
        if (control<QLineEdit>(window, field))
            seen << QString("%1=%2").arg(field, textOf(window, field));
    for (const char* box : {"CheckBox1", "CheckBox2"})
        if (control<QWidget>(window, box))
            seen << QString("%1=%2").arg(box).arg(isTicked(window, box));
    return seen;
}

void addFormColumn() {
    QTest::addColumn<int>("form");
}

} // namespace

class StuccoTest : public QObject {
    Q_OBJECT
  private slots:
    void computesArea_data() {
        addFormColumn();
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("area");
        QTest::newRow("ceiling 15 %") << 10 << "Edit1=15;Edit2=25"
                                      << "37,5";
        QTest::newRow("ceiling 2.04 % in the first band") << 10 << "Edit1=2,04;Edit2=12,5"
                                                          << "12,5";
        QTest::newRow("ceiling 2.05 % in the second band") << 10 << "Edit1=2.05;Edit2=12,5"
                                                           << "13,75";
        QTest::newRow("ceiling 10.05 %") << 10 << "Edit1=10,05;Edit2=10"
                                         << "15";
        QTest::newRow("ceiling 40.05 %") << 10 << "Edit1=40,05;Edit2=10"
                                         << "21";
        QTest::newRow("ceiling 70 %") << 10 << "Edit1=70;Edit2=10"
                                      << "21";
        QTest::newRow("ceiling 70.05 %") << 10 << "Edit1=70,05;Edit2=10"
                                         << "28";
        QTest::newRow("ceiling exactly 100 %") << 10 << "Edit1=100;Edit2=10"
                                               << "28";
        QTest::newRow("ceiling negative share") << 10 << "Edit1:=-5;Edit2=10"
                                                << "10";
        QTest::newRow("ceiling 5 %") << 10 << "Edit1=5;Edit2=17,3"
                                     << "19,03";
        QTest::newRow("ceiling 50 %") << 10 << "Edit1=50;Edit2=3,33"
                                      << "6,99";
        // Near a half: a double coefficient gives the other neighbour.
        QTest::newRow("ceiling 1.1 near a half") << 10 << "Edit1=5;Edit2=0,45"
                                                 << "0,49";
        QTest::newRow("ceiling 2.1 near a half") << 10 << "Edit1=50;Edit2=0,45"
                                                 << "0,94";

        QTest::newRow("sparse, low relief") << 15 << "Edit2=2;Edit3=25;CheckBox1"
                                            << "3";
        QTest::newRow("sparse, relief exactly 30") << 15 << "Edit2=2;Edit3=30;CheckBox1"
                                                   << "3";
        QTest::newRow("sparse, relief 30.01") << 15 << "Edit2=2;Edit3=30,01;CheckBox1"
                                              << "6";
        QTest::newRow("dense, relief exactly 30") << 15 << "Edit2=1,25;Edit3=30;CheckBox2"
                                                  << "3,75";
        QTest::newRow("dense, high relief") << 15 << "Edit2=1,25;Edit3=40;CheckBox2"
                                            << "6,25";
        QTest::newRow("dense, 0.999 rounds up") << 15 << "Edit2=0,333;Edit3=10;CheckBox2"
                                                << "1";
        QTest::newRow("sparse, 0.4995 rounds up") << 15 << "Edit2=0,333;Edit3=10;CheckBox1"
                                                  << "0,5";
        QTest::newRow("dense, 45 mm") << 15 << "Edit2=3,14;Edit3=45;CheckBox2"
                                      << "15,7";
    }
    void computesArea() {
        QFETCH(int, form);
        QFETCH(QString, inputs);
        QFETCH(QString, area);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), kResult, "99"); // overwritten by Compute
        fillIn(window.get(), inputs);
        click(window.get(), "Button1");
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.boxes.value(0).text));
        QCOMPARE(textOf(window.get(), kResult), area);
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
    }

    void refuses_data() {
        addFormColumn();
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus"); // Button1: the focus stays on the clicked button
        const QString noProjection = "Введите площадь горизонтальной проекции лепных потолков !";
        const QString noShare =
            "Введите площадь горизонтальной проекции лепных изделий в % от площади потолков !";
        QTest::newRow("ceiling: both empty") << 10 << "" << noProjection << "Edit2";
        QTest::newRow("ceiling: projection empty") << 10 << "Edit1=15" << noProjection << "Edit2";
        QTest::newRow("ceiling: projection empty before malformed share")
            << 10 << "Edit1=1,,5" << noProjection << "Edit2";
        QTest::newRow("ceiling: share empty") << 10 << "Edit2=10" << noShare << "Edit1";
        QTest::newRow("ceiling: share empty before malformed projection")
            << 10 << "Edit2=1,,0" << noShare << "Edit1";
        QTest::newRow("ceiling: 100.01 %") << 10 << "Edit1=100,01;Edit2=10"
                                           << "Не более 100%"
                                           << "Edit4";

        const QString noBase = "Введите площадь основания лепных изделий !";
        const QString noRelief = "Введите высоту рельефа лепных изделий в мм !";
        const QString oneTick = "Оставьте только одну галочку !";
        const QString noTick = "Поставьте галочку !";
        QTest::newRow("products: both empty") << 15 << "" << noBase << "Edit2";
        QTest::newRow("products: base empty, ticks wrong")
            << 15 << "Edit3=10;CheckBox1;CheckBox2" << noBase << "Edit2";
        QTest::newRow("products: relief empty") << 15 << "Edit2=1;CheckBox1" << noRelief << "Edit3";
        QTest::newRow("products: both ticked")
            << 15 << "Edit2=1;Edit3=10;CheckBox1;CheckBox2" << oneTick << "Button1";
        QTest::newRow("products: both ticked before malformed base")
            << 15 << "Edit2=1,,0;Edit3=10;CheckBox1;CheckBox2" << oneTick << "Button1";
        QTest::newRow("products: no tick") << 15 << "Edit2=1;Edit3=10" << noTick << "Button1";
        QTest::newRow("products: no tick before malformed relief")
            << 15 << "Edit2=1;Edit3=1,,0" << noTick << "Button1";
    }
    void refuses() {
        QFETCH(int, form);
        QFETCH(QString, inputs);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        RecordingMessageBoxes boxes;
        auto window = showCalculator(form);
        typeInto(window.get(), kResult, "7");
        fillIn(window.get(), inputs);
        const QStringList before = inputsAndTicks(window.get());
        QString focusWhileOpen;
        QString resultWhileOpen;
        boxes.whileOpen = [&](const RecordingMessageBoxes::Box&) {
            focusWhileOpen = focusName(window.get());
            resultWhileOpen = textOf(window.get(), kResult);
        };
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Message), message);
        QCOMPARE(focusWhileOpen, focus);
        QCOMPARE(resultWhileOpen, QString("7")); // emptied once the box is closed
        QCOMPARE(focusName(window.get()), focus);
        QCOMPARE(textOf(window.get(), kResult), QString());
        QCOMPARE(inputsAndTicks(window.get()), before);
    }

    void malformedNumberIsNamedAndResultKept_data() {
        addFormColumn();
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("named");
        QTest::newRow("ceiling: share read first") << 10 << "Edit1=1,,5;Edit2=2,,5"
                                                   << "1,,5";
        QTest::newRow("ceiling: projection") << 10 << "Edit1=15;Edit2=2,,5"
                                             << "2,,5";
        // Both are read before the share is held against 100 %.
        QTest::newRow("ceiling: projection before the 100 % check") << 10 << "Edit1=150;Edit2=2,,5"
                                                                    << "2,,5";
        QTest::newRow("products: base read first") << 15 << "Edit2=1,,0;Edit3=3,,0;CheckBox1"
                                                   << "1,,0";
        QTest::newRow("products: relief") << 15 << "Edit2=1;Edit3=3,,0;CheckBox2"
                                          << "3,,0";
        QTest::newRow("products: pasted letters") << 15 << "Edit2:=abc;Edit3=3;CheckBox2"
                                                  << "abc";
    }
    void malformedNumberIsNamedAndResultKept() {
        QFETCH(int, form);
        QFETCH(QString, inputs);
        QFETCH(QString, named);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), kResult, "7");
        fillIn(window.get(), inputs);
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error),
                 QString("'%1' is not a valid floating point value.").arg(named));
        QCOMPARE(textOf(window.get(), kResult), QString("7"));
    }

    void resetEmptiesFieldsAndUnticks_data() {
        addFormColumn();
        QTest::addColumn<QString>("inputs");
        QTest::newRow("ceiling") << 10 << "Edit1=15;Edit2=25;Edit4=37,5";
        QTest::newRow("products") << 15 << "Edit2=1;Edit3=10;Edit4=3;CheckBox1;CheckBox2";
    }
    void resetEmptiesFieldsAndUnticks() {
        QFETCH(int, form);
        QFETCH(QString, inputs);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        fillIn(window.get(), inputs);
        click(window.get(), "Button2");
        for (const QLineEdit* field : window->findChildren<QLineEdit*>())
            QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        QVERIFY(!isTicked(window.get(), "CheckBox1"));
        QVERIFY(!isTicked(window.get(), "CheckBox2"));
        QVERIFY(boxes.boxes.isEmpty());
    }

    void tabOrder_data() {
        addFormColumn();
        QTest::addColumn<QStringList>("order");
        QTest::newRow("ceiling") << 10
                                 << QStringList{"Edit1", "Edit2", "Button1", "Button2", "Edit4"};
        QTest::newRow("products") << 15 << QStringList{"Edit2",     "Button1", "Button2",  "Edit4",
                                                       "CheckBox1", "Edit3",   "CheckBox2"};
    }
    void tabOrder() {
        QFETCH(int, form);
        QFETCH(QStringList, order);
        auto window = showCalculator(form);
        // Once round, back to the start.
        QCOMPARE(tabWalk(window.get(), order.size() + 1), order + QStringList{order.first()});
    }
};

VELARO_TEST_MAIN(StuccoTest)
#include "test_stucco.moc"

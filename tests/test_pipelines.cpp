// The steel (TForm3) and cast-iron (TForm4) pipeline calculators, driven as a person would:
// lengths typed per diameter, Compute, Reset, malformed input, tab order.

#include "support/testsupport.h"

#include <QTest>

#include <memory>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

namespace {

// Length fields in row order (smallest diameter first).
QStringList lengthFields(int form) {
    if (form == 3)
        return {"Edit3", "Edit2", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10"};
    return {"Edit3", "Edit2", "Edit4", "Edit5", "Edit6"};
}

// "Edit3=10;Edit10=5": typed field by field, in the order written.
void typeLengths(QWidget* window, const QString& lengths) {
    for (const QString& entry : lengths.split(';', Qt::SkipEmptyParts)) {
        const QStringList pair = entry.split('=');
        typeInto(window, pair[0], pair[1]);
    }
}

} // namespace

class PipelinesTest : public QObject {
    Q_OBJECT
  private slots:
    void computesTotal_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("lengths");
        QTest::addColumn<QString>("total");
        QTest::newRow("steel 15 and 100 mm") << 3 << "Edit3=10;Edit10=5"
                                             << "3,4";
        QTest::newRow("steel 1 m of each")
            << 3 << "Edit3=1;Edit2=1;Edit4=1;Edit5=1;Edit6=1;Edit7=1;Edit8=1;Edit9=1;Edit10=1"
            << "2,18";
        QTest::newRow("steel half a metre rounds down") << 3 << "Edit3=0.5"
                                                        << "0,05";
        QTest::newRow("steel metre and a half rounds up") << 3 << "Edit3=1,5"
                                                          << "0,17";
        // Near a half: a double coefficient gives the other neighbour.
        QTest::newRow("steel 15 mm near a half") << 3 << "Edit3=28,5"
                                                 << "3,13";
        QTest::newRow("steel 40 mm near a half") << 3 << "Edit6=9,5"
                                                 << "2";
        // 0,055 + 0,08: rounding the terms first would show 0,13.
        QTest::newRow("steel total of unrounded terms") << 3 << "Edit3=0,5;Edit4=0,5"
                                                        << "0,14";
        QTest::newRow("steel all empty") << 3 << ""
                                         << "0";
        QTest::newRow("cast iron 50 and 150 mm") << 4 << "Edit3=12,5;Edit6=3"
                                                 << "5,66";
        QTest::newRow("cast iron 1 m of each") << 4 << "Edit3=1;Edit2=1;Edit4=1;Edit5=1;Edit6=1"
                                               << "2,44";
        QTest::newRow("cast iron 75 mm near a half") << 4 << "Edit2=1,5"
                                                     << "0,56";
        QTest::newRow("cast iron 125 mm near a half") << 4 << "Edit5=2,5"
                                                      << "1,48";
        QTest::newRow("cast iron all empty") << 4 << ""
                                             << "0";
    }
    void computesTotal() {
        QFETCH(int, form);
        QFETCH(QString, lengths);
        QFETCH(QString, total);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), "Edit1", "99"); // overwritten by Compute
        typeLengths(window.get(), lengths);
        click(window.get(), "Button1");
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.onlyText(Kind::Error)));
        QCOMPARE(textOf(window.get(), "Edit1"), total);
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
    }

    void malformedLengthIsNamedAndTotalKept_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("lengths");
        QTest::addColumn<QString>("named");
        QTest::newRow("steel last row") << 3 << "Edit3=1;Edit10=1,,5"
                                        << "1,,5";
        // Row order, not field number: Edit3 (15 mm) stands above Edit2 (20 mm).
        QTest::newRow("steel first row before Edit2") << 3 << "Edit2=2,,0;Edit3=3,,0"
                                                      << "3,,0";
        QTest::newRow("steel 20 mm before 25 mm") << 3 << "Edit4=4,,0;Edit2=2,,0"
                                                  << "2,,0";
        QTest::newRow("cast iron first row before Edit2") << 4 << "Edit2=2,,0;Edit3=3,,0"
                                                          << "3,,0";
        QTest::newRow("cast iron last row") << 4 << "Edit6=,,"
                                            << ",,";
    }
    void malformedLengthIsNamedAndTotalKept() {
        QFETCH(int, form);
        QFETCH(QString, lengths);
        QFETCH(QString, named);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), "Edit1", "9,5");
        typeLengths(window.get(), lengths);
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error),
                 QString("'%1' is not a valid floating point value.").arg(named));
        QCOMPARE(textOf(window.get(), "Edit1"), QString("9,5"));
    }

    void resetEmptiesEveryField_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("fields");
        QTest::newRow("steel") << 3 << 10;
        QTest::newRow("cast iron") << 4 << 6;
    }
    void resetEmptiesEveryField() {
        QFETCH(int, form);
        QFETCH(int, fields);
        auto window = createCalculator(form);
        for (int i = 1; i <= fields; ++i)
            typeInto(window.get(), QString("Edit%1").arg(i), "5");
        click(window.get(), "Button2");
        for (int i = 1; i <= fields; ++i)
            QCOMPARE(textOf(window.get(), QString("Edit%1").arg(i)), QString());
    }

    void tabOrderStartsAtTotal_data() {
        QTest::addColumn<int>("form");
        QTest::newRow("steel") << 3;
        QTest::newRow("cast iron") << 4;
    }
    void tabOrderStartsAtTotal() {
        QFETCH(int, form);
        auto window = createCalculator(form);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QStringList expected =
            QStringList{"Edit1", "Button1", "Button2"} + lengthFields(form);
        // Once round, back to the start.
        QCOMPARE(tabWalk(window.get(), expected.size() + 1), expected + QStringList{"Edit1"});
    }
};

VELARO_TEST_MAIN(PipelinesTest)
#include "test_pipelines.moc"

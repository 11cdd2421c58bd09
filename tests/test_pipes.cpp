// The pipes calculator driven as a person would: typed runs, Compute, Reset, malformed input.

#include "support/testsupport.h"

#include <QLineEdit>
#include <QTest>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

namespace {

// Field names by row: diameter, length, area.
const QStringList kDiameters{"Edit3", "Edit4", "Edit5",  "Edit6", "Edit7",
                             "Edit8", "Edit9", "Edit16", "Edit25"};
const QStringList kLengths{"Edit1",  "Edit2",  "Edit12", "Edit13", "Edit14",
                           "Edit15", "Edit10", "Edit17", "Edit26"};
const QStringList kAreas{"Edit19", "Edit20", "Edit21", "Edit22", "Edit23",
                         "Edit24", "Edit11", "Edit18", "Edit27"};

// "57x10;108x2,5" → rows 1, 2 …; an empty side is written as nothing ("57x").
void typeRuns(QWidget* window, const QString& runs, int firstRow = 0) {
    int row = firstRow;
    for (const QString& run : runs.split(';', Qt::SkipEmptyParts)) {
        const QStringList sides = run.split('x');
        typeInto(window, kDiameters[row], sides.value(0));
        typeInto(window, kLengths[row], sides.value(1));
        ++row;
    }
}

} // namespace

class PipesTest : public QObject {
    Q_OBJECT
  private slots:
    void computes_data() {
        QTest::addColumn<QString>("runs");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<QString>("areas"); // shown areas of the rows from firstRow on
        QTest::addColumn<QString>("total");
        QTest::newRow("one run") << "57x10" << 0 << "1,791"
                                 << "1,79";
        QTest::newRow("two runs") << "57x10;108x2,5" << 0 << "1,791;0,848"
                                  << "2,64";
        QTest::newRow("three runs") << "159x12,5;76x4;32x100" << 0 << "6,244;0,955;10,053"
                                    << "17,25";
        QTest::newRow("total of unrounded runs") << "57x10;57x10;57x10" << 0 << "1,791;1,791;1,791"
                                                 << "5,37";
        QTest::newRow("small run") << "20x1" << 0 << "0,063"
                                   << "0,06";
        QTest::newRow("last row alone") << "57x10" << 8 << "1,791"
                                        << "1,79";
        QTest::newRow("empty length") << "57x" << 0 << "0"
                                      << "0";
        QTest::newRow("empty diameter beside malformed length") << "x1,2,3" << 0 << "0"
                                                                << "0";
        QTest::newRow("point typed as comma") << "57x10.0" << 0 << "1,791"
                                              << "1,79";
        QTest::newRow("lone separator reads 0") << ",x10" << 0 << "0"
                                                << "0";
    }
    void computes() {
        QFETCH(QString, runs);
        QFETCH(int, firstRow);
        QFETCH(QString, areas);
        QFETCH(QString, total);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(2);
        typeRuns(window.get(), runs, firstRow);
        click(window.get(), "Button1");
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.onlyText(Kind::Error)));
        const QStringList shown = areas.split(';');
        for (int row = 0; row < 9; ++row) {
            const int i = row - firstRow;
            const QString expected = (i >= 0 && i < shown.size()) ? shown[i] : "0";
            QCOMPARE(textOf(window.get(), kAreas[row]), expected);
        }
        QCOMPARE(textOf(window.get(), "Edit28"), total);
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
    }

    void emptyWindowShowsZeros() {
        auto window = createCalculator(2);
        click(window.get(), "Button1");
        for (const QString& area : kAreas)
            QCOMPARE(textOf(window.get(), area), QString("0"));
        QCOMPARE(textOf(window.get(), "Edit28"), QString("0"));
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
    }

    void malformedFieldIsNamedAndNothingWritten_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("named");
        QTest::newRow("length in row 1") << 0 << "57"
                                         << "1,2,3"
                                         << "1,2,3";
        QTest::newRow("both in row 1: the length") << 0 << ",,"
                                                   << "1,,2"
                                                   << "1,,2";
        QTest::newRow("both in row 8: the length") << 7 << ",,"
                                                   << "1,,2"
                                                   << "1,,2";
        QTest::newRow("both in row 9: the diameter") << 8 << ",,"
                                                     << "1,,2"
                                                     << ",,";
        QTest::newRow("diameter in row 9") << 8 << "5,,7"
                                           << "10"
                                           << "5,,7";
    }
    void malformedFieldIsNamedAndNothingWritten() {
        QFETCH(int, row);
        QFETCH(QString, diameter);
        QFETCH(QString, length);
        QFETCH(QString, named);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(2);
        typeInto(window.get(), "Edit11", "old"); // result fields keep what they held
        typeInto(window.get(), "Edit28", "9");
        typeRuns(window.get(), "57x10;;;;;;;", 0);
        retype(window.get(), kDiameters[row], diameter);
        retype(window.get(), kLengths[row], length);
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error),
                 QString("'%1' is not a valid floating point value.").arg(named));
        QCOMPARE(textOf(window.get(), "Edit19"), QString());
        QCOMPARE(textOf(window.get(), "Edit28"), QString("9"));
    }

    void firstMalformedRowIsReported() {
        RecordingMessageBoxes boxes;
        auto window = createCalculator(2);
        typeRuns(window.get(), "57x10;57x1,,0;57x2,,0");
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error),
                 QString("'1,,0' is not a valid floating point value."));
    }

    void pastedTextIsReadByTheSameGrammar_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("error"); // empty: computes
        QTest::newRow("blanks around") << "  10  "
                                       << "";
        QTest::newRow("letters") << "abc"
                                 << "'abc' is not a valid floating point value.";
        QTest::newRow("inf") << "inf"
                             << "'inf' is not a valid floating point value.";
        QTest::newRow("nan") << "nan"
                             << "'nan' is not a valid floating point value.";
        const QString longPaste(100000, '7');
        QTest::newRow("100 000 digits overflow")
            << longPaste << "'" + longPaste + "' is not a valid floating point value.";
        QTest::newRow("hex") << "0x10"
                             << "'0x10' is not a valid floating point value.";
        QTest::newRow("tab") << "\t10"
                             << "'\t10' is not a valid floating point value.";
        QTest::newRow("beyond extended range") << "1e5000"
                                               << "'1e5000' is not a valid floating point value.";
        QTest::newRow("cyrillic") << "десять"
                                  << "'десять' is not a valid floating point value.";
        const QString withNul = QStringLiteral("12.") + QChar(0) + QStringLiteral("5");
        QTest::newRow("NUL inside, named whole")
            << withNul << "'" + withNul + "' is not a valid floating point value.";
    }
    void pastedTextIsReadByTheSameGrammar() {
        QFETCH(QString, pasted);
        QFETCH(QString, error);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(2);
        typeInto(window.get(), "Edit3", "57");
        control<QLineEdit>(window.get(), "Edit1")->setText(pasted); // as a paste: not filtered
        click(window.get(), "Button1");
        if (error.isEmpty()) {
            QVERIFY(boxes.boxes.isEmpty());
            QCOMPARE(textOf(window.get(), "Edit19"), QString("1,791"));
        } else {
            QCOMPARE(boxes.onlyText(Kind::Error), error);
        }
    }

    void hugeResultIsTheRangeError() {
        RecordingMessageBoxes boxes;
        auto window = createCalculator(2);
        control<QLineEdit>(window.get(), "Edit3")->setText("1e20");
        typeInto(window.get(), "Edit1", "1");
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error), QString("Invalid floating point operation."));
        QCOMPARE(textOf(window.get(), "Edit19"), QString());
    }

    void resetEmptiesAllFields() {
        auto window = createCalculator(2);
        for (int i = 1; i <= 28; ++i)
            typeInto(window.get(), QString("Edit%1").arg(i), "5");
        click(window.get(), "Button2");
        for (int i = 1; i <= 28; ++i)
            QCOMPARE(textOf(window.get(), QString("Edit%1").arg(i)), QString());
    }

    void tabOrderStartsAtCompute() {
        auto window = showCalculator(2);
        const QStringList expected{"Button1", "Button2", "Edit3",  "Edit4",  "Edit5",  "Edit6",
                                   "Edit7",   "Edit8",   "Edit1",  "Edit2",  "Edit12", "Edit13",
                                   "Edit14",  "Edit15",  "Edit19", "Edit20", "Edit21", "Edit22",
                                   "Edit23",  "Edit24",  "Edit28", "Edit9",  "Edit10", "Edit11",
                                   "Edit16",  "Edit17",  "Edit18", "Edit25", "Edit26", "Edit27"};
        QCOMPARE(tabWalk(window.get(), expected.size()), expected);
    }
};

VELARO_TEST_MAIN(PipesTest)
#include "test_pipes.moc"

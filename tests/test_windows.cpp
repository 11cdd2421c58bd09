// The three window-opening calculators driven as a person would: typed area and sash count,
// ticked conditions, Compute, the refusals in their order, Reset, tab order and layout.

#include "core/numericedit.h"
#include "core/picturearea.h"
#include "support/layoutcheck.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

namespace {

// "1,4" ticks CheckBox1 and CheckBox4.
void tick(QWidget* window, const QString& boxes) {
    for (const QString& box : boxes.split(',', Qt::SkipEmptyParts))
        click(window, "CheckBox" + box);
}

void fill(QWidget* window, const QString& area, const QString& sashes, const QString& boxes) {
    typeInto(window, "Edit2", area);
    typeInto(window, "Edit3", sashes);
    tick(window, boxes);
}

QStringList tickedBoxes(const QWidget* window) {
    QStringList ticked;
    for (const QCheckBox* box : window->findChildren<QCheckBox*>())
        if (box->isChecked())
            ticked << box->objectName();
    ticked.sort();
    return ticked;
}

const QString kArea = "Введите площадь оконных проемов !";
const QString kSashes = "Введите количество переплетов !";
const QString kOneOrTwo = "Введите количество переплетов 1 или 2!";
const QString kOnlyOne = "Оставьте только одну галочку !";
const QString kNoTick = "Поставьте галочку !";
const QString kTripleNeedsTwo = "При тройном остеклении количество переплетов должно быть 2!";
const QString kWrongTicks = "Галочки расставлены неверно!";

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT
  private slots:
    // Every cell of each coefficient table. Where a cell allows it the area is one at which a
    // `double` coefficient would show another result (noted «double: …»).
    void computes_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("sashes");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("shown");
        const auto row = [](int form, const char* area, const char* sashes, const char* boxes,
                            const char* shown) {
            QTest::addRow("TForm%d %s×%s [%s]", form, area, sashes, boxes)
                << form << area << sashes << boxes << shown;
        };
        // Separate sashes.
        row(20, "10", "1", "1", "15");
        row(20, "10", "2", "1", "28");
        row(20, "10", "1", "1,4", "4,5");
        row(20, "0,5", "1", "1,4", "0,23");   // double: 0,22
        row(20, "0,625", "2", "1,4", "0,53"); // double: 0,52
        row(20, "7,3", "1", "2", "8,76");
        row(20, "7,3", "1", "2,4", "8,76");
        row(20, "10", "2", "2", "25");
        row(20, "10", "2", "2,4", "25");
        row(20, "0,025", "1", "3", "0,05"); // double: 0,06
        row(20, "10", "1", "3,4", "13,2");
        row(20, "0,625", "1", "3,4", "0,82"); // double: 0,83
        row(20, "10", "2", "3", "35");
        row(20, "12,5", "2", "3,4", "21,87"); // 21.875 lies just below the half once scaled
        row(20, "0", "2", "3,4", "0");
        row(20, "10.5", "1", "1", "15,75"); // the point is typed as a comma
        // Paired sashes.
        row(21, "10", "1", "1", "10");
        row(21, "10", "1", "1,4", "10");
        row(21, "10", "2", "1", "25");
        row(21, "0,3", "2", "1,4", "0,23"); // double: 0,22
        row(21, "10", "2", "1,5", "37,5");
        row(21, "10", "2", "1,5,4", "11,25");
        row(21, "0,2", "2", "1,5,4", "0,23"); // double: 0,22
        row(21, "3", "1", "2", "3");
        row(21, "3", "1", "2,4", "3");
        row(21, "0,025", "2", "2", "0,05"); // double: 0,06
        row(21, "0,025", "2", "2,4", "0,05");
        row(21, "4", "2", "2,6", "13,2");
        row(21, "4", "2", "2,6,4", "13,2");
        row(21, "10", "1", "3", "16");
        row(21, "10", "1", "3,4", "11,2");
        row(21, "10", "2", "3", "10");
        row(21, "10", "2", "3,4", "10");
        row(21, "10", "1", "7", "17,5");
        row(21, "10", "1", "7,4", "7,87"); // 7.875 lies just below the half
        row(21, "6", "1", "7,4", "4,72");  // double: 4,73
        row(21, "10", "2", "7", "35");
        row(21, "0,3", "2", "7,4", "0,94"); // double: 0,95
        // Industrial buildings.
        row(22, "10", "1", "1", "21");
        row(22, "0,05", "1", "1", "0,1"); // double: 0,11
        row(22, "10", "2", "1", "32");
        row(22, "12,5", "1", "1,4", "7,87");  // 7.875 lies just below the half
        row(22, "20,5", "1", "1,4", "12,91"); // double: 12,92
        row(22, "2", "1", "1,4", "1,26");
        row(22, "10", "2", "1,4", "9,6");
        row(22, "2,5", "1", "2", "4,25");    // the size class is what is ticked
        row(22, "0,05", "1", "2", "0,09");   // double: 0,08
        row(22, "0,275", "2", "2", "0,71");  // double: 0,72
        row(22, "3,75", "1", "2,4", "1,27"); // double: 1,28
        row(22, "10", "2", "2,4", "5,2");
        row(22, "1,125", "2", "2,4", "0,58"); // double: 0,59
    }
    void computes() {
        QFETCH(int, form);
        QFETCH(QString, area);
        QFETCH(QString, sashes);
        QFETCH(QString, boxes);
        QFETCH(QString, shown);
        RecordingMessageBoxes rec;
        auto window = createCalculator(form);
        fill(window.get(), area, sashes, boxes);
        click(window.get(), "Button1");
        QVERIFY2(rec.boxes.isEmpty(), qPrintable(rec.boxes.value(0).text));
        QCOMPARE(textOf(window.get(), "Edit4"), shown);
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
    }

    // The result's trail names the ticked boxes in brackets after the factors they chose, in the
    // order the arithmetic applies them, with the sash count beside the condition's factor.
    // In `trail`, %1, %2… stand for the on-screen names of the boxes in the order ticked.
    void trailNamesTheTickedConditions_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("sashes");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("trail");
        QTest::newRow("paired, triple glazing, oiled")
            << 21 << "2"
            << "1,5,4"
            << "10 × 2,5 (%1, 2 переплета) × 1,5 (%2) × 0,3 (%3) = 11,25 м2";
        QTest::newRow("second characteristic, triple glazing: oiled parts not charged")
            << 21 << "2"
            << "2,6,4"
            << "10 × 2,2 (%1, 2 переплета) × 1,5 (%2) = 33 м2";
        QTest::newRow("industrial, one sash") << 22 << "1"
                                              << "2"
                                              << "10 × 1,7 (%1, 1 переплет) = 17 м2";
        QTest::newRow("separate sashes, oiled factor of 1")
            << 20 << "2"
            << "2,4"
            << "10 × 2,5 (%1, 2 переплета) × 1 (%2) = 25 м2";
    }
    void trailNamesTheTickedConditions() {
        QFETCH(int, form);
        QFETCH(QString, sashes);
        QFETCH(QString, boxes);
        QFETCH(QString, trail);
        RecordingMessageBoxes rec;
        auto window = createCalculator(form);
        fill(window.get(), "10", sashes, boxes);
        click(window.get(), "Button1");
        const QStringList ticked = boxes.split(',');
        for (int i = 0; i < ticked.size(); ++i) {
            QString name = control(window.get(), "CheckBox" + ticked[i])->accessibleName();
            while (name.endsWith(':') || name.endsWith(' '))
                name.chop(1);
            trail.replace(QStringLiteral("%%1").arg(i + 1), name);
        }
        const QString unit = control<NumericEdit>(window.get(), "Edit2")->unit();
        if (!unit.isEmpty())
            trail.replace(0, 2, "10 " + unit);
        QCOMPARE(control(window.get(), "Edit4")->toolTip(), trail);
    }

    // Each refusal: the first that applies, its message, where the focus is while the box is
    // open, and only the result emptied, after the box.
    void refuses_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("sashes");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus"); // Button1: the focus stays on the clicked button
        const auto row = [](const char* name, int form, const char* area, const char* sashes,
                            const char* boxes, const QString& message, const char* focus) {
            QTest::addRow("TForm%d %s", form, name)
                << form << area << sashes << boxes << message << focus;
        };
        for (int form : {20, 21, 22}) {
            row("no area, bad sashes", form, "", "5", "1,2", kArea, "Edit2");
            row("no sashes", form, "10", "", "1", kSashes, "Edit3");
            row("sashes 3", form, "10", "3", "1", kOneOrTwo, "Edit3");
            row("sashes 0", form, "10", "0", "1", kOneOrTwo, "Edit3");
            row("sashes 1,0", form, "10", "1,0", "1", kOneOrTwo, "Edit3");
            row("sashes 01", form, "10", "01", "1", kOneOrTwo, "Edit3");
            row("sashes 2,", form, "10", "2.", "1", kOneOrTwo, "Edit3");
            row("bad sashes before ticks", form, "1,2,3", "02", "1,2", kOneOrTwo, "Edit3");
            row("two conditions", form, "10", "1", "1,2", kOnlyOne, "Button1");
            row("two conditions, malformed area", form, "1,2,3", "1", "1,2", kOnlyOne, "Button1");
            row("oiled only", form, "10", "1", "4", kNoTick, "Button1");
            row("nothing ticked, malformed area", form, ",,", "1", "", kNoTick, "Button1");
        }
        row("all three conditions", 20, "10", "2", "1,2,3,4", kOnlyOne, "Button1");
        row("triple glazing, one sash", 21, "10", "1", "1,5", kTripleNeedsTwo, "Button1");
        row("triple glazing, one sash, before two ticks", 21, "10", "1", "1,5,2,6,3",
            kTripleNeedsTwo, "Button1");
        row("second triple glazing, one sash", 21, "10", "1", "2,6", kTripleNeedsTwo, "Button1");
        row("both glazings", 21, "10", "2", "1,5,6", kOnlyOne, "Button1");
        row("transom and shop window", 21, "10", "2", "3,7", kOnlyOne, "Button1");
        row("glazing alone", 21, "10", "2", "5", kNoTick, "Button1");
        row("glazing of the first on the second", 21, "10", "2", "2,5", kWrongTicks, "Button1");
        row("glazing of the first on transoms", 21, "10", "2", "3,5", kWrongTicks, "Button1");
        row("glazing of the second on the shop window", 21, "10", "1", "7,6", kWrongTicks,
            "Button1");
        row("wrong glazing, malformed area", 21, "1,,", "2", "1,6", kWrongTicks, "Button1");
    }
    void refuses() {
        QFETCH(int, form);
        QFETCH(QString, area);
        QFETCH(QString, sashes);
        QFETCH(QString, boxes);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        RecordingMessageBoxes rec;
        auto window = createCalculator(form);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        typeInto(window.get(), "Edit4", "99");
        fill(window.get(), area, sashes, boxes);
        const QStringList ticked = tickedBoxes(window.get());
        QString focusWhileOpen, resultWhileOpen;
        rec.whileOpen = [&](const RecordingMessageBoxes::Box&) {
            focusWhileOpen = focusName(window.get());
            resultWhileOpen = textOf(window.get(), "Edit4");
        };
        click(window.get(), "Button1");
        QCOMPARE(rec.onlyText(Kind::Message), message);
        QCOMPARE(focusWhileOpen, focus);
        QCOMPARE(resultWhileOpen, QString("99"));
        QCOMPARE(focusName(window.get()), focus);
        QCOMPARE(textOf(window.get(), "Edit4"), QString());
        QCOMPARE(textOf(window.get(), "Edit2"), area.replace('.', ','));
        QCOMPARE(textOf(window.get(), "Edit3"), sashes.replace('.', ','));
        QCOMPARE(tickedBoxes(window.get()), ticked);
    }

    // A malformed area passes every check and is reported when read; the result keeps its text.
    void malformedAreaIsReported_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("boxes");
        QTest::newRow("TForm20") << 20 << "3";
        QTest::newRow("TForm21") << 21 << "1,5";
        QTest::newRow("TForm22") << 22 << "2,4";
    }
    void malformedAreaIsReported() {
        QFETCH(int, form);
        QFETCH(QString, boxes);
        RecordingMessageBoxes rec;
        auto window = createCalculator(form);
        typeInto(window.get(), "Edit4", "99");
        fill(window.get(), "1,2,3", "2", boxes);
        click(window.get(), "Button1");
        QCOMPARE(rec.onlyText(Kind::Error),
                 QString("'1,2,3' is not a valid floating point value."));
        QCOMPARE(textOf(window.get(), "Edit4"), QString("99"));
    }

    void resetEmptiesFieldsAndUnticks_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("boxes");
        QTest::newRow("TForm20") << 20 << "1,2,3,4";
        QTest::newRow("TForm21") << 21 << "1,2,3,4,5,6,7";
        QTest::newRow("TForm22") << 22 << "1,2,4";
    }
    void resetEmptiesFieldsAndUnticks() {
        QFETCH(int, form);
        QFETCH(QString, boxes);
        RecordingMessageBoxes rec;
        auto window = createCalculator(form);
        fill(window.get(), "10", "2", boxes);
        typeInto(window.get(), "Edit4", "28");
        QCOMPARE(tickedBoxes(window.get()).size(), boxes.split(',').size());
        click(window.get(), "Button2");
        for (const char* field : {"Edit2", "Edit3", "Edit4"})
            QCOMPARE(textOf(window.get(), field), QString());
        QCOMPARE(tickedBoxes(window.get()), QStringList());
        QVERIFY(rec.boxes.isEmpty());
    }

    void tabOrder_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QStringList>("order");
        const QStringList head{"Edit2",     "Button1", "Button2",  "Edit4",
                               "CheckBox1", "Edit3",   "CheckBox2"};
        QTest::newRow("TForm20") << 20 << head + QStringList{"CheckBox3", "CheckBox4"};
        QTest::newRow("TForm21") << 21
                                 << head + QStringList{"CheckBox3", "CheckBox4", "CheckBox5",
                                                       "CheckBox6", "CheckBox7"};
        QTest::newRow("TForm22") << 22 << head + QStringList{"CheckBox4"};
    }
    void tabOrder() {
        QFETCH(int, form);
        QFETCH(QStringList, order);
        auto window = createCalculator(form);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(tabWalk(window.get(), order.size() + 1), order + QStringList{order.front()});
    }

    // Captionless boxes are told apart by their accessible names; no text is cut off or
    // covered, and the picture area has its size at the top right.
    void layout_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QSize>("picture");
        QTest::newRow("TForm20") << 20 << QSize(41, 113);
        QTest::newRow("TForm21") << 21 << QSize(73, 153);
        QTest::newRow("TForm22") << 22 << QSize(73, 153);
    }
    void layout() {
        QFETCH(int, form);
        QFETCH(QSize, picture);
        auto window = createCalculator(form);
        QWidget* client = window->client();

        const auto* image = control<PictureArea>(window.get(), "Image1");
        QVERIFY(image);
        QCOMPARE(image->size(), picture);
        QVERIFY(image->geometry().right() < client->width() &&
                image->geometry().left() > client->width() / 2 && image->y() < 20);

        QStringList names;
        for (const QCheckBox* box : client->findChildren<QCheckBox*>()) {
            QVERIFY(box->text().isEmpty());
            QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
            QVERIFY2(!names.contains(box->accessibleName()), qPrintable(box->accessibleName()));
            names << box->accessibleName();
        }

        const QStringList faults = placementFaults(client, client->findChildren<QWidget*>());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

VELARO_TEST_MAIN(WindowsTest)
#include "test_windows.moc"

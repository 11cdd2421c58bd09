// The door calculators driven as a person would: an area (and a sash count) typed, conditions
// ticked with the mouse, Compute or Reset clicked; what the window shows is read back.

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

const QList<int> kDoorForms{23, 24, 25, 26, 27};

// Types the area and the sash count (where given) and ticks the boxes named by number:
// "1 5 4" ticks CheckBox1, CheckBox5 and CheckBox4.
void enter(QWidget* window, const QString& area, const QString& sashes, const QString& ticks) {
    typeInto(window, "Edit2", area);
    if (!sashes.isEmpty())
        typeInto(window, "Edit3", sashes);
    for (const QString& box : ticks.split(' ', Qt::SkipEmptyParts))
        click(window, "CheckBox" + box);
}

QStringList checkBoxNames(const QWidget* window) {
    QStringList names;
    for (const QCheckBox* box : window->findChildren<QCheckBox*>())
        names << box->objectName();
    return names;
}

void addScenarioColumns() {
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("sashes");
    QTest::addColumn<QString>("ticks");
}

} // namespace

class DoorsTest : public QObject {
    Q_OBJECT
  private slots:
    void computes_data() {
        addScenarioColumns();
        QTest::addColumn<QString>("shown");
        // Balcony doors: every cell of the table, then results near a half.
        QTest::newRow("23 separate, 1 sash") << 23 << "2"
                                             << "1"
                                             << "1"
                                             << "4,2";
        QTest::newRow("23 separate, 2 sashes") << 23 << "2"
                                               << "2"
                                               << "1"
                                               << "7";
        QTest::newRow("23 paired, 1 sash") << 23 << "2"
                                           << "1"
                                           << "2"
                                           << "2";
        QTest::newRow("23 paired, 2 sashes") << 23 << "2"
                                             << "2"
                                             << "2"
                                             << "5,2";
        QTest::newRow("23 paired, triple glazing") << 23 << "2"
                                                   << "2"
                                                   << "2 6"
                                                   << "7,8";
        QTest::newRow("23 1,75 x 3.5 rounds down") << 23 << "1,75"
                                                   << "2"
                                                   << "1"
                                                   << "6,12";
        QTest::newRow("23 0,45 x 2.1 extended") << 23 << "0,45"
                                                << "1"
                                                << "1"
                                                << "0,94";
        QTest::newRow("23 0,25 x 2.6 x 1.5 extended") << 23 << "0,25"
                                                      << "2"
                                                      << "2 6"
                                                      << "0,97";
        QTest::newRow("23 point typed as comma") << 23 << "1.5"
                                                 << "2"
                                                 << "2"
                                                 << "3,9";

        // Solid leaves: every row, with and without primed parts.
        QTest::newRow("24 masonry") << 24 << "2"
                                    << ""
                                    << "1"
                                    << "4,8";
        QTest::newRow("24 masonry, primed") << 24 << "2"
                                            << ""
                                            << "1 4"
                                            << "4,8";
        QTest::newRow("24 one-side architraves") << 24 << "2"
                                                 << ""
                                                 << "1 5"
                                                 << "5,2";
        QTest::newRow("24 one-side architraves, primed") << 24 << "2"
                                                         << ""
                                                         << "1 5 4"
                                                         << "5,2";
        QTest::newRow("24 both-side architraves") << 24 << "2"
                                                  << ""
                                                  << "1 7"
                                                  << "5,6";
        QTest::newRow("24 both-side architraves, primed") << 24 << "2"
                                                          << ""
                                                          << "7 1 4"
                                                          << "5,6";
        QTest::newRow("24 timber") << 24 << "2"
                                   << ""
                                   << "2"
                                   << "5,4";
        QTest::newRow("24 timber, primed") << 24 << "2"
                                           << ""
                                           << "2 4"
                                           << "1,62";
        QTest::newRow("24 partitions") << 24 << "2"
                                       << ""
                                       << "3"
                                       << "5,4";
        QTest::newRow("24 partitions, primed") << 24 << "2"
                                               << ""
                                               << "4 3"
                                               << "1,62";
        QTest::newRow("24 thick partitions") << 24 << "2"
                                             << ""
                                             << "3 6"
                                             << "5,8";
        QTest::newRow("24 thick partitions, primed") << 24 << "2"
                                                     << ""
                                                     << "3 6 4"
                                                     << "1,74";
        QTest::newRow("24 1,75 x 2.7 below the half") << 24 << "1,75"
                                                      << ""
                                                      << "2"
                                                      << "4,72";
        QTest::newRow("24 1,5 x 2.7 x 0.3") << 24 << "1,5"
                                            << ""
                                            << "2 4"
                                            << "1,22";
        QTest::newRow("24 1,5 masonry, primed alike") << 24 << "1,5"
                                                      << ""
                                                      << "1 4"
                                                      << "3,6";
        QTest::newRow("24 6,5 x 2.7 x 0.3 extended") << 24 << "6,5"
                                                     << ""
                                                     << "3 4"
                                                     << "5,26";
        QTest::newRow("24 5,5 x 2.9 x 0.3 extended") << 24 << "5,5"
                                                     << ""
                                                     << "3 6 4"
                                                     << "4,79";
        QTest::newRow("24 2,05 x 2.9 extended") << 24 << "2,05"
                                                << ""
                                                << "3 6"
                                                << "5,95";
        QTest::newRow("24 whole result") << 24 << "10"
                                         << ""
                                         << "1"
                                         << "24";
        QTest::newRow("24 lone comma reads 0") << 24 << ","
                                               << ""
                                               << "1"
                                               << "0";

        // Glazed leaves: every row, with and without primed parts.
        QTest::newRow("25 masonry") << 25 << "2"
                                    << ""
                                    << "1"
                                    << "3,6";
        QTest::newRow("25 masonry, primed") << 25 << "2"
                                            << ""
                                            << "1 4"
                                            << "3,6";
        QTest::newRow("25 one-side architraves") << 25 << "2"
                                                 << ""
                                                 << "1 5"
                                                 << "4";
        QTest::newRow("25 one-side architraves, primed") << 25 << "2"
                                                         << ""
                                                         << "1 5 4"
                                                         << "4";
        QTest::newRow("25 both-side architraves") << 25 << "2"
                                                  << ""
                                                  << "1 7"
                                                  << "4,4";
        QTest::newRow("25 both-side architraves, primed") << 25 << "2"
                                                          << ""
                                                          << "1 7 4"
                                                          << "4,4";
        QTest::newRow("25 partitions") << 25 << "2"
                                       << ""
                                       << "3"
                                       << "4,2";
        QTest::newRow("25 partitions, primed") << 25 << "2"
                                               << ""
                                               << "3 4"
                                               << "1,26";
        QTest::newRow("25 thick partitions") << 25 << "2"
                                             << ""
                                             << "3 6"
                                             << "4,6";
        QTest::newRow("25 thick partitions, primed") << 25 << "2"
                                                     << ""
                                                     << "3 6 4"
                                                     << "1,38";
        QTest::newRow("25 1,5 x 2.1 x 0.3 below the half") << 25 << "1,5"
                                                           << ""
                                                           << "3 4"
                                                           << "0,94";
        QTest::newRow("25 whole result") << 25 << "10"
                                         << ""
                                         << "3 6"
                                         << "23";
        QTest::newRow("25 0,35 x 2.3 extended") << 25 << "0,35"
                                                << ""
                                                << "3 6"
                                                << "0,81";
        QTest::newRow("25 2,5 x 2.3 x 0.3 extended") << 25 << "2,5"
                                                     << ""
                                                     << "3 6 4"
                                                     << "1,73";
        QTest::newRow("25 20,5 x 2.1 x 0.3 extended") << 25 << "20,5"
                                                      << ""
                                                      << "3 4"
                                                      << "12,91";

        // Cabinet doors need no tick.
        QTest::newRow("26 plain") << 26 << "2"
                                  << ""
                                  << ""
                                  << "4,2";
        QTest::newRow("26 primed") << 26 << "2"
                                   << ""
                                   << "4"
                                   << "1,26";
        QTest::newRow("26 1,5 x 2.1 x 0.3 below the half") << 26 << "1,5"
                                                           << ""
                                                           << "4"
                                                           << "0,94";
        QTest::newRow("26 0,45 x 2.1 extended") << 26 << "0,45"
                                                << ""
                                                << ""
                                                << "0,94";
        QTest::newRow("26 lone comma reads 0") << 26 << ","
                                               << ""
                                               << ""
                                               << "0";

        // Open-doorway framing.
        QTest::newRow("27 partitions") << 27 << "2"
                                       << ""
                                       << "3"
                                       << "1,8";
        QTest::newRow("27 thick partitions") << 27 << "2"
                                             << ""
                                             << "3 6"
                                             << "2,2";
        QTest::newRow("27 partitions, primed") << 27 << "2"
                                               << ""
                                               << "3 4"
                                               << "0,72";
        QTest::newRow("27 thick partitions, primed") << 27 << "2"
                                                     << ""
                                                     << "6 4 3"
                                                     << "0,88";
        QTest::newRow("27 whole result") << 27 << "10"
                                         << ""
                                         << "3 6"
                                         << "11";
        QTest::newRow("27 1,05 x 0.9 extended") << 27 << "1,05"
                                                << ""
                                                << "3"
                                                << "0,94";
        QTest::newRow("27 0,45 x 1.1 extended") << 27 << "0,45"
                                                << ""
                                                << "3 6"
                                                << "0,49";
    }
    void computes() {
        QFETCH(int, form);
        QFETCH(QString, area);
        QFETCH(QString, sashes);
        QFETCH(QString, ticks);
        QFETCH(QString, shown);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        enter(window.get(), area, sashes, ticks);
        click(window.get(), "Button1");
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.boxes.value(0).text));
        QCOMPARE(textOf(window.get(), "Edit4"), shown);
        QCOMPARE(textOf(window.get(), "Edit2"), QString(area).replace('.', ','));
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
    }

    // Each refusal, and which one wins where several apply. Only the empty fields move the
    // focus; otherwise it stays on the Compute button that was clicked.
    void refuses_data() {
        addScenarioColumns();
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString area = "Введите площадь дверных проемов !";
        const QString one = "Оставьте только одну галочку !";
        const QString architraves = "Оставьте только одну галочку для наличников!";
        const QString tick = "Поставьте галочку !";
        const QString wrong = "Галочки расставлены неверно!";
        const QString sashCount = "Введите количество переплетов 1 или 2!";
        const QString triple = "При тройном остеклении количество переплетов должно быть 2!";

        QTest::newRow("23 empty area") << 23 << ""
                                       << "2"
                                       << "1" << area << "Edit2";
        QTest::newRow("23 empty area and sashes") << 23 << ""
                                                  << ""
                                                  << "" << area << "Edit2";
        QTest::newRow("23 empty sashes") << 23 << "2"
                                         << ""
                                         << "1"
                                         << "Введите количество переплетов !"
                                         << "Edit3";
        QTest::newRow("23 sashes 1,0") << 23 << "2"
                                       << "1,0"
                                       << "1" << sashCount << "Edit3";
        QTest::newRow("23 sashes 01") << 23 << "2"
                                      << "01"
                                      << "1" << sashCount << "Edit3";
        QTest::newRow("23 sashes 3") << 23 << "2"
                                     << "3"
                                     << "1" << sashCount << "Edit3";
        QTest::newRow("23 sashes before ticks") << 23 << "2"
                                                << "3"
                                                << "1 2" << sashCount << "Edit3";
        QTest::newRow("23 triple glazing, 1 sash") << 23 << "2"
                                                   << "1"
                                                   << "2 6" << triple << "Button1";
        QTest::newRow("23 triple glazing before both leaves") << 23 << "2"
                                                              << "1"
                                                              << "1 2 6" << triple << "Button1";
        QTest::newRow("23 both leaves") << 23 << "2"
                                        << "2"
                                        << "1 2" << one << "Button1";
        QTest::newRow("23 both leaves, malformed area") << 23 << "1,2,3"
                                                        << "2"
                                                        << "1 2" << one << "Button1";
        QTest::newRow("23 no leaves") << 23 << "2"
                                      << "2"
                                      << "" << tick << "Button1";
        QTest::newRow("23 triple glazing alone") << 23 << "2"
                                                 << "2"
                                                 << "6" << tick << "Button1";
        QTest::newRow("23 triple glazing, separate, 1 sash") << 23 << "2"
                                                             << "1"
                                                             << "1 6" << wrong << "Button1";
        QTest::newRow("23 triple glazing, separate") << 23 << "2"
                                                     << "2"
                                                     << "1 6" << wrong << "Button1";

        QTest::newRow("24 empty area, no ticks") << 24 << ""
                                                 << ""
                                                 << "" << area << "Edit2";
        QTest::newRow("24 empty area, two walls") << 24 << ""
                                                  << ""
                                                  << "1 3" << area << "Edit2";
        QTest::newRow("24 masonry and partitions") << 24 << "2"
                                                   << ""
                                                   << "1 3" << one << "Button1";
        QTest::newRow("24 timber and partitions") << 24 << "2"
                                                  << ""
                                                  << "2 3" << one << "Button1";
        QTest::newRow("24 three walls") << 24 << "2"
                                        << ""
                                        << "1 2 3" << one << "Button1";
        QTest::newRow("24 two walls and both architraves") << 24 << "2"
                                                           << ""
                                                           << "1 3 5 7" << one << "Button1";
        QTest::newRow("24 two walls, malformed area") << 24 << "1,2,3"
                                                      << ""
                                                      << "1 3" << one << "Button1";
        QTest::newRow("24 no wall, both architraves") << 24 << "2"
                                                      << ""
                                                      << "5 7" << architraves << "Button1";
        QTest::newRow("24 masonry, both architraves") << 24 << "2"
                                                      << ""
                                                      << "1 5 7" << architraves << "Button1";
        QTest::newRow("24 no ticks") << 24 << "2"
                                     << ""
                                     << "" << tick << "Button1";
        QTest::newRow("24 primed only") << 24 << "2"
                                        << ""
                                        << "4" << tick << "Button1";
        QTest::newRow("24 thick only") << 24 << "2"
                                       << ""
                                       << "6" << tick << "Button1";
        QTest::newRow("24 masonry, thick") << 24 << "2"
                                           << ""
                                           << "1 6" << wrong << "Button1";
        QTest::newRow("24 partitions, one-side") << 24 << "2"
                                                 << ""
                                                 << "3 5" << wrong << "Button1";
        QTest::newRow("24 timber, both-side") << 24 << "2"
                                              << ""
                                              << "2 7" << wrong << "Button1";
        QTest::newRow("24 timber, thick") << 24 << "2"
                                          << ""
                                          << "2 6" << wrong << "Button1";

        QTest::newRow("25 empty area") << 25 << ""
                                       << ""
                                       << "3" << area << "Edit2";
        QTest::newRow("25 two walls and both architraves") << 25 << "2"
                                                           << ""
                                                           << "1 3 5 7" << one << "Button1";
        QTest::newRow("25 no wall, both architraves") << 25 << "2"
                                                      << ""
                                                      << "5 7" << architraves << "Button1";
        QTest::newRow("25 no ticks") << 25 << "2"
                                     << ""
                                     << "4" << tick << "Button1";
        QTest::newRow("25 partitions, one-side") << 25 << "2"
                                                 << ""
                                                 << "3 5" << wrong << "Button1";
        QTest::newRow("25 masonry, thick") << 25 << "2"
                                           << ""
                                           << "1 6" << wrong << "Button1";

        QTest::newRow("26 empty area") << 26 << ""
                                       << ""
                                       << "4" << area << "Edit2";

        const QString composition = "Поставьте галочку для состава заполнения!";
        QTest::newRow("27 empty area") << 27 << ""
                                       << ""
                                       << "3" << area << "Edit2";
        QTest::newRow("27 no ticks") << 27 << "2"
                                     << ""
                                     << "" << composition << "Button1";
        QTest::newRow("27 thick only") << 27 << "2"
                                       << ""
                                       << "6" << composition << "Button1";
        QTest::newRow("27 thick and primed") << 27 << "2"
                                             << ""
                                             << "6 4" << composition << "Button1";
        QTest::newRow("27 before a malformed area") << 27 << "1,2,3"
                                                    << ""
                                                    << "4" << composition << "Button1";
    }
    void refuses() {
        QFETCH(int, form);
        QFETCH(QString, area);
        QFETCH(QString, sashes);
        QFETCH(QString, ticks);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        RecordingMessageBoxes boxes;
        auto window = showCalculator(form);
        enter(window.get(), area, sashes, ticks);
        typeInto(window.get(), "Edit4", "9");
        const QStringList boxNames = checkBoxNames(window.get());
        QStringList ticked;
        for (const QString& box : boxNames)
            if (isTicked(window.get(), box))
                ticked << box;

        QString focusWhileOpen;
        QString resultWhileOpen;
        boxes.whileOpen = [&](const RecordingMessageBoxes::Box&) {
            focusWhileOpen = focusName(window.get());
            resultWhileOpen = textOf(window.get(), "Edit4");
        };
        click(window.get(), "Button1");

        QCOMPARE(boxes.onlyText(Kind::Message), message);
        QCOMPARE(focusWhileOpen, focus);
        QCOMPARE(resultWhileOpen, QString("9")); // emptied after the box closes
        QCOMPARE(focusName(window.get()), focus);
        QCOMPARE(textOf(window.get(), "Edit4"), QString());
        QCOMPARE(textOf(window.get(), "Edit2"), area);
        if (!sashes.isEmpty())
            QCOMPARE(textOf(window.get(), "Edit3"), sashes);
        QStringList stillTicked;
        for (const QString& box : boxNames)
            if (isTicked(window.get(), box))
                stillTicked << box;
        QCOMPARE(stillTicked, ticked);
    }

    // A malformed area is read only after every check has passed, and then nothing is written.
    void malformedAreaAfterTheChecks_data() {
        addScenarioColumns();
        QTest::newRow("23") << 23 << "1,2,3"
                            << "2"
                            << "2 6";
        QTest::newRow("24") << 24 << "1,2,3"
                            << ""
                            << "3 6 4";
        QTest::newRow("25") << 25 << "1,2,3"
                            << ""
                            << "1 7";
        QTest::newRow("26") << 26 << "1,2,3"
                            << ""
                            << "";
        QTest::newRow("27") << 27 << "1,2,3"
                            << ""
                            << "3";
    }
    void malformedAreaAfterTheChecks() {
        QFETCH(int, form);
        QFETCH(QString, area);
        QFETCH(QString, sashes);
        QFETCH(QString, ticks);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        enter(window.get(), area, sashes, ticks);
        typeInto(window.get(), "Edit4", "9");
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error),
                 QString("'%1' is not a valid floating point value.").arg(area));
        QCOMPARE(textOf(window.get(), "Edit4"), QString("9"));
    }

    void resetEmptiesFieldsAndUnticks_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("boxes");
        QTest::newRow("23") << 23 << QStringList{"Edit2", "Edit3", "Edit4"} << 3;
        QTest::newRow("24") << 24 << QStringList{"Edit2", "Edit4"} << 7;
        QTest::newRow("25") << 25 << QStringList{"Edit2", "Edit4"} << 6;
        QTest::newRow("26") << 26 << QStringList{"Edit2", "Edit4"} << 1;
        QTest::newRow("27") << 27 << QStringList{"Edit2", "Edit4"} << 3;
    }
    void resetEmptiesFieldsAndUnticks() {
        QFETCH(int, form);
        QFETCH(QStringList, fields);
        QFETCH(int, boxes);
        RecordingMessageBoxes recorder;
        auto window = createCalculator(form);
        for (const QString& field : fields)
            typeInto(window.get(), field, "5");
        const QStringList names = checkBoxNames(window.get());
        QCOMPARE(names.size(), boxes);
        for (const QString& box : names)
            click(window.get(), box);
        click(window.get(), "Button2");
        QVERIFY(recorder.boxes.isEmpty());
        for (const QString& field : fields)
            QCOMPARE(textOf(window.get(), field), QString());
        for (const QString& box : names)
            QVERIFY2(!isTicked(window.get(), box), qPrintable(box));
    }

    void tabOrder_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QStringList>("order");
        const QStringList head{"Edit2", "Button1", "Button2", "Edit4"};
        QTest::newRow("23") << 23
                            << head + QStringList{"CheckBox1", "Edit3", "CheckBox2", "CheckBox6"};
        QTest::newRow("24") << 24 << head + QStringList{"CheckBox1", "CheckBox4", "CheckBox5",
                                                        "CheckBox7", "CheckBox2", "CheckBox3",
                                                        "CheckBox6"};
        QTest::newRow("25") << 25 << head + QStringList{"CheckBox1", "CheckBox4", "CheckBox5",
                                                        "CheckBox7", "CheckBox3", "CheckBox6"};
        QTest::newRow("26") << 26 << head + QStringList{"CheckBox4"};
        QTest::newRow("27") << 27 << head + QStringList{"CheckBox4", "CheckBox3", "CheckBox6"};
    }
    void tabOrder() {
        QFETCH(int, form);
        QFETCH(QStringList, order);
        auto window = showCalculator(form);
        // Once round, back to the first.
        QCOMPARE(tabWalk(window.get(), order.size() + 1), order + QStringList{order.first()});
    }

    // Each captionless check box stands right of the cell or label that names it, as tall as
    // it, and carries that text as its accessible name.
    void checkBoxesAreNamedByTheirTexts_data() {
        QTest::addColumn<int>("form");
        for (int form : kDoorForms)
            QTest::newRow(qPrintable(QString::number(form))) << form;
    }
    void checkBoxesAreNamedByTheirTexts() {
        QFETCH(int, form);
        auto window = createCalculator(form);
        QStringList names;
        for (const QCheckBox* box : window->findChildren<QCheckBox*>()) {
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
            const QLabel* namer = nullptr;
            for (const QLabel* label : window->client()->findChildren<QLabel*>())
                if (label->geometry().top() == box->geometry().top() &&
                    label->geometry().right() < box->geometry().left() &&
                    label->geometry().right() >= box->geometry().left() - 1 - kPrimedBoxGap)
                    namer = label;
            QVERIFY2(namer, qPrintable(box->objectName() + " has no text beside it"));
            QCOMPARE(box->height(), namer->height());
            QVERIFY2(box->accessibleName().endsWith(namer->text()),
                     qPrintable(box->objectName() + ": " + box->accessibleName()));
            names << box->accessibleName();
        }
        names.removeDuplicates();
        QCOMPARE(names.size(), checkBoxNames(window.get()).size());
    }

    // The picture area has its size, and no control covers another or leaves the window.
    void layoutFits_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QSize>("picture");
        QTest::newRow("23") << 23 << QSize(97, 161);
        QTest::newRow("24") << 24 << QSize(145, 153);
        QTest::newRow("25") << 25 << QSize(161, 161);
        QTest::newRow("26") << 26 << QSize(113, 161);
        QTest::newRow("27") << 27 << QSize(145, 161);
    }
    void layoutFits() {
        QFETCH(int, form);
        QFETCH(QSize, picture);
        auto window = createCalculator(form);
        const QWidget* client = window->client();
        const QWidget* image = control(window.get(), "Image1");
        QVERIFY(image);
        QCOMPARE(image->size(), picture);
        QCOMPARE(image->geometry().right(), client->width() - 1 - 8);

        const QStringList faults =
            placementFaults(client, client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

VELARO_TEST_MAIN(DoorsTest)
#include "test_doors.moc"

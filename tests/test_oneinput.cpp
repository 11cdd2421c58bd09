// The thirteen one-input calculators driven as a person would: a typed quantity, Compute, the
// rounded area; the empty input, malformed input, Reset, focus and tab order, the picture area.

#include "core/picturearea.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/layoutcheck.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace velaro;
using namespace velaro::test;
using Kind = RecordingMessageBoxes::Kind;

namespace {

const QList<int> kForms{5, 6, 7, 8, 9, 11, 12, 13, 14, 16, 17, 18, 19};

void addRowPerForm() {
    QTest::addColumn<int>("form");
    for (int form : kForms)
        QTest::addRow("TForm%d", form) << form;
}

} // namespace

class OneInputTest : public QObject {
    Q_OBJECT
  private slots:
    void computes_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        // Sinks × 2, baths × 3, cisterns × 0.7
        QTest::newRow("sinks, point typed") << 5 << "1.234"
                                            << "2,47";
        QTest::newRow("sinks 0,37") << 5 << "0,37"
                                    << "0,74";
        QTest::newRow("sinks, whole result") << 5 << "1,5"
                                             << "3";
        QTest::newRow("baths 4,17") << 6 << "4,17"
                                    << "12,51";
        QTest::newRow("baths, no trailing zero") << 6 << "1,234"
                                                 << "3,7";
        QTest::newRow("cisterns 3") << 7 << "3"
                                    << "2,1";
        QTest::newRow("cisterns, fractional count") << 7 << "2,5"
                                                    << "1,75";
        QTest::newRow("cisterns, extended coefficient") << 7 << "0,75"
                                                        << "0,53";
        // Radiators МС-140: 0.244 and 0.208 a section
        QTest::newRow("МС-140 500, 7 sections") << 8 << "7"
                                                << "1,71";
        QTest::newRow("МС-140 500, 12 sections") << 8 << "12"
                                                 << "2,93";
        QTest::newRow("МС-140 500, extended coefficient") << 8 << "51,25"
                                                          << "12,51";
        QTest::newRow("МС-140 300, 7 sections") << 9 << "7"
                                                << "1,46";
        QTest::newRow("МС-140 300, no trailing zero") << 9 << "12"
                                                      << "2,5";
        // Ceilings × 1.75 and × 1.6
        QTest::newRow("coffered 10") << 11 << "10"
                                     << "17,5";
        QTest::newRow("coffered, half rounds up") << 11 << "3,33"
                                                  << "5,83";
        QTest::newRow("ribbed 10") << 12 << "10"
                                   << "16";
        QTest::newRow("ribbed 12,345") << 12 << "12,345"
                                       << "19,75";
        // Timber walls × 1.2 and × 1.05
        QTest::newRow("clapboard 12,34") << 13 << "12,34"
                                         << "14,81";
        QTest::newRow("clapboard 48") << 13 << "48"
                                      << "57,6";
        QTest::newRow("logs 7,35") << 14 << "7,35"
                                   << "7,72";
        QTest::newRow("logs 12,34") << 14 << "12,34"
                                    << "12,96";
        QTest::newRow("logs, extended coefficient") << 14 << "1,5"
                                                    << "1,57";
        // Grilles × 0.5, × 1, × 2.5; corrugated × 1.2
        QTest::newRow("simple grilles 7") << 16 << "7"
                                          << "3,5";
        QTest::newRow("simple grilles, half below") << 16 << "0,25"
                                                    << "0,12";
        QTest::newRow("simple grilles 0,333") << 16 << "0,333"
                                              << "0,17";
        QTest::newRow("medium grilles round only") << 17 << "12,344"
                                                   << "12,34";
        QTest::newRow("medium grilles, half below") << 17 << "0,125"
                                                    << "0,12";
        QTest::newRow("complex grilles 4") << 18 << "4"
                                           << "10";
        QTest::newRow("complex grilles 1,5") << 18 << "1,5"
                                             << "3,75";
        QTest::newRow("corrugated 3,3") << 19 << "3,3"
                                        << "3,96";
        QTest::newRow("corrugated 0,1") << 19 << "0,1"
                                        << "0,12";
        QTest::newRow("corrugated 25") << 19 << "25"
                                       << "30";
    }
    void computes() {
        QFETCH(int, form);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), "Edit1", "99"); // a result field is overwritten, never read
        typeInto(window.get(), "Edit2", typed);
        click(window.get(), "Button1");
        QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.onlyText(Kind::Error)));
        QCOMPARE(textOf(window.get(), "Edit1"), shown);
        QCOMPARE(textOf(window.get(), "Edit2"), QString(typed).replace('.', ','));
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
    }

    void emptyInputGivesZero_data() { addRowPerForm(); }
    void emptyInputGivesZero() {
        QFETCH(int, form);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), "Edit1", "5");
        click(window.get(), "Button1");
        QVERIFY(boxes.boxes.isEmpty());
        const QString trail = trailMismatch(*window);
        QVERIFY2(trail.isEmpty(), qPrintable(trail));
        QCOMPARE(textOf(window.get(), "Edit1"), QString("0"));
    }

    // The conversion error names the input's text, even beside a malformed result field, and
    // the result field keeps what it showed.
    void malformedInputIsNamed_data() { addRowPerForm(); }
    void malformedInputIsNamed() {
        QFETCH(int, form);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), "Edit1", ",,");
        typeInto(window.get(), "Edit2", "1,2,3");
        click(window.get(), "Button1");
        QCOMPARE(boxes.onlyText(Kind::Error),
                 QString("'1,2,3' is not a valid floating point value."));
        QCOMPARE(textOf(window.get(), "Edit1"), QString(",,"));
        QCOMPARE(textOf(window.get(), "Edit2"), QString("1,2,3"));

        // Mended, the same window computes again.
        boxes.clear();
        retype(window.get(), "Edit2", "0");
        click(window.get(), "Button1");
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(textOf(window.get(), "Edit1"), QString("0"));
    }

    void resetClearsResultThenInput_data() { addRowPerForm(); }
    void resetClearsResultThenInput() {
        QFETCH(int, form);
        RecordingMessageBoxes boxes;
        auto window = createCalculator(form);
        typeInto(window.get(), "Edit2", "12");
        click(window.get(), "Button1");
        QStringList cleared;
        for (const char* name : {"Edit1", "Edit2"}) {
            auto* edit = control<QLineEdit>(window.get(), name);
            connect(edit, &QLineEdit::textChanged, this, [&cleared, name] { cleared << name; });
        }
        click(window.get(), "Button2");
        QCOMPARE(cleared, QStringList({"Edit1", "Edit2"}));
        QCOMPARE(textOf(window.get(), "Edit1"), QString());
        QCOMPARE(textOf(window.get(), "Edit2"), QString());

        cleared.clear();
        click(window.get(), "Button2"); // already empty: nothing changes, no box
        QVERIFY(cleared.isEmpty());
        QVERIFY(boxes.boxes.isEmpty());
    }

    // The result field holds the focus on opening and comes first in the tab order.
    void tabOrderStartsAtTheResult_data() { addRowPerForm(); }
    void tabOrderStartsAtTheResult() {
        QFETCH(int, form);
        auto window = createCalculator(form);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(tabWalk(window.get(), 5),
                 QStringList({"Edit1", "Edit2", "Button1", "Button2", "Edit1"}));
    }

    // The picture area has the size given for the window, centred under the title; every
    // control lies inside the window, no two overlap and no text is cut.
    void layout_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QSize>("picture");
        const QList<QPair<int, QSize>> areas{
            {5, {169, 201}},  {6, {160, 105}}, {7, {147, 225}}, {8, {225, 225}}, {9, {252, 233}},
            {11, {449, 97}},  {12, {157, 97}}, {13, {157, 97}}, {14, {156, 97}}, {16, {161, 161}},
            {17, {148, 161}}, {18, {148, 73}}, {19, {161, 161}}};
        for (const auto& [form, area] : areas)
            QTest::addRow("TForm%d", form) << form << area;
    }
    void layout() {
        QFETCH(int, form);
        QFETCH(QSize, picture);
        auto window = createCalculator(form);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QWidget* client = window->client();

        auto* image = control<PictureArea>(window.get(), "Image1");
        QVERIFY(image);
        QCOMPARE(image->size(), picture);
        QCOMPARE(image->x(), (client->width() - picture.width()) / 2);

        const QList<QWidget*> controls = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QVERIFY(controls.size() >= 10);
        const QStringList faults = placementFaults(client, controls);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        for (const QWidget* widget : controls)
            if (auto* label = qobject_cast<const QLabel*>(widget);
                label && label->text().startsWith(QStringLiteral("ОПРЕДЕЛЕНИЕ")))
                QVERIFY2(label->geometry().bottom() < image->y(),
                         "the title stands above the picture");
        const auto* input = control<QWidget>(window.get(), "Edit2");
        const auto* compute = control<QWidget>(window.get(), "Button1");
        const auto* result = control<QWidget>(window.get(), "Edit1");
        const auto* reset = control<QWidget>(window.get(), "Button2");
        QVERIFY(image->geometry().bottom() < input->y());
        QVERIFY(input->geometry().bottom() < compute->y());
        QVERIFY(compute->geometry().bottom() < result->y());
        QVERIFY(result->geometry().bottom() < reset->y());
    }

    void mainWindowOpensEachCalculator_data() { addRowPerForm(); }
    void mainWindowOpensEachCalculator() {
        QFETCH(int, form);
        RecordingMessageBoxes boxes;
        Program program(',');
        program.mainWindow().show();
        click(&program.mainWindow(), QStringLiteral("Button%1").arg(form - 1));
        QWidget* window = program.registry().Form(form);
        QVERIFY(window->isVisible());
        QCOMPARE(window->objectName(), QStringLiteral("TForm%1").arg(form));
        QCOMPARE(window->findChildren<QLineEdit*>().size(), 2); // the input and the result
        typeInto(window, "Edit2", "10");
        click(window, "Button1");
        QVERIFY(boxes.boxes.isEmpty());
        QVERIFY(!textOf(window, "Edit1").isEmpty());
    }
};

VELARO_TEST_MAIN(OneInputTest)
#include "test_oneinput.moc"

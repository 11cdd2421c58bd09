// What assistive technology reads from the windows: every field named by the text that names it
// on screen, every captionless check box by its cell or label, every button by its caption, all
// read back through QAccessible as a screen reader gets them.

#include "core/numericedit.h"
#include "core/windowparts.h"
#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/testsupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace velaro;
using namespace velaro::test;

namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString accessibleName(QObject* object) {
    QAccessibleInterface* interface = accessible(object);
    return interface ? interface->text(QAccessible::Name) : QStringLiteral("<not accessible>");
}

// The label whose text the name was taken from: its whole text, or a heading's text with a
// qualifier after it. Only a label that names a field (has a buddy) counts, so a unit such as
// "м2" beside a field never does.
const QLabel* namingLabel(const QWidget* window, const QString& name) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->buddy() || !label->isVisibleTo(window))
            continue;
        QString text = label->text().simplified();
        if (name == text)
            return label;
        if (text.endsWith(QLatin1Char(':')))
            text.chop(1);
        if (name.startsWith(text + QStringLiteral(", ")))
            return label;
    }
    return nullptr;
}

// The accessible objects below an interface, depth first.
void collect(QAccessibleInterface* interface, QList<QAccessibleInterface*>& found) {
    for (int i = 0; i < interface->childCount(); ++i) {
        QAccessibleInterface* child = interface->child(i);
        if (!child)
            continue;
        found << child;
        collect(child, found);
    }
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program_;

    QWidget* form(int number) const { return program_->registry().Form(number); }

    static void addRowPerCalculator() {
        QTest::addColumn<int>("form");
        for (int n = WindowRegistry::kFirstCalculator; n <= WindowRegistry::kLastForm; ++n)
            QTest::addRow("TForm%d", n) << n;
    }

  private slots:
    void initTestCase() { program_ = std::make_unique<Program>(','); }
    void cleanupTestCase() { program_.reset(); }

    // Every field carries a name taken from the label that names it on screen, that label is
    // reported as its label, and no two fields of a window sound alike.
    void fieldsAreNamedByTheirLabels_data() { addRowPerCalculator(); }
    void fieldsAreNamedByTheirLabels() {
        QFETCH(int, form);
        QWidget* window = this->form(form);
        QStringList names;
        const QList<NumericEdit*> fields = window->findChildren<NumericEdit*>();
        QVERIFY(!fields.isEmpty());
        for (NumericEdit* field : fields) {
            QAccessibleInterface* interface = accessible(field);
            QVERIFY(interface);
            QCOMPARE(interface->role(), QAccessible::EditableText);
            const QString name = interface->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(field->objectName()));
            QVERIFY2(!names.contains(name), qPrintable(field->objectName() + ": " + name));
            names << name;
            const QLabel* label = namingLabel(window, name);
            QVERIFY2(label,
                     qPrintable(field->objectName() + " has a name no label shows: " + name));
            if (label->buddy() == field) {
                const auto labels = interface->relations(QAccessible::Label);
                QVERIFY2(labels.size() == 1 && labels.front().first->object() == label,
                         qPrintable(field->objectName() + " does not report its label"));
            }
        }
    }

    // The names a person hears, for one field of each layout: a table's rows, a row label, a
    // prompt above, a prompt beside, a prompt over two lines, a result caption.
    void fieldNames_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("pipes, first diameter") << 2 << "Edit3"
                                               << "Введите наружный диаметр труб в мм, строка 1";
        QTest::newRow("pipes, last length") << 2 << "Edit26"
                                            << "Введите м.п. труб, строка 9";
        QTest::newRow("pipes, seventh area") << 2 << "Edit11"
                                             << "Площадь окраски труб, строка 7";
        QTest::newRow("pipes, total") << 2 << "Edit28"
                                      << "Суммарная площадь окраски труб:";
        QTest::newRow("steel pipeline, 20 mm") << 3 << "Edit2"
                                               << "при диаметре труб, мм: 20:";
        QTest::newRow("cast-iron pipeline, total")
            << 4 << "Edit1"
            << "Суммарная площадь окраски чугунных трубопроводов:";
        QTest::newRow("sinks, input") << 5 << "Edit2"
                                      << "Введите площадь горизонтальной проекции моек и раковин:";
        QTest::newRow("sinks, result") << 5 << "Edit1"
                                       << "Площадь окраски моек и раковин:";
        QTest::newRow("stucco ceilings, percentage")
            << 10 << "Edit1"
            << "Введите площадь горизонтальной проекции лепных изделий в % от площади потолков:";
        QTest::newRow("stucco products, relief") << 15 << "Edit3"
                                                 << "Введите высоту рельефа лепных изделий в мм:";
        QTest::newRow("paired sashes, sash count") << 21 << "Edit3"
                                                   << "Введите количество переплетов (1 или 2):";
        QTest::newRow("separate sashes, timber walls box")
            << 20 << "CheckBox3"
            << "Стены деревянные, состав заполнения: коробка, переплет, подоконная доска, "
               "наличники с двух сторон:";
        QTest::newRow("separate sashes, stone walls box")
            << 20 << "CheckBox1"
            << "Стены каменные, состав заполнения: коробка, переплет, подоконная доска:";
        QTest::newRow("industrial windows, result")
            << 22 << "Edit4"
            << "Площадь окрашиваемой поверхности заполнения оконных проемов промышленных зданий:";
        QTest::newRow("solid doors, area")
            << 24 << "Edit2"
            << "Введите площадь дверных проемов по наружному обводу коробок:";
        QTest::newRow("framing, result") << 27 << "Edit4"
                                         << "Площадь окрашиваемой поверхности заполнения дверных "
                                            "проемов - обрамление открытого проема:";
    }
    void fieldNames() {
        QFETCH(int, form);
        QFETCH(QString, field);
        QFETCH(QString, name);
        QCOMPARE(accessibleName(control(this->form(form), field)), name);
    }

    // Captionless check boxes are told apart by their names alone.
    void checkBoxesHaveDistinctNames_data() { addRowPerCalculator(); }
    void checkBoxesHaveDistinctNames() {
        QFETCH(int, form);
        QStringList names;
        for (QCheckBox* box : this->form(form)->findChildren<QCheckBox*>()) {
            QVERIFY(box->text().isEmpty());
            QAccessibleInterface* interface = accessible(box);
            QVERIFY(interface);
            QCOMPARE(interface->role(), QAccessible::CheckBox);
            const QString name = interface->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(box->objectName()));
            QVERIFY2(!names.contains(name), qPrintable(box->objectName() + ": " + name));
            names << name;
        }
    }

    // Buttons are heard by their captions, in every window.
    void buttonsAreNamedByTheirCaptions_data() {
        QTest::addColumn<int>("form");
        for (int n = 1; n <= WindowRegistry::kLastForm; ++n)
            QTest::addRow("TForm%d", n) << n;
    }
    void buttonsAreNamedByTheirCaptions() {
        QFETCH(int, form);
        const QList<QPushButton*> buttons = this->form(form)->findChildren<QPushButton*>();
        QVERIFY(!buttons.isEmpty());
        for (QPushButton* button : buttons) {
            QAccessibleInterface* interface = accessible(button);
            QVERIFY(interface);
            QCOMPARE(interface->role(), QAccessible::Button);
            QCOMPARE(interface->text(QAccessible::Name), button->text());
        }
        if (form > 1) {
            QCOMPARE(accessibleName(control(this->form(form), "Button1")), QString("Расчитать"));
            QCOMPARE(accessibleName(control(this->form(form), "Button2")), QString("Сброс"));
        }
    }

    // Walking the main window's accessible tree, as a screen reader does, finds its 26
    // buttons by their captions, in the order they stand.
    void mainWindowTreeHoldsTheButtons() {
        MainWindow& main = program_->mainWindow();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QList<QAccessibleInterface*> found;
        collect(accessible(&main), found);
        QStringList heard;
        for (QAccessibleInterface* interface : found)
            if (interface->role() == QAccessible::Button)
                heard << interface->text(QAccessible::Name);
        QStringList shown;
        for (int n = 1; n <= MainWindow::kCalculatorCount; ++n)
            shown << control<QPushButton>(&main, QStringLiteral("Button%1").arg(n))->text();
        QCOMPARE(heard, shown);
        QCOMPARE(heard.value(18),
                 QString("Площадь окраски оконных проемов с раздельными переплетами"));
        main.hide();
    }

    // A calculator's tree holds each of its fields once, by name.
    void calculatorTreeHoldsTheFields() {
        QWidget* window = form(23);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QList<QAccessibleInterface*> found;
        collect(accessible(window), found);
        QStringList heard;
        for (QAccessibleInterface* interface : found)
            if (interface->role() == QAccessible::EditableText)
                heard << interface->text(QAccessible::Name);
        heard.sort();
        QCOMPARE(heard,
                 QStringList({"Введите количество переплетов (1 или 2):",
                              "Введите площадь дверных проемов по наружному обводу коробок:",
                              "Площадь окрашиваемой поверхности заполнения дверных проемов - "
                              "балконных дверей:"}));
        window->hide();
    }
};

VELARO_TEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"

// Quantities typed as arithmetic: exact values, and the mistakes with where they are; the dialog
// that takes such a line.

#include "estimate/expression.h"
#include "estimate/gui/typedlinedialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace velaro;

class ExpressionTest : public QObject {
    Q_OBJECT
  private slots:
    void evaluate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value"); // empty for a mistake
        QTest::addColumn<int>("errorAt");
        QTest::addColumn<QString>("error");
        auto sound = [](const char* tag, const QString& text, const QString& value) {
            QTest::newRow(tag) << text << value << -1 << QString();
        };
        auto wrong = [](const char* tag, const QString& text, int at, const QString& error) {
            QTest::newRow(tag) << text << QString() << at << error;
        };
        sound("walls", "2,5*3 + 1,2*2 \u2212 0,8", "9,1");
        sound("precedence", "1+2*3-4/2", "5");
        sound("left to right", "8-3-2 : 5 : 2 + 0.5", "5,3");
        sound("parentheses", " ( 1,5 + 0.5 ) \u00d7 (3 - 1) \u00b7 2 ", "8");
        sound("unary", "-(2,5) * -2 + -+1 \u2013 -1", "5");
        sound("negative", "1,2 - 3,45", "-2,25");
        sound("exact division", "1/8 + 10/4", "2,625");
        sound("six decimals", "0,001 * 0,001 + 0,0000010", "0,000002");
        sound("fifteen digits", "999999999999999 * 1", "999999999999999");
        wrong("blank", "  ", 0, "пусто");
        // A quotient that never ends: worked on at six decimals, the whole to hundredths.
        sound("a third", "10/3", "3,33");
        sound("a third, then some", "1 + 2/3", "1,67");
        sound("thirds added up", "1/3 + 1/3 + 1/3", "1");
        sound("a third times three", "(10/3)*3", "10");
        sound("half up past the sign", "-10/3 - 1/600", "-3,34");
        sound("products after a third", "2/3 * 0,001 * 0,001", "0");
        wrong("longer than a sheet takes", QString(kLongestQuantity + 1, u'1'), kLongestQuantity,
              QStringLiteral("выражение длиннее %1 знаков").arg(kLongestQuantity));
        wrong("division by zero", "5/(2-2)", 1, "деление на ноль");
        wrong("trailing sign", "2 +", 3, "ожидается число");
        wrong("sign for number", "2 + * 3", 4, "ожидается число");
        wrong("empty parentheses", "4*()", 3, "ожидается число");
        wrong("extra bracket", "(1+2))", 5, "лишняя закрывающая скобка");
        wrong("unclosed", "2*(1+3", 6, "не закрыта скобка");
        wrong("grouping", "1 234,5", 2, "ожидается знак действия");
        wrong("two points", "1.234,5", 5, "лишний разделитель в числе");
        wrong("letter", "2,5 m", 4, "непонятный знак «m»");
        wrong("long number", "0001234567890123456", 18, "число слишком велико");
        wrong("long sum", "999999999999999 + 1", 16, "число слишком велико");
        wrong("long product", "123456789 * 10000000", 10, "число слишком велико");
        wrong("seven decimals", "1,12345678", 8, "больше шести знаков после запятой");
        wrong("deep", QString(300, u'(') + "1", 200, "слишком много скобок и знаков подряд");
        wrong("fine product", "0,0001 * 0,001", 7, "больше шести знаков после запятой");
    }
    void evaluate() {
        QFETCH(QString, text);
        QFETCH(QString, value);
        QFETCH(int, errorAt);
        QFETCH(QString, error);
        const Evaluation evaluation = evaluateQuantity(text, u',');
        QCOMPARE(evaluation.value ? evaluation.value->text(u',') : QString(), value);
        QCOMPARE(evaluation.approximate, text.contains("/3"));
        QCOMPARE(evaluation.errorAt, errorAt);
        QCOMPARE(evaluation.error, error);
    }

    void dialog() {
        TypedLineDialog dialog(u'.');
        auto* quantity = dialog.findChild<QLineEdit*>("lineQuantity");
        auto* result = dialog.findChild<QLabel*>("lineQuantityResult");
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        quantity->setText("2,5*3 +  1,2*2 \u2212 0,8");
        QVERIFY(!ok->isEnabled()); // no name yet
        dialog.findChild<QLineEdit*>("lineName")->setText("  Откосы  окна ");
        QVERIFY(ok->isEnabled());
        dialog.findChild<QComboBox*>("lineUnit")->setCurrentText("м");
        QCOMPARE(result->text(), "= 9.1 м");
        quantity->setText(quantity->text() + " -");
        QCOMPARE(result->text(), "Ошибка в позиции 23: ожидается число");
        QVERIFY(!ok->isEnabled());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(quantity->cursorPosition(), 22);
        quantity->setText(quantity->text().chopped(2));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(QStringList({dialog.name(), dialog.unit(), dialog.expression(),
                              dialog.quantity().text(u',')}),
                 QStringList({"Откосы окна", "м", "2,5*3 + 1,2*2 \u2212 0,8", "9,1"}));
    }

    // A quotient that never ends is shown as about; a sum a million long is refused in words,
    // never cut to what a field holds; what is wrong is shown whole.
    void dialogSaysAllOfIt() {
        TypedLineDialog dialog(u',');
        dialog.show();
        auto* quantity = dialog.findChild<QLineEdit*>("lineQuantity");
        auto* result = dialog.findChild<QLabel*>("lineQuantityResult");
        dialog.findChild<QLineEdit*>("lineName")->setText("Откосы");
        quantity->setText("10/3");
        QCOMPARE(result->text(), "≈ 3,33 м2");
        QString million = "1";
        for (int n = 1; n < 1000000; ++n)
            million += "+1";
        quantity->setText(million);
        QCOMPARE(quantity->text().size(), million.size());
        QVERIFY2(result->text().contains("длиннее"), qPrintable(result->text()));
        quantity->setText("1 + 2 * (3 - 4,5 / 1,5))");
        QApplication::processEvents();
        QVERIFY(!result->text().isEmpty());
        QVERIFY2(result->height() >= result->heightForWidth(result->width()),
                 qPrintable(QString("%1 < %2").arg(result->height()).arg(result->heightForWidth(result->width()))));
        QVERIFY(dialog.rect().contains(result->geometry()));
    }
};

QTEST_MAIN(ExpressionTest)
#include "test_expression.moc"

// The number model: the field grammar, writing numbers, the half-up rounding and its range.

#include "core/numbers.h"
#include "support/testsupport.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace velaro;

Q_DECLARE_METATYPE(long double)

class NumbersTest : public QObject {
    Q_OBJECT
  private slots:
    void readsTheFieldGrammar_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<char>("separator");
        QTest::addColumn<bool>("wellFormed");
        QTest::addColumn<long double>("value");
        const auto ok = [](const char* name, const char* text, long double value, char sep = ',') {
            QTest::newRow(name) << QString::fromUtf8(text) << sep << true << value;
        };
        const auto bad = [](const char* name, const char* text, char sep = ',') {
            QTest::newRow(name) << QString::fromUtf8(text) << sep << false << 0.0L;
        };
        ok("whole", "12", 12.0L);
        ok("fraction", "12,5", 12.5L);
        ok("leading separator", ",5", 0.5L);
        ok("trailing separator", "5,", 5.0L);
        ok("lone separator", ",", 0.0L);
        ok("blanks around", "  12,5  ", 12.5L);
        ok("plus sign", "+3", 3.0L);
        ok("minus sign", "-3,25", -3.25L);
        ok("exponent", "1e3", 1000.0L);
        ok("negative exponent", "25E-2", 0.25L);
        ok("exponent with plus", "2,5e+1", 25.0L);
        ok("separator and exponent only", ",e5", 0.0L);
        ok("zero with huge exponent", "0e99999999", 0.0L);
        // Digits scaled by an exact division give the nearest extended value.
        ok("four decimals nearest", "1,2345", 1.2345L);
        ok("tenth nearest", "0,1", 0.1L);
        ok("underflow reads zero", "1e-5000", 0.0L);
        // Large powers of ten come from repeated squaring, so only the range is checked here.
        ok("near the top of the range", "1e4932", std::numeric_limits<long double>::quiet_NaN());
        ok("point under point settings", "1.5", 1.5L, '.');
        // Texts longer than the digit accumulator takes, and values at the ends of the range.
        const auto text = [](std::initializer_list<std::string> parts) {
            std::string joined;
            for (const std::string& part : parts)
                joined += part;
            return joined;
        };
        const std::string ones(5000, '1'), threes(5000, '3'), zeros(5000, '0');
        ok("5000 ones after the separator", text({"0,", ones}).c_str(), 1.0L / 9.0L);
        ok("5000 threes scaled back", text({threes, "e-4999"}).c_str(), 10.0L / 3.0L);
        ok("5000 trailing zeros", text({"1,5", zeros}).c_str(), 1.5L);
        ok("5000 whole zeros scaled back", text({"1", zeros, "e-5000"}).c_str(), 1.0L);
        ok("5000 leading zeros", text({zeros, "12,5"}).c_str(), 12.5L);
        ok("5000 zeros after the separator", text({",", zeros, "1e5000"}).c_str(), 0.1L);
        ok("200 000 zeros after the separator",
           text({"0,", std::string(200000, '0'), "25e200001"}).c_str(), 2.5L);
        const long double largest = std::numeric_limits<long double>::max();
        ok("the largest value", "1,18973149535723176502126e4932", largest);
        ok("rounds down to the largest value", "1,18973149535723176505e4932", largest);
        ok("negative largest value", "-118973149535723176502126e4909", -largest);
        ok("the least normal value", "3,36210314311209350626268e-4932",
           std::numeric_limits<long double>::min());
        bad("two separators", "1,2,3");
        bad("double separator", ",,");
        bad("empty", "");
        bad("only blanks", "   ");
        bad("only sign", "-");
        bad("sign after blank inside", "- 3");
        bad("blank inside", "1 2");
        bad("tab", "\t1");
        bad("newline", "1\n");
        bad("letters", "abc");
        bad("inf", "inf");
        bad("nan", "nan");
        bad("hexadecimal", "0x10");
        bad("exponent without digits", "1e");
        bad("exponent without mantissa", "e5");
        bad("exponent sign only", "1e+");
        bad("overflow", "1e5000");
        bad("overflowing digits", std::string(5000, '9').c_str());
        bad("past the largest value", "1,18973149535723176506e4932");
        bad("5000 digits past the largest value", std::string(5000, '1').c_str());
        bad("point under comma settings", "1.5");
        bad("comma under point settings", "1,5", '.');
        bad("cyrillic", "пять");
        bad("two signs", "+-1");
    }
    void readsTheFieldGrammar() {
        QFETCH(QString, text);
        QFETCH(char, separator);
        QFETCH(bool, wellFormed);
        QFETCH(long double, value);
        long double read = -1.0L;
        QCOMPARE(TryStrToFloat(text.toStdString(), separator, read), wellFormed);
        if (wellFormed && !std::isnan(value))
            QVERIFY2(read == value, qPrintable(QString::number(double(read), 'g', 20)));
    }

    void malformedTextNamesItself() {
        try {
            StrToFloat("1,2,3", ',');
            QFAIL("no error");
        } catch (const EConvertError& error) {
            QCOMPARE(QString(error.what()), QString("'1,2,3' is not a valid floating point value"));
        }
        try {
            StrToFloat(std::string("1\0002", 3), ',');
            QFAIL("no error");
        } catch (const EConvertError& error) {
            QCOMPARE(error.message(),
                     std::string("'1\0002' is not a valid floating point value", 41));
        }
        try {
            StrToFloat("", ',');
            QFAIL("no error");
        } catch (const EConvertError& error) {
            QCOMPARE(QString(error.what()), QString("'' is not a valid floating point value"));
        }
    }

    void rounds_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digit");
        QTest::addColumn<double>("rounded");
        // The stored hundredth lies above 0.01: a scaled value just below the half goes down.
        QTest::newRow("0.125 down") << 0.125 << -2 << 0.12;
        QTest::newRow("2.675 down") << 2.675 << -2 << 2.67;
        QTest::newRow("1.2345 at three") << 1.2345 << -3 << 1.234;
        QTest::newRow("1.7907078 at three") << 1.7907078 << -3 << 1.791;
        QTest::newRow("half up") << 0.385 << -2 << 0.39;
        QTest::newRow("exact half stays below") << 0.375 << -2 << 0.37;
        QTest::newRow("whole") << 3.0 << -2 << 3.0;
        QTest::newRow("zero") << 0.0 << -2 << 0.0;
        QTest::newRow("to units") << 2.5 << 0 << 3.0;
        QTest::newRow("to tens") << 1234.0 << 1 << 1230.0;
        QTest::newRow("negative half toward zero") << -0.375 << -2 << -0.37;
        QTest::newRow("negative not at half") << -1.234 << -2 << -1.23;
        QTest::newRow("negative below half unit") << -0.001 << -2 << 0.0;
        QTest::newRow("large within range") << 9.2e16 << -2 << 9.2e16;
    }
    void rounds() {
        QFETCH(double, value);
        QFETCH(int, digit);
        QFETCH(double, rounded);
        QCOMPARE(FloatToStr(SimpleRoundTo(value, static_cast<std::int8_t>(digit)), '.'),
                 FloatToStr(rounded, '.'));
    }

    void roundingRangeError_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digit");
        QTest::newRow("past 2^63 hundredths") << 9.3e16 << -2;
        QTest::newRow("past 2^63 thousandths") << 9.3e15 << -3;
        QTest::newRow("negative past range") << -9.3e16 << -2;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << -2;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << -2;
    }
    void roundingRangeError() {
        QFETCH(double, value);
        QFETCH(int, digit);
        try {
            SimpleRoundTo(value, static_cast<std::int8_t>(digit));
            QFAIL("no error");
        } catch (const EInvalidOp& error) {
            QCOMPARE(QString(error.what()), QString("Invalid floating point operation"));
        }
    }

    void writes_data() {
        QTest::addColumn<long double>("value");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 3.0L << ',' << "3";
        QTest::newRow("zero") << 0.0L << ',' << "0";
        QTest::newRow("negative zero") << -0.0L << ',' << "0";
        QTest::newRow("fraction") << 2.64L << ',' << "2,64";
        QTest::newRow("point settings") << 2.64L << '.' << "2.64";
        QTest::newRow("negative") << -2.5L << ',' << "-2,5";
        QTest::newRow("double of a hundredth") << static_cast<long double>(0.12) << ',' << "0,12";
        QTest::newRow("fifteen digits") << static_cast<long double>(0.1 + 0.2) << ',' << "0,3";
        QTest::newRow("smallest plain") << 0.0001L << ',' << "0,0001";
        QTest::newRow("below 0.0001") << 0.00009L << ',' << "9E-5";
        QTest::newRow("fifteen integer digits") << 123456789012345.0L << ',' << "123456789012345";
        QTest::newRow("sixteen integer digits")
            << 1234567890123456.0L << ',' << "1,23456789012346E15";
        QTest::newRow("power of ten") << 1e20L << ',' << "1E20";
    }
    void writes() {
        QFETCH(long double, value);
        QFETCH(char, separator);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(FloatToStr(value, separator)), text);
    }

    void intPower() {
        QVERIFY(IntPower(10.0L, 2) == 100.0L);
        QVERIFY(IntPower(10.0L, -2) == 1.0L / 100.0L);
        QVERIFY(IntPower(2.0L, 0) == 1.0L);
        QVERIFY(std::isinf(IntPower(10.0L, 100000)));
        QVERIFY(IntPower(10.0L, std::numeric_limits<int>::min()) == 0.0L);
    }

    // A working value rounded at two decimals and written: the path of every result.
    void extendedProductsNearAHalf() {
        // 1.75 × 2.7 lies just below 4.725 with the extended 2.7, just above with a double.
        QCOMPARE(QString::fromStdString(RoundedText(1.75L * 2.7L, -2, ',')), QString("4,72"));
        QCOMPARE(QString::fromStdString(RoundedText(1.75L * 2.7, -2, ',')), QString("4,73"));
    }
};

VELARO_TEST_MAIN(NumbersTest)
#include "test_numbers.moc"

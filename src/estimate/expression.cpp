#include "estimate/expression.h"

namespace velaro {
namespace {

constexpr int kMaxIntegerDigits = 15;
constexpr int kMaxDecimals = 6;
constexpr int kMaxDepth = 200;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isPoint(QChar c) {
    return c == u',' || c == u'.';
}
bool isPlus(QChar c) {
    return c == u'+';
}
bool isMinus(QChar c) {
    return c == u'-' || c == u'\u2212' || c == u'\u2013';
}
bool isTimes(QChar c) {
    return c == u'*' || c == u'\u00d7' || c == u'\u00b7';
}
bool isDivide(QChar c) {
    return c == u'/' || c == u':';
}

// Thrown to the top with the first mistake: nothing after it is worth reading.
struct Mistake {
    int at;
    QString what;
};

class Parser {
  public:
    Parser(const QString& text, QChar separator) : text_(text), separator_(separator) {}

    Decimal whole() {
        skipBlanks();
        if (at_ == size())
            throw Mistake{0, QStringLiteral("пусто")};
        const Decimal value = sum();
        if (at_ < size()) {
            if (peek() == u')')
                throw Mistake{at_, QStringLiteral("лишняя закрывающая скобка")};
            throw expectedOperator();
        }
        return value;
    }

  private:
    int size() const { return int(text_.size()); }
    QChar peek() const { return at_ < size() ? text_[at_] : QChar(); }
    void skipBlanks() {
        while (at_ < size() && text_[at_].isSpace())
            ++at_;
    }

    Mistake expectedOperator() const {
        const QChar c = peek();
        if (isDigit(c) || isPoint(c) || c == u'(')
            return {at_, QStringLiteral("ожидается знак действия")};
        return {at_, QStringLiteral("непонятный знак «%1»").arg(c)};
    }

    // Every step is held to a typed figure's bounds: beyond them a sheet could not keep it.
    static Decimal checked(std::optional<Decimal> value, int at) {
        static const Decimal limit = Decimal::whole(1'000'000'000'000'000LL);
        if (!value || value->compare(limit) >= 0 || value->compare(Decimal() - limit) <= 0)
            throw Mistake{at, QStringLiteral("число слишком велико")};
        return *value;
    }

    Decimal sum() {
        Decimal value = product();
        for (;;) {
            const QChar c = peek();
            if (!isPlus(c) && !isMinus(c))
                return value;
            const int sign = at_++;
            const Decimal right = product();
            value = checked(isPlus(c) ? value + right : value - right, sign);
        }
    }

    Decimal product() {
        Decimal value = signedFactor();
        for (;;) {
            const QChar c = peek();
            if (!isTimes(c) && !isDivide(c))
                return value;
            const int sign = at_++;
            const Decimal right = signedFactor();
            if (isTimes(c)) {
                value = checked(value.times(right), sign);
                if (approximate_)
                    value = value.rounded(kMaxDecimals);
                else if (!(value.rounded(kMaxDecimals) == value))
                    throw Mistake{sign, decimalsMistake()};
            } else if (right.isZero()) {
                throw Mistake{sign, QStringLiteral("деление на ноль")};
            } else if (const auto quotient = value.dividedExactly(right)) {
                value = checked(quotient, sign);
            } else {
                // Worked on at six decimals, the whole rounded to hundredths at the end.
                value = checked(value.dividedRounded(right, kMaxDecimals), sign);
                approximate_ = true;
            }
        }
    }

    // Leaves the position after the factor and the blanks that follow it.
    Decimal signedFactor() {
        skipBlanks();
        const QChar c = peek();
        // Each sign and bracket is a level of recursion: a pasted wall of them must not
        // exhaust the stack.
        if (++depth_ > kMaxDepth)
            throw Mistake{at_, QStringLiteral("слишком много скобок и знаков подряд")};
        if (isPlus(c) || isMinus(c)) {
            ++at_;
            const Decimal value = signedFactor();
            --depth_;
            return isMinus(c) ? Decimal() - value : value;
        }
        Decimal value;
        if (c == u'(') {
            ++at_;
            value = sum();
            if (at_ == size())
                throw Mistake{at_, QStringLiteral("не закрыта скобка")};
            if (peek() != u')')
                throw expectedOperator();
            ++at_;
        } else if (isDigit(c) || isPoint(c)) {
            value = number();
        } else if (at_ == size() || c == u')' || isTimes(c) || isDivide(c)) {
            throw Mistake{at_, QStringLiteral("ожидается число")};
        } else {
            throw Mistake{at_, QStringLiteral("непонятный знак «%1»").arg(c)};
        }
        skipBlanks();
        --depth_;
        return value;
    }

    Decimal number() {
        const int start = at_;
        int point = -1;
        int firstSignificant = -1;
        int digits = 0;
        for (; at_ < size() && (isDigit(peek()) || isPoint(peek())); ++at_) {
            if (isPoint(peek())) {
                if (point >= 0)
                    throw Mistake{at_, QStringLiteral("лишний разделитель в числе")};
                point = at_;
                continue;
            }
            ++digits;
            if (firstSignificant < 0 && (peek() != u'0' || point >= 0))
                firstSignificant = at_;
        }
        if (digits == 0)
            throw Mistake{start, QStringLiteral("ожидается число")};
        if (const auto value = Decimal::parse(text_.mid(start, at_ - start)))
            return *value;
        // parse refuses only what is too long on one side of the point: say which digit.
        const int integerEnd = point >= 0 ? point : at_;
        if (firstSignificant >= 0 && firstSignificant < integerEnd &&
            integerEnd - firstSignificant > kMaxIntegerDigits)
            throw Mistake{firstSignificant + kMaxIntegerDigits,
                          QStringLiteral("число слишком велико")};
        throw Mistake{point + 1 + kMaxDecimals, decimalsMistake()};
    }

    QString decimalsMistake() const {
        return separator_ == u'.' ? QStringLiteral("больше шести знаков после точки")
                                  : QStringLiteral("больше шести знаков после запятой");
    }

    const QString& text_;
    const QChar separator_;
    int at_ = 0;
    int depth_ = 0;
    bool approximate_ = false;

  public:
    bool approximate() const { return approximate_; }
};

} // namespace

QString writtenArithmetic(const QString& text) {
    QString written;
    bool afterOperand = false; // a figure or a closing bracket: a sign next joins two terms
    for (const QChar c : text) {
        if (c.isSpace())
            continue;
        const bool sign = isPlus(c) || isMinus(c);
        const QChar shown = isMinus(c) ? QChar(u'\u2212') : c;
        if (sign && afterOperand)
            written += u' ' + QString(shown) + u' ';
        else if (isTimes(c))
            written += QStringLiteral(" × ");
        else if (isDivide(c))
            written += QStringLiteral(" / ");
        else
            written += shown;
        afterOperand = isDigit(c) || isPoint(c) || c == u')';
    }
    return written;
}

Evaluation evaluateQuantity(const QString& text, QChar separator) {
    Evaluation result;
    if (text.size() > kLongestQuantity) {
        result.errorAt = kLongestQuantity;
        result.error = QStringLiteral("выражение длиннее %1 знаков").arg(kLongestQuantity);
        return result;
    }
    try {
        Parser parser(text, separator);
        result.value = parser.whole();
        result.approximate = parser.approximate();
        if (result.approximate)
            result.value = result.value->rounded(2);
    } catch (const Mistake& mistake) {
        result.errorAt = mistake.at;
        result.error = mistake.what;
    }
    return result;
}

} // namespace velaro

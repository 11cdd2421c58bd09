#include "estimate/decimal.h"

#include <algorithm>

namespace velaro {
namespace {

using Wide = Decimal::Wide;

// Bounds that keep every sum and aligned value of a sheet far inside 128 bits: results carry at
// most fifteen significant digits, and nothing in an estimate needs more than six decimals.
constexpr int kMaxScale = 6;
constexpr int kMaxIntegerDigits = 15;

Wide powerOfTen(int exponent) {
    Wide power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

} // namespace

std::optional<Decimal> Decimal::parse(const QString& raw) {
    const QString text = raw.trimmed();
    int i = 0;
    const int n = int(text.size());
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    QString digits;
    int fractionDigits = 0;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits += c;
            if (separatorSeen)
                ++fractionDigits;
        } else if ((c == u',' || c == u'.') && !separatorSeen) {
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (digits.isEmpty())
        return std::nullopt;
    int exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'-' || text[i] == u'+'))
            negativeExponent = text[i++] == u'-';
        const int start = i;
        for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            exponent = exponent * 10 + (text[i].unicode() - u'0');
            if (exponent > 100)
                return std::nullopt;
        }
        if (i == start)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;

    // Leading zeros carry nothing; the scale is the count of decimals after the exponent.
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove(0, 1);
    int scale = fractionDigits - exponent;
    if (scale < 0) {
        digits += QString(-scale, u'0');
        scale = 0;
    }
    while (scale > kMaxScale && digits.endsWith(u'0')) {
        digits.chop(1);
        --scale;
    }
    if (scale > kMaxScale || digits.size() - scale > kMaxIntegerDigits)
        return std::nullopt;
    Wide units = 0;
    for (QChar c : digits)
        units = units * 10 + (c.unicode() - u'0');
    return Decimal(negative ? -units : units, scale);
}

Decimal Decimal::aligned(const Decimal& value, int scale) {
    return Decimal(value.units_ * powerOfTen(scale - value.scale_), scale);
}

Decimal Decimal::operator+(const Decimal& other) const {
    const int scale = std::max(scale_, other.scale_);
    return Decimal(aligned(*this, scale).units_ + aligned(other, scale).units_, scale);
}

Decimal Decimal::operator-(const Decimal& other) const {
    const int scale = std::max(scale_, other.scale_);
    return Decimal(aligned(*this, scale).units_ - aligned(other, scale).units_, scale);
}

std::optional<Decimal> Decimal::times(const Decimal& other) const {
    Wide units = 0;
    if (__builtin_mul_overflow(units_, other.units_, &units))
        return std::nullopt;
    Decimal product(units, scale_ + other.scale_);
    // Trailing zeros of the product carry nothing and would only narrow the range.
    while (product.scale_ > 0 && product.units_ % 10 == 0) {
        product.units_ /= 10;
        --product.scale_;
    }
    if (product.scale_ > 2 * kMaxScale)
        product = product.rounded(2 * kMaxScale);
    return product;
}

std::optional<Decimal> Decimal::dividedExactly(const Decimal& divisor) const {
    if (divisor.units_ == 0)
        return std::nullopt;
    const int scale = std::max(scale_, divisor.scale_);
    Wide dividend = 0;
    if (__builtin_mul_overflow(aligned(*this, scale).units_, powerOfTen(kMaxScale), &dividend))
        return std::nullopt;
    const Wide b = aligned(divisor, scale).units_;
    if (dividend % b != 0)
        return std::nullopt;
    Decimal quotient(dividend / b, kMaxScale);
    while (quotient.scale_ > 0 && quotient.units_ % 10 == 0) {
        quotient.units_ /= 10;
        --quotient.scale_;
    }
    return quotient;
}

std::optional<Decimal> Decimal::dividedRounded(const Decimal& divisor, int decimals) const {
    if (divisor.units_ == 0 || decimals < 0 || decimals > kMaxScale)
        return std::nullopt;
    const int scale = std::max(scale_, divisor.scale_);
    Wide dividend = 0;
    if (__builtin_mul_overflow(aligned(*this, scale).units_, powerOfTen(decimals), &dividend))
        return std::nullopt;
    const Wide b = aligned(divisor, scale).units_;
    Wide quotient = dividend / b;
    const Wide rest = dividend % b;
    if (2 * (rest < 0 ? -rest : rest) >= (b < 0 ? -b : b))
        quotient += (dividend < 0) != (b < 0) ? -1 : 1;
    Decimal result(quotient, decimals);
    while (result.scale_ > 0 && result.units_ % 10 == 0) {
        result.units_ /= 10;
        --result.scale_;
    }
    return result;
}

std::optional<long long> Decimal::wholeUnitsUp(const Decimal& divisor) const {
    if (divisor.units_ <= 0)
        return std::nullopt;
    const int scale = std::max(scale_, divisor.scale_);
    const Wide a = aligned(*this, scale).units_;
    const Wide b = aligned(divisor, scale).units_;
    Wide quotient = a / b;
    if (a % b != 0 && a > 0)
        ++quotient;
    if (quotient > Wide(9'000'000'000'000'000'000LL) || quotient < 0)
        return std::nullopt;
    return static_cast<long long>(quotient);
}

Decimal Decimal::rounded(int decimals) const {
    if (scale_ <= decimals)
        return *this;
    const Wide divisor = powerOfTen(scale_ - decimals);
    Wide whole = units_ / divisor;
    const Wide rest = units_ % divisor;
    if (rest * 2 >= divisor)
        ++whole;
    else if (rest * 2 <= -divisor)
        --whole;
    return Decimal(whole, decimals);
}

int Decimal::compare(const Decimal& other) const {
    const int scale = std::max(scale_, other.scale_);
    const Wide a = aligned(*this, scale).units_;
    const Wide b = aligned(other, scale).units_;
    return a < b ? -1 : (a > b ? 1 : 0);
}

QString Decimal::text(QChar separator, int minDecimals, bool grouped) const {
    Wide magnitude = units_ < 0 ? -units_ : units_;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    if (digits.size() <= scale_)
        digits.prepend(QString(scale_ - digits.size() + 1, u'0'));
    QString whole = digits.left(digits.size() - scale_);
    QString fraction = digits.right(scale_);
    while (fraction.size() > minDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);
    while (fraction.size() < minDecimals)
        fraction += u'0';
    if (grouped)
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, u' ');
    QString written = units_ < 0 ? QStringLiteral("-") + whole : whole;
    if (!fraction.isEmpty())
        written += separator + fraction;
    return written;
}

} // namespace velaro

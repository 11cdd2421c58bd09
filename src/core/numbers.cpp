#include "core/numbers.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velaro {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Exponents beyond this already overflow or underflow the extended range; clamping keeps the
// arithmetic on the exponent itself free of overflow.
constexpr long kExponentClamp = 100000;

long double scaleByPowerOfTen(long double digits, long exponent) {
    if (digits == 0.0L || exponent == 0)
        return digits;
    if (exponent > 0)
        return digits * IntPower(10.0L, static_cast<int>(exponent));
    return digits / IntPower(10.0L, static_cast<int>(-exponent));
}

} // namespace

bool TryStrToFloat(std::string_view text, char decimalSeparator, long double& value) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    long double digits = 0.0L;
    long fractionDigits = 0;
    bool mantissaSeen = false;
    for (; i < n && isDigit(text[i]); ++i) {
        digits = digits * 10.0L + static_cast<long double>(text[i] - '0');
        mantissaSeen = true;
    }
    if (i < n && text[i] == decimalSeparator) {
        mantissaSeen = true;
        for (++i; i < n && isDigit(text[i]); ++i) {
            digits = digits * 10.0L + static_cast<long double>(text[i] - '0');
            if (fractionDigits < kExponentClamp)
                ++fractionDigits;
        }
    }
    if (!mantissaSeen)
        return false;

    long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        if (i >= n || !isDigit(text[i]))
            return false;
        for (; i < n && isDigit(text[i]); ++i)
            if (exponent < kExponentClamp)
                exponent = exponent * 10 + (text[i] - '0');
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return false;

    long double result = scaleByPowerOfTen(digits, exponent - fractionDigits);
    if (!std::isfinite(result))
        return false;
    value = negative ? -result : result;
    return true;
}

long double StrToFloat(std::string_view text, char decimalSeparator) {
    long double value = 0.0L;
    if (!TryStrToFloat(text, decimalSeparator, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

std::string FloatToStr(long double value, char decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0L)
        return "0"; // also for negative zero

    // Correctly rounded to 15 significant digits; %g's rule picks the exponent form exactly
    // past 15 integer digits or below 0.0001.
    std::array<char, 64> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::general, 15);
    (void)ec; // 64 characters hold any 15-digit general form
    std::string raw(buffer.data(), end);

    std::string out;
    out.reserve(raw.size());
    std::size_t e = raw.find('e');
    std::string mantissa = raw.substr(0, e);
    for (char c : mantissa)
        out += (c == '.') ? decimalSeparator : c;
    if (e != std::string::npos) {
        // "1.5e+16" is written "1,5E16", "1e-05" as "1E-5".
        out += 'E';
        std::size_t k = e + 1;
        if (raw[k] == '-')
            out += '-';
        if (raw[k] == '+' || raw[k] == '-')
            ++k;
        while (k + 1 < raw.size() && raw[k] == '0')
            ++k;
        out += raw.substr(k);
    }
    return out;
}

long double IntPower(long double base, int exponent) {
    // Widen first so that the magnitude of INT_MIN is representable.
    long long e = exponent;
    const bool invert = e < 0;
    unsigned long long remaining = static_cast<unsigned long long>(invert ? -e : e);
    long double result = 1.0L;
    long double square = base;
    while (remaining != 0) {
        if (remaining & 1u)
            result *= square;
        remaining >>= 1;
        if (remaining != 0)
            square *= square;
    }
    return invert ? 1.0L / result : result;
}

double SimpleRoundTo(double value, std::int8_t digit) {
    const double factor = static_cast<double>(IntPower(10.0L, digit));
    const long double scaled =
        static_cast<long double>(value) / static_cast<long double>(factor) + 0.5L;
    // Whole units are taken toward minus infinity: the same as truncation for every result a
    // measurement can give, and for a negative value it still rounds half up instead of moving
    // a whole unit toward zero (-1.234 stays -1.23, where truncation would give -1.22).
    const long double whole = std::floor(scaled);
    // Only a 64-bit integer's range can be taken: [-2^63, 2^63).
    constexpr long double kTwoTo63 = 9223372036854775808.0L;
    if (!(whole < kTwoTo63 && whole >= -kTwoTo63))
        throw EInvalidOp();
    const auto units = static_cast<std::int64_t>(whole);
    return static_cast<double>(static_cast<long double>(units) *
                               static_cast<long double>(factor));
}

} // namespace velaro

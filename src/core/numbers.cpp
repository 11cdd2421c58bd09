#include "core/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace velaro {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponents beyond this already overflow or underflow the extended range however many digits
// stand before them; clamping keeps the arithmetic on the exponent itself free of overflow.
constexpr long long kExponentClamp = 1000000000000000LL;
// Powers of ten past this are infinite in the extended type: a clamp here changes no result.
constexpr long long kScaleClamp = 20000;
// What the digit accumulator reads as it always has: mantissas of up to this many digits, with
// values well inside the extended range (about 3.4e-4932 to 1.19e4932).
constexpr std::size_t kOrdinaryDigits = 100;
constexpr long double kOrdinaryLeast = 1e-4900L;
constexpr long double kOrdinaryGreatest = 1e4900L;

long double scaleByPowerOfTen(long double digits, long long exponent) {
    if (digits == 0.0L || exponent == 0)
        return digits;
    const int scale = static_cast<int>(std::clamp(exponent, -kScaleClamp, kScaleClamp));
    if (scale > 0)
        return digits * IntPower(10.0L, scale);
    return digits / IntPower(10.0L, -scale);
}

// The value of a well-formed mantissa's digits times 10^exponent, correctly rounded, for the
// texts the digit accumulator cannot take (thousands of digits, or a value at the edge of the
// range): false where the value lies past the extended range, 0 where it lies below it.
bool exactValue(std::string_view wholeDigits, std::string_view fractionDigits, long long exponent,
                long double& value) {
    std::string significant;
    significant.reserve(wholeDigits.size() + fractionDigits.size() + 24);
    for (std::string_view part : {wholeDigits, fractionDigits})
        for (char c : part)
            if (c != '0' || !significant.empty())
                significant += c;
    long long scale = exponent - static_cast<long long>(fractionDigits.size());
    while (!significant.empty() && significant.back() == '0') {
        significant.pop_back();
        ++scale;
    }
    if (significant.empty()) {
        value = 0.0L;
        return true;
    }
    // The value lies in [10^(magnitude-1), 10^magnitude); the extended range ends below 10^4933
    // and rounds to zero below 10^-4952.
    const long long magnitude = static_cast<long long>(significant.size()) + scale;
    if (magnitude > 4933)
        return false;
    if (magnitude < -4960) {
        value = 0.0L;
        return true;
    }
    // Digits and an exponent only, no decimal point, so the C library reads it the same in every
    // locale; it rounds correctly however many digits there are.
    significant += 'e';
    significant += std::to_string(scale);
    value = std::strtold(significant.c_str(), nullptr);
    return std::isfinite(value);
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
    bool mantissaSeen = false;
    const std::size_t wholeBegin = i;
    for (; i < n && isDigit(text[i]); ++i) {
        digits = digits * 10.0L + static_cast<long double>(text[i] - '0');
        mantissaSeen = true;
    }
    const std::string_view whole = text.substr(wholeBegin, i - wholeBegin);
    std::string_view fraction;
    if (i < n && text[i] == decimalSeparator) {
        mantissaSeen = true;
        const std::size_t fractionBegin = ++i;
        for (; i < n && isDigit(text[i]); ++i)
            digits = digits * 10.0L + static_cast<long double>(text[i] - '0');
        fraction = text.substr(fractionBegin, i - fractionBegin);
    }
    if (!mantissaSeen)
        return false;

    long long exponent = 0;
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

    // Ordinary numbers: the digits gathered in extended precision, then scaled, as the
    // calculators' results have always been read. Thousands of digits overflow that accumulator
    // and its rounding steps matter at the ends of the range, so there the digits are converted
    // exactly instead.
    long double result =
        scaleByPowerOfTen(digits, exponent - static_cast<long long>(fraction.size()));
    const long double magnitude = std::fabs(result);
    const bool ordinary =
        whole.size() + fraction.size() <= kOrdinaryDigits &&
        (digits == 0.0L || (magnitude >= kOrdinaryLeast && magnitude <= kOrdinaryGreatest));
    if (!ordinary && !exactValue(whole, fraction, exponent, result))
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

    // Correctly rounded to 15 significant digits (64 characters hold any such general form);
    // %g's rule picks the exponent form exactly past 15 integer digits or below 0.0001.
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::general, 15);
    const std::string raw(buffer.data(), written.ptr);
    const std::size_t e = raw.find('e');
    std::string out = raw.substr(0, e);
    std::replace(out.begin(), out.end(), '.', decimalSeparator);
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
    return static_cast<double>(static_cast<long double>(units) * static_cast<long double>(factor));
}

} // namespace velaro

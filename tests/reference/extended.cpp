#include "reference/extended.h"

#include <stdexcept>
#include <utility>

namespace reference {

Real::Real(mpfr_prec_t bits) {
    mpfr_init2(value_, bits);
    mpfr_set_zero(value_, 1);
}

Real::Real(const Real& other) {
    mpfr_init2(value_, mpfr_get_prec(other.value_));
    mpfr_set(value_, other.value_, MPFR_RNDN);
}

Real::Real(Real&& other) noexcept {
    mpfr_init2(value_, MPFR_PREC_MIN);
    mpfr_swap(value_, other.value_);
}

Real& Real::operator=(Real other) noexcept {
    mpfr_swap(value_, other.value_);
    return *this;
}

Real::~Real() {
    mpfr_clear(value_);
}

Real rounded(const Real& value, mpfr_prec_t bits) {
    Real result(bits);
    mpfr_set(result.get(), value.get(), MPFR_RNDN);
    return result;
}

Real decimal(std::string_view text, mpfr_prec_t bits) {
    Real result(bits);
    const std::string owned(text);
    if (mpfr_set_str(result.get(), owned.c_str(), 10, MPFR_RNDN) != 0)
        throw std::invalid_argument("not a decimal: " + owned);
    return result;
}

Real pi(mpfr_prec_t bits) {
    Real result(bits);
    mpfr_const_pi(result.get(), MPFR_RNDN);
    return result;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// 10^exponent in extended precision by repeated squaring, every product rounded.
Real extendedPowerOfTen(unsigned exponent) {
    Real result, square;
    mpfr_set_ui(result.get(), 1, MPFR_RNDN);
    mpfr_set_ui(square.get(), 10, MPFR_RNDN);
    while (exponent != 0) {
        if (exponent & 1u)
            mpfr_mul(result.get(), result.get(), square.get(), MPFR_RNDN);
        exponent >>= 1;
        if (exponent != 0)
            mpfr_mul(square.get(), square.get(), square.get(), MPFR_RNDN);
    }
    return result;
}

void requireTypable(std::string_view text, char separator) {
    int separators = 0;
    for (char c : text) {
        if (c == separator)
            ++separators;
        else if (!isDigit(c))
            throw std::invalid_argument("the reference reads digits and one separator only");
    }
    if (separators > 1 || text.empty())
        throw std::invalid_argument("the reference reads digits and one separator only");
}

} // namespace

Real readExtended(std::string_view text, char separator) {
    requireTypable(text, separator);
    Real digits;
    unsigned fractionDigits = 0;
    bool inFraction = false;
    for (char c : text) {
        if (c == separator) {
            inFraction = true;
            continue;
        }
        mpfr_mul_ui(digits.get(), digits.get(), 10, MPFR_RNDN);
        mpfr_add_ui(digits.get(), digits.get(), static_cast<unsigned long>(c - '0'), MPFR_RNDN);
        if (inFraction)
            ++fractionDigits;
    }
    if (fractionDigits == 0)
        return digits;
    Real value;
    mpfr_div(value.get(), digits.get(), extendedPowerOfTen(fractionDigits).get(), MPFR_RNDN);
    return value;
}

Real readExact(std::string_view text, char separator) {
    requireTypable(text, separator);
    std::string plain(text);
    for (char& c : plain)
        if (c == separator)
            c = '.';
    if (plain == ".")
        plain = "0";
    return decimal(plain, kExactBits);
}

Real simpleRoundTo(const Real& extendedValue, int digit) {
    // Step 1: the value arrives as a double.
    const Real value = rounded(extendedValue, kDoubleBits);
    // Step 2: the factor, formed in extended and stored as a double.
    Real power = extendedPowerOfTen(static_cast<unsigned>(digit < 0 ? -digit : digit));
    if (digit < 0)
        mpfr_ui_div(power.get(), 1, power.get(), MPFR_RNDN);
    const Real factor = rounded(power, kDoubleBits);
    // Step 3: value / factor + 0.5 in extended, truncated to a whole 64-bit number.
    Real scaled;
    mpfr_div(scaled.get(), value.get(), factor.get(), MPFR_RNDN);
    mpfr_add_d(scaled.get(), scaled.get(), 0.5, MPFR_RNDN);
    Real whole;
    mpfr_trunc(whole.get(), scaled.get());
    if (!mpfr_zero_p(whole.get()) && mpfr_get_exp(whole.get()) > 63) // |whole| >= 2^63
        throw std::range_error("Invalid floating point operation");
    // Step 4: back to the unit in extended, returned as a double.
    Real back;
    mpfr_mul(back.get(), whole.get(), factor.get(), MPFR_RNDN);
    return rounded(back, kDoubleBits);
}

std::string floatToStr(const Real& value, char separator) {
    if (mpfr_zero_p(value.get()))
        return "0";
    mpfr_exp_t exponent = 0;
    char* raw = mpfr_get_str(nullptr, &exponent, 10, 15, value.get(), MPFR_RNDN);
    std::string digits(raw);
    mpfr_free_str(raw);

    std::string out;
    if (digits.front() == '-') {
        out = "-";
        digits.erase(0, 1);
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    // The value is 0.DIGITS × 10^exponent.
    const auto length = static_cast<mpfr_exp_t>(digits.size());
    if (exponent > 15 || exponent < -3) {
        out += digits.substr(0, 1);
        if (length > 1)
            out += separator + digits.substr(1);
        out += 'E' + std::to_string(exponent - 1);
    } else if (exponent <= 0) {
        out += "0";
        out += separator;
        out += std::string(static_cast<std::size_t>(-exponent), '0') + digits;
    } else if (exponent >= length) {
        out += digits + std::string(static_cast<std::size_t>(exponent - length), '0');
    } else {
        out += digits.substr(0, static_cast<std::size_t>(exponent)) + separator +
               digits.substr(static_cast<std::size_t>(exponent));
    }
    return out;
}

} // namespace reference

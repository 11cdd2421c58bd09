#pragma once
// An independent model of the program's arithmetic on MPFR, for the tests only. Each operation
// on the extended type is one MPFR operation at 64-bit precision rounded to nearest; handing a
// value over as a double is a rounding to 53 bits. Nothing here uses the program's own number
// code, so the two can be compared digit for digit.

#include <mpfr.h>

#include <string>
#include <string_view>

namespace reference {

inline constexpr mpfr_prec_t kExtendedBits = 64;
inline constexpr mpfr_prec_t kDoubleBits = 53;
// Wide enough that a short decimal or a product of a few of them is held to far below any
// difference that matters here: the "true" value of a result, to measure how near a half it is.
inline constexpr mpfr_prec_t kExactBits = 256;

// An MPFR number that owns its storage.
class Real {
  public:
    explicit Real(mpfr_prec_t bits = kExtendedBits);
    Real(const Real& other);
    Real(Real&& other) noexcept;
    Real& operator=(Real other) noexcept;
    ~Real();

    mpfr_ptr get() { return value_; }
    mpfr_srcptr get() const { return value_; }

  private:
    mpfr_t value_;
};

// `value` rounded to nearest at `bits`.
Real rounded(const Real& value, mpfr_prec_t bits);
// A decimal written with '.', rounded to nearest at `bits` (how a literal becomes a constant).
Real decimal(std::string_view text, mpfr_prec_t bits);
// π rounded to nearest at `bits`.
Real pi(mpfr_prec_t bits);

// What the program reads from field text a person can type (digits and at most one separator):
// the digits accumulated in extended precision, then divided by 10 to the number of fraction
// digits, that power formed by repeated squaring in extended precision.
Real readExtended(std::string_view text, char separator);
// The decimal value of the same text, at kExactBits.
Real readExact(std::string_view text, char separator);

// The rounding routine's four steps: the extended value handed over as a double; the factor
// 10^digit in extended (inverted for a negative digit) stored as a double; value / factor + 0.5
// in extended, truncated to a whole number (below 2^63); that times the factor in extended,
// returned as a double. The result has 53 bits.
Real simpleRoundTo(const Real& extendedValue, int digit);

// General format: 15 significant digits rounded to nearest, no trailing zeros, the separator;
// exponent form past 15 integer digits or below 0.0001.
std::string floatToStr(const Real& value, char separator);

} // namespace reference

#pragma once
// The number model every calculator shares: reading field text, writing results, and the
// half-up rounding. Plain C++ so it can be tested, fuzzed and benchmarked without a window.
// Working values are `long double` (64-bit significand): results near a half depend on it.

#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

static_assert(std::numeric_limits<long double>::digits == 64,
              "working values need the 64-bit significand of the x87 extended type");

namespace velaro {

// An error that ends a click and is shown to the user with its message. The message may quote
// field text, which can hold a NUL (a middle-click paste brings one): what() ends there, so
// message() is the one to show.
class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message), message_(std::make_shared<const std::string>(message)) {}
    const std::string& message() const noexcept { return *message_; }

  private:
    std::shared_ptr<const std::string> message_; // shared, so that copying never throws
};

// Malformed number text.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// A floating-point operation that cannot be done, such as truncating a value past 2^63.
class EInvalidOp : public Exception {
  public:
    EInvalidOp() : Exception("Invalid floating point operation") {}
};

// Reads field text by the field grammar: blanks, an optional sign, digits with at most one
// decimal separator (at least one digit or the separator), an optional decimal exponent, blanks.
// Throws EConvertError "'<text>' is not a valid floating point value" otherwise, and when the
// value overflows the extended range.
long double StrToFloat(std::string_view text, char decimalSeparator);

// As StrToFloat, without throwing: false on malformed text.
bool TryStrToFloat(std::string_view text, char decimalSeparator, long double& value);

// General format, at most 15 significant digits, no trailing zeros, the given separator;
// exponent form past 15 integer digits or for a non-zero magnitude below 0.0001.
std::string FloatToStr(long double value, char decimalSeparator);

// base raised to exponent by repeated squaring in extended precision; a negative exponent
// inverts the positive power.
long double IntPower(long double base, int exponent);

// Half-up rounding to 10^digit: value / factor + 0.5 taken down to a whole 64-bit number of
// units, times the factor, with the factor held as a double. The value arrives as a double, and
// the stored hundredth lies slightly above 0.01, so 0.125 gives 0.12 and 2.675 gives 2.67.
// Throws EInvalidOp where the whole number is past the 64-bit range, infinite or NaN.
double SimpleRoundTo(double value, std::int8_t digit);

// What a calculator shows for a working value: rounded at `digit`, then written.
inline std::string RoundedText(long double value, std::int8_t digit, char decimalSeparator) {
    return FloatToStr(SimpleRoundTo(static_cast<double>(value), digit), decimalSeparator);
}

} // namespace velaro

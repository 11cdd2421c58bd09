#pragma once
// Exact decimal figures for the sheet's sums. A figure as shown («12,35») is held as the whole
// number of its last shown decimal (1235 hundredths), so a sum is what a person adding the
// column gets and never a binary approximation of it. Plain C++ over Qt strings.

#include <QString>

#include <optional>

namespace velaro {

class Decimal {
  public:
    __extension__ typedef __int128 Wide;

    Decimal() = default;
    static Decimal whole(long long value) { return Decimal(value, 0); }

    // A shown figure: an optional minus, digits with at most one ',' or '.', an optional
    // exponent (E-5, e+3) as results are written past fifteen digits. Blanks around it are
    // allowed, grouping blanks inside it are not. nullopt for anything else, and for figures of
    // more than fifteen integer digits or six decimals, which no estimate holds.
    static std::optional<Decimal> parse(const QString& text);

    Decimal operator+(const Decimal& other) const;
    Decimal operator-(const Decimal& other) const;
    Decimal& operator+=(const Decimal& other) { return *this = *this + other; }
    Decimal& operator-=(const Decimal& other) { return *this = *this - other; }
    // nullopt where the exact product leaves the range the type can hold.
    std::optional<Decimal> times(const Decimal& other) const;
    // The quotient where it has at most six decimals, as a typed figure may; nullopt where it
    // has more (or never ends) and for a zero divisor.
    std::optional<Decimal> dividedExactly(const Decimal& divisor) const;
    // The quotient half away from zero at `decimals` places (at most six); nullopt for a zero
    // divisor or past the range.
    std::optional<Decimal> dividedRounded(const Decimal& divisor, int decimals) const;
    // This quotient taken up to a whole number (divisor > 0): whole cans for a quantity.
    std::optional<long long> wholeUnitsUp(const Decimal& divisor) const;
    // Half away from zero at `decimals` places.
    Decimal rounded(int decimals) const;

    bool isZero() const { return units_ == 0; }
    bool isNegative() const { return units_ < 0; }
    bool operator==(const Decimal& other) const { return compare(other) == 0; }
    int compare(const Decimal& other) const;

    // Written with `separator`, without trailing zeros past `minDecimals`; thousands grouped
    // by blanks when asked («1 234,56»).
    QString text(QChar separator, int minDecimals = 0, bool grouped = false) const;

  private:
    Decimal(Wide units, int scale) : units_(units), scale_(scale) {}
    static Decimal aligned(const Decimal& value, int scale);

    Wide units_ = 0; // the value is units_ / 10^scale_
    int scale_ = 0;
};

} // namespace velaro

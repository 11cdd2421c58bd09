#pragma once
// A calculator's displayed results written as data: each term starts from a field's value and
// is multiplied (or divided) factor by factor, left to right, by field values and coefficients;
// each shown result is the sum of some terms rounded at a digit. The calculator models build one
// plan per set of inputs; the MPFR model, the exact value and the faulty programs of the power
// check all run the same plan.

#include "reference/extended.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

// A coefficient by the text that names it: a decimal ("2.7"), π, or two of them folded into one.
class Coefficient {
  public:
    static const Coefficient& of(std::string_view decimalText);
    static const Coefficient& pi();
    // a × b (or a / b) folded into one constant, as if its product were written as the literal.
    static const Coefficient& folded(const Coefficient& a, bool divide, const Coefficient& b);

    const std::string& name() const { return name_; }
    const Real& exact() const { return exact_; }
    const Real& extended() const { return extended_; } // the `long double` literal
    const Real& asDouble() const { return asDouble_; } // the `double` literal
    bool exactInDouble() const;
    bool powerOfTwo() const;

    Coefficient(std::string name, Real exact, Real extended, Real asDouble);

  private:
    std::string name_;
    Real exact_, extended_, asDouble_;
};

struct Factor {
    bool divide = false;
    std::string field;                        // a field's value, or
    const Coefficient* coefficient = nullptr; // a coefficient
};

struct Term {
    std::string first;                      // the field the term starts from
    std::vector<Factor> factors;            // applied left to right
    std::vector<std::string> zeroWhenEmpty; // any of these empty: the term is 0, nothing parsed
};

struct Shown {
    std::string field;
    std::vector<std::size_t> terms; // summed in this order
    int digit;                      // of the rounding
};

struct Refused {
    std::string message, focus, cleared;
};

struct Plan {
    std::vector<Term> terms;
    std::vector<Shown> shown;
    std::optional<Refused> refused; // set: the rule refuses these inputs
};

// What a person has put into a window: field texts and the ticked boxes.
struct Inputs {
    std::map<std::string, std::string> texts;
    std::set<std::string> ticked;
    bool isTicked(const std::string& box) const { return ticked.count(box) != 0; }
};

using Texts = std::map<std::string, std::string>; // field → displayed text

// The displayed texts by the MPFR model of the program's arithmetic.
Texts referenceTexts(const Plan& plan, const Inputs& inputs, char separator);

// The mathematical value of a shown result (decimal inputs, exact coefficients), at kExactBits.
Real exactValue(const Plan& plan, const Shown& shown, const Inputs& inputs, char separator);

// How far the exact value lies from the nearest rounding half, in units of the last place of the
// double nearest that half; a negative number for a zero value.
double distanceToHalfInUlps(const Real& exact, int digit);

} // namespace reference

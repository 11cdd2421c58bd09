#pragma once
// The arithmetic of a plan as a program with one deliberate fault would do it: `long double`
// values on the program's own parsing, rounding and writing, with a coefficient written as a
// `double` literal, two coefficients pre-multiplied into one constant, or a rounding that
// divides by an exact hundredth. The property test must tell each of them from the reference.

#include "reference/plan.h"

#include <string>
#include <vector>

namespace reference {

struct Fault {
    enum class Kind { None, DoubleLiteral, PreMultiplied, ExactPowerOfTen };
    Kind kind = Kind::None;
    const Coefficient* coefficient = nullptr; // DoubleLiteral: this one as a double
    const Coefficient* first = nullptr;       // PreMultiplied: first × second (or ÷) as one
    const Coefficient* second = nullptr;
    bool secondDivides = false;

    std::string name() const;
    // Whether a careful reader can see that the fault never changes a value: a literal that a
    // double holds exactly, or a product with a power of two (which every rounding keeps).
    bool provablyHarmless() const;
};

// Every fault that touches the plan: each of its coefficients as a double literal, the first two
// coefficients of each term pre-multiplied, and the rounding by an exact power of ten.
std::vector<Fault> faultsOf(const Plan& plan);

// The texts the faulty program shows (Fault::Kind::None: the program's arithmetic without fault).
Texts faultyTexts(const Plan& plan, const Inputs& inputs, char separator, const Fault& fault);

} // namespace reference

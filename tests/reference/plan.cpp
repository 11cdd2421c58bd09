#include "reference/plan.h"

#include <memory>

namespace reference {

Coefficient::Coefficient(std::string name, Real exact, Real extended, Real asDouble)
    : name_(std::move(name)), exact_(std::move(exact)), extended_(std::move(extended)),
      asDouble_(std::move(asDouble)) {}

bool Coefficient::exactInDouble() const {
    return mpfr_equal_p(extended_.get(), asDouble_.get()) != 0 &&
           mpfr_equal_p(exact_.get(), asDouble_.get()) != 0;
}

bool Coefficient::powerOfTwo() const {
    // A power of two has a one-bit significand: multiplying by it is exact.
    Real significand = rounded(exact_, kExactBits);
    mpfr_set_exp(significand.get(), 1); // into [1, 2)
    return mpfr_cmp_ui(significand.get(), 1) == 0;
}

namespace {

// Coefficients live for the whole test; plans point at them.
std::map<std::string, std::unique_ptr<Coefficient>>& coefficientTable() {
    static std::map<std::string, std::unique_ptr<Coefficient>> table;
    return table;
}

const Coefficient& remember(std::unique_ptr<Coefficient> made) {
    auto& slot = coefficientTable()[made->name()];
    if (!slot)
        slot = std::move(made);
    return *slot;
}

} // namespace

const Coefficient& Coefficient::of(std::string_view decimalText) {
    const std::string name(decimalText);
    if (auto it = coefficientTable().find(name); it != coefficientTable().end())
        return *it->second;
    // Each literal is rounded once from its decimal text, as a compiler does.
    return remember(std::make_unique<Coefficient>(
        name, decimal(name, kExactBits), decimal(name, kExtendedBits), decimal(name, kDoubleBits)));
}

const Coefficient& Coefficient::pi() {
    const std::string name = "π";
    if (auto it = coefficientTable().find(name); it != coefficientTable().end())
        return *it->second;
    return remember(std::make_unique<Coefficient>(
        name, reference::pi(kExactBits), reference::pi(kExtendedBits), reference::pi(kDoubleBits)));
}

const Coefficient& Coefficient::folded(const Coefficient& a, bool divide, const Coefficient& b) {
    const std::string name = a.name() + (divide ? "/" : "*") + b.name();
    if (auto it = coefficientTable().find(name); it != coefficientTable().end())
        return *it->second;
    Real exact(kExactBits);
    if (divide)
        mpfr_div(exact.get(), a.exact().get(), b.exact().get(), MPFR_RNDN);
    else
        mpfr_mul(exact.get(), a.exact().get(), b.exact().get(), MPFR_RNDN);
    return remember(std::make_unique<Coefficient>(name, exact, rounded(exact, kExtendedBits),
                                                  rounded(exact, kDoubleBits)));
}

namespace {

bool zeroTerm(const Term& term, const Inputs& inputs) {
    for (const std::string& field : term.zeroWhenEmpty)
        if (inputs.texts.at(field).empty())
            return true;
    return false;
}

// One term at the given precision: field values read by `read`, coefficients by `constant`.
template <class Read, class Constant>
Real termValue(const Term& term, const Inputs& inputs, mpfr_prec_t bits, Read read,
               Constant constant) {
    Real value(bits);
    if (zeroTerm(term, inputs))
        return value;
    value = rounded(read(inputs.texts.at(term.first)), bits);
    for (const Factor& factor : term.factors) {
        const Real operand = factor.coefficient ? constant(*factor.coefficient)
                                                : read(inputs.texts.at(factor.field));
        if (factor.divide)
            mpfr_div(value.get(), value.get(), operand.get(), MPFR_RNDN);
        else
            mpfr_mul(value.get(), value.get(), operand.get(), MPFR_RNDN);
    }
    return value;
}

template <class Read, class Constant>
Real shownValue(const Plan& plan, const Shown& shown, const Inputs& inputs, mpfr_prec_t bits,
                Read read, Constant constant) {
    Real sum(bits);
    for (std::size_t index : shown.terms)
        mpfr_add(sum.get(), sum.get(),
                 termValue(plan.terms.at(index), inputs, bits, read, constant).get(), MPFR_RNDN);
    return sum;
}

} // namespace

Texts referenceTexts(const Plan& plan, const Inputs& inputs, char separator) {
    const auto read = [separator](const std::string& text) {
        return readExtended(text, separator);
    };
    const auto constant = [](const Coefficient& c) { return c.extended(); };
    Texts texts;
    for (const Shown& shown : plan.shown) {
        const Real value = shownValue(plan, shown, inputs, kExtendedBits, read, constant);
        texts[shown.field] = floatToStr(simpleRoundTo(value, shown.digit), separator);
    }
    return texts;
}

Real exactValue(const Plan& plan, const Shown& shown, const Inputs& inputs, char separator) {
    const auto read = [separator](const std::string& text) { return readExact(text, separator); };
    const auto constant = [](const Coefficient& c) { return c.exact(); };
    return shownValue(plan, shown, inputs, kExactBits, read, constant);
}

double distanceToHalfInUlps(const Real& exact, int digit) {
    if (mpfr_zero_p(exact.get()))
        return -1.0;
    // value / 10^digit − ½, and its distance to the nearest whole number.
    static std::map<int, Real> units;
    auto it = units.find(digit);
    if (it == units.end())
        it = units.emplace(digit, decimal("1e" + std::to_string(digit), kExactBits)).first;
    const Real& unit = it->second;
    Real scaled(kExactBits), whole(kExactBits), half(kExactBits);
    mpfr_div(scaled.get(), exact.get(), unit.get(), MPFR_RNDN);
    mpfr_sub_d(scaled.get(), scaled.get(), 0.5, MPFR_RNDN);
    mpfr_round(whole.get(), scaled.get());
    mpfr_add_d(half.get(), whole.get(), 0.5, MPFR_RNDN);
    mpfr_mul(half.get(), half.get(), unit.get(), MPFR_RNDN); // the nearest half, as a value
    Real gap(kExactBits);
    mpfr_sub(gap.get(), exact.get(), half.get(), MPFR_RNDN);
    mpfr_abs(gap.get(), gap.get(), MPFR_RNDN);
    // The last place of a double of that magnitude: 2^(exponent − 53).
    const mpfr_exp_t exponent = mpfr_get_exp(half.get());
    mpfr_mul_2si(gap.get(), gap.get(), -(static_cast<long>(exponent) - 53), MPFR_RNDN);
    return mpfr_get_d(gap.get(), MPFR_RNDN);
}

} // namespace reference

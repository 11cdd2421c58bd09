#include "reference/faulty.h"

#include "core/numbers.h"

#include <cmath>
#include <set>

namespace reference {

std::string Fault::name() const {
    switch (kind) {
    case Kind::None:
        return "no fault";
    case Kind::DoubleLiteral:
        return coefficient->name() + " as a double literal";
    case Kind::PreMultiplied:
        return first->name() + (secondDivides ? "/" : "*") + second->name() + " pre-multiplied";
    case Kind::ExactPowerOfTen:
        return "rounding by an exact power of ten";
    }
    return {};
}

bool Fault::provablyHarmless() const {
    switch (kind) {
    case Kind::DoubleLiteral:
        return coefficient->exactInDouble();
    case Kind::PreMultiplied:
        return first->powerOfTwo() || second->powerOfTwo();
    default:
        return false;
    }
}

namespace {

// Positions of the first two coefficients of a term, if it has two.
bool firstTwoCoefficients(const Term& term, std::size_t& a, std::size_t& b) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < term.factors.size() && found < 2; ++i) {
        if (!term.factors[i].coefficient)
            continue;
        (found == 0 ? a : b) = i;
        ++found;
    }
    return found == 2 && !term.factors[a].divide;
}

bool foldsHere(const Fault& fault, const Term& term, std::size_t& a, std::size_t& b) {
    return firstTwoCoefficients(term, a, b) && term.factors[a].coefficient == fault.first &&
           term.factors[b].coefficient == fault.second &&
           term.factors[b].divide == fault.secondDivides;
}

long double constant(const Coefficient& c, const Fault& fault) {
    if (fault.kind == Fault::Kind::DoubleLiteral && fault.coefficient == &c)
        return static_cast<long double>(mpfr_get_d(c.asDouble().get(), MPFR_RNDN));
    return mpfr_get_ld(c.extended().get(), MPFR_RNDN);
}

long double termValue(Term term, const Inputs& inputs, char separator, const Fault& fault) {
    for (const std::string& field : term.zeroWhenEmpty)
        if (inputs.texts.at(field).empty())
            return 0.0L;
    std::size_t a = 0, b = 0;
    if (fault.kind == Fault::Kind::PreMultiplied && foldsHere(fault, term, a, b)) {
        term.factors[a].coefficient =
            &Coefficient::folded(*fault.first, fault.secondDivides, *fault.second);
        term.factors.erase(term.factors.begin() + static_cast<std::ptrdiff_t>(b));
    }
    long double value = velaro::StrToFloat(inputs.texts.at(term.first), separator);
    for (const Factor& factor : term.factors) {
        const long double operand =
            factor.coefficient ? constant(*factor.coefficient, fault)
                               : velaro::StrToFloat(inputs.texts.at(factor.field), separator);
        value = factor.divide ? value / operand : value * operand;
    }
    return value;
}

// Half-up rounding with the unit taken as an exact power of ten: value × 100 instead of value
// divided by the stored hundredth.
double roundByExactPowerOfTen(double value, int digit) {
    const long double scale = velaro::IntPower(10.0L, -digit);
    const long double whole = std::floor(static_cast<long double>(value) * scale + 0.5L);
    return static_cast<double>(whole / scale);
}

} // namespace

std::vector<Fault> faultsOf(const Plan& plan) {
    std::vector<Fault> faults;
    std::set<const Coefficient*> seen;
    std::set<std::string> folds;
    for (const Term& term : plan.terms) {
        for (const Factor& factor : term.factors)
            if (factor.coefficient && seen.insert(factor.coefficient).second)
                faults.push_back(Fault{Fault::Kind::DoubleLiteral, factor.coefficient});
        std::size_t a = 0, b = 0;
        if (firstTwoCoefficients(term, a, b)) {
            Fault fold{Fault::Kind::PreMultiplied, nullptr, term.factors[a].coefficient,
                       term.factors[b].coefficient, term.factors[b].divide};
            if (folds.insert(fold.name()).second)
                faults.push_back(fold);
        }
    }
    faults.push_back(Fault{Fault::Kind::ExactPowerOfTen});
    return faults;
}

Texts faultyTexts(const Plan& plan, const Inputs& inputs, char separator, const Fault& fault) {
    Texts texts;
    for (const Shown& shown : plan.shown) {
        long double sum = 0.0L;
        for (std::size_t index : shown.terms)
            sum += termValue(plan.terms.at(index), inputs, separator, fault);
        const double rounded = fault.kind == Fault::Kind::ExactPowerOfTen
                                   ? roundByExactPowerOfTen(static_cast<double>(sum), shown.digit)
                                   : velaro::SimpleRoundTo(static_cast<double>(sum),
                                                           static_cast<std::int8_t>(shown.digit));
        texts[shown.field] = velaro::FloatToStr(rounded, separator);
    }
    return texts;
}

} // namespace reference

#include "core/rule.h"

#include <algorithm>

namespace velaro {

void FormState::setShortName(const std::string& name, std::string shortName) {
    const auto given = std::ranges::find(shortNames_, name, &ShortNames::value_type::first);
    if (given == shortNames_.end())
        shortNames_.emplace_back(name, std::move(shortName));
    else
        given->second = std::move(shortName);
}

std::string FormState::shortName(const std::string& name) const {
    const auto given = std::ranges::find(shortNames_, name, &ShortNames::value_type::first);
    return given == shortNames_.end() ? std::string() : given->second;
}

long double TrailTerm::value() const {
    long double value = measured;
    for (const TrailFactor& factor : factors)
        value = factor.op == TrailFactor::Op::Times ? value * factor.value : value / factor.value;
    return value;
}

long double Trail::value() const {
    long double sum = 0.0L;
    for (const TrailTerm& term : terms)
        sum += term.value();
    return sum;
}

namespace {

std::string withUnit(long double value, const std::string& unit, char separator) {
    std::string text = FloatToStr(value, separator);
    if (!unit.empty())
        text += " " + unit;
    return text;
}

} // namespace

std::string Trail::written(char decimalSeparator, Constants constants) const {
    std::string text;
    for (const TrailTerm& term : terms) {
        if (!text.empty())
            text += " + ";
        text += withUnit(term.measured, term.unit, decimalSeparator);
        for (const TrailFactor& factor : term.factors) {
            text += factor.op == TrailFactor::Op::Times ? " × " : " ÷ ";
            if (factor.constant && constants == Constants::Names) {
                text += factor.words;
                continue;
            }
            text += withUnit(factor.value, factor.unit, decimalSeparator);
            const std::string& words =
                constants == Constants::Names && !factor.sheetWords.empty() ? factor.sheetWords
                                                                            : factor.words;
            if (!words.empty())
                text += " (" + words + ")";
        }
    }
    if (terms.empty())
        text = "0";
    return text + " = " + RoundedText(value(), digit, decimalSeparator) + " " + unit;
}

void Results::add(const FormState& state, Trail trail) {
    texts.emplace_back(trail.field, RoundedText(trail.value(), trail.digit, state.separator()));
    trails.push_back(std::move(trail));
}

TrailTerm measured(const FormState& state, const std::string& field) {
    return {state.number(field), state.unit(field), {}};
}

Trail trailOf(const FormState& state, const std::string& field, std::vector<TrailTerm> terms) {
    const std::string unit = state.unit(field);
    return {field, std::move(terms), -2, unit.empty() ? "м2" : unit};
}

Results resultOf(const FormState& state, const std::string& field, TrailTerm term) {
    Results results;
    results.add(state, trailOf(state, field, {std::move(term)}));
    return results;
}

} // namespace velaro

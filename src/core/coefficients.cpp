#include "core/coefficients.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace velaro {
namespace {

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (part.empty())
            continue;
        if (!text.empty())
            text += ", ";
        text += part;
    }
    return text;
}

std::string bandWords(const CoefficientTable& table, const Band& band, long double number,
                      char separator) {
    if (!band.words.empty() || table.unit.empty()) // a table's bands with a unit all have an end
        return band.words;
    const auto amount = [&](long double value) {
        return FloatToStr(value, separator) + " " + table.unit;
    };
    std::string range;
    if (band.from == -Band::kNone)
        range = (band.toIncluded ? "до " : "менее ") + amount(band.to);
    else if (band.to == Band::kNone)
        range = (band.fromIncluded ? "от " : "более ") + amount(band.from);
    else
        range = "от " + FloatToStr(band.from, separator) + " до " + amount(band.to);
    const std::string measure = table.measure.empty() ? "" : table.measure + " ";
    return measure + amount(number) + ", " + range;
}

} // namespace

bool Band::contains(long double value) const {
    const bool afterFrom = fromIncluded ? value >= from : value > from;
    const bool beforeTo = toIncluded ? value <= to : value < to;
    return afterFrom && beforeTo;
}

Band sashCount(int sashes) {
    return {static_cast<long double>(sashes), static_cast<long double>(sashes), true, true,
            sashes == 1 ? "1 переплет" : std::to_string(sashes) + " переплета"};
}

Band below(long double to) {
    return {-Band::kNone, to, true, false};
}
Band upTo(long double to) {
    return {-Band::kNone, to, true, true};
}
Band above(long double from) {
    return {from, Band::kNone, false, true};
}
Band between(long double from, long double to, bool toIncluded) {
    return {from, to, true, toIncluded};
}

const Coefficients* CoefficientTable::rowFor(const FormState& state, long double number) const {
    std::set<std::string> ticked;
    for (const Coefficients& row : rows)
        for (const std::string& box : row.ticked)
            if (state.ticked(box))
                ticked.insert(box);
    const auto match = std::ranges::find_if(rows, [&](const Coefficients& row) {
        return std::set<std::string>(row.ticked.begin(), row.ticked.end()) == ticked &&
               row.band.contains(number);
    });
    return match == rows.end() ? nullptr : &*match;
}

Results CoefficientTable::result(const FormState& state, const std::string& field, TrailTerm term,
                                 long double number) const {
    const Coefficients* row = rowFor(state, number);
    if (!row)
        throw std::logic_error("the checks let through ticks without a coefficient");
    term.factors.clear();
    for (const Factor& factor : row->factors) {
        const std::vector<std::string>& boxes = factor.by.empty() ? row->ticked : factor.by;
        if (!std::ranges::all_of(factor.by,
                                 [&](const std::string& box) { return state.ticked(box); }))
            continue;
        std::vector<std::string> words, sheetWords;
        for (const std::string& box : boxes) {
            words.push_back(wordsFor(state, box));
            const std::string shortName = state.shortName(box);
            sheetWords.push_back(shortName.empty() ? words.back() : shortName);
        }
        if (term.factors.empty()) {
            words.push_back(bandWords(*this, row->band, number, state.separator()));
            sheetWords.push_back(words.back());
        }
        TrailFactor applied{factor.value, joined(words)};
        if (sheetWords != words)
            applied.sheetWords = joined(sheetWords);
        term.factors.push_back(std::move(applied));
    }
    return resultOf(state, field, std::move(term));
}

std::string wordsFor(const FormState& state, const std::string& name) {
    std::string words = state.label(name);
    while (!words.empty() && (words.back() == ':' || words.back() == ' '))
        words.pop_back();
    return words;
}

} // namespace velaro

#include "calculators/windows/openingrule.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace velaro::opening {
namespace {

Refusal fieldRefusal(const char* field, const std::string& message) {
    return {message, field, kResult};
}

// Every box a table speaks of, and which of them are ticked now.
std::set<std::string> tickedOf(const FormState& state, const CoefficientTable& table) {
    std::set<std::string> ticked;
    for (const Coefficients& row : table)
        for (const std::string& box : row.ticked)
            if (state.ticked(box))
                ticked.insert(box);
    return ticked;
}

} // namespace

std::optional<Refusal> refuseFields(const FormState& state) {
    if (state.isEmpty(kArea))
        return fieldRefusal(kArea, "Введите площадь оконных проемов !");
    if (state.isEmpty(kSashes))
        return fieldRefusal(kSashes, "Введите количество переплетов !");
    const std::string& sashes = state.text(kSashes);
    if (sashes != "1" && sashes != "2")
        return fieldRefusal(kSashes, "Введите количество переплетов 1 или 2!");
    return std::nullopt;
}

Refusal tickRefusal(const std::string& message) {
    return {message, "", kResult};
}

int tickedCount(const FormState& state, std::initializer_list<const char*> boxes) {
    return static_cast<int>(std::count_if(boxes.begin(), boxes.end(),
                                          [&](const char* box) { return state.ticked(box); }));
}

std::optional<Refusal> refuseConditionCount(const FormState& state,
                                            std::initializer_list<const char*> conditions) {
    const int ticked = tickedCount(state, conditions);
    if (ticked >= 2)
        return tickRefusal(kOnlyOneTick);
    if (ticked == 0)
        return tickRefusal(kNoTick);
    return std::nullopt;
}

Outcome paintedArea(const FormState& state, const CoefficientTable& table) {
    const long double area = state.number(kArea);
    const long double sashes = state.number(kSashes);

    const std::set<std::string> ticked = tickedOf(state, table);
    const auto row = std::find_if(table.begin(), table.end(), [&](const Coefficients& r) {
        return std::set<std::string>(r.ticked.begin(), r.ticked.end()) == ticked;
    });
    const Factors* factors = nullptr;
    if (row != table.end())
        factors = sashes == 1.0L ? &row->oneSash : &row->twoSashes;
    if (!factors || factors->empty())
        throw std::logic_error("the checks let through ticks without a coefficient");

    long double painted = area;
    for (const long double factor : *factors)
        painted = painted * factor;
    return Results{{{kResult, state.shown(painted, -2)}}};
}

} // namespace velaro::opening

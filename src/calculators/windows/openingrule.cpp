#include "calculators/windows/openingrule.h"

namespace velaro::opening {

std::optional<Refusal> refuseFields(const FormState& state) {
    if (auto refusal = refuseEmpty(state, kArea, "Введите площадь оконных проемов !", kResult))
        return refusal;
    return refuseSashCount(state, kSashes, kResult);
}

CoefficientTable tableBySashes(std::initializer_list<ConditionFactors> conditions) {
    CoefficientTable table;
    for (const ConditionFactors& row : conditions)
        for (int sashes : {1, 2}) {
            const SashFactors& factors = sashes == 1 ? row.oneSash : row.twoSashes;
            table.rows.push_back({{row.condition},
                                  {{factors.coefficient}, {factors.oiled, {kOiled}}},
                                  sashCount(sashes)});
        }
    return table;
}

std::optional<Refusal> refuseConditionCount(const FormState& state,
                                            std::initializer_list<const char*> conditions) {
    return refuseUnlessOneTicked(state, conditions, kResult);
}

Outcome paintedArea(const FormState& state, const CoefficientTable& table) {
    TrailTerm area = measured(state, kArea);
    const long double sashes = state.number(kSashes);
    return table.result(state, kResult, std::move(area), sashes);
}

} // namespace velaro::opening

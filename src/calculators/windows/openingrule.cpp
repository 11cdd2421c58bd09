#include "calculators/windows/openingrule.h"

namespace velaro::opening {

std::optional<Refusal> refuseFields(const FormState& state) {
    if (auto refusal = refuseEmpty(state, kArea, "Введите площадь оконных проемов !", kResult))
        return refusal;
    return refuseSashCount(state, kSashes, kResult);
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

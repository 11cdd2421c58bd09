#include "core/refusals.h"

#include <algorithm>

namespace velaro {

Refusal tickRefusal(const std::string& message, const std::string& result) {
    return {message, std::string(), result};
}

std::optional<Refusal> refuseEmpty(const FormState& state, const std::string& field,
                                   const std::string& message, const std::string& result) {
    if (!state.isEmpty(field))
        return std::nullopt;
    return Refusal{message, field, result};
}

std::optional<Refusal> refuseUnlessOneTicked(const FormState& state,
                                             std::initializer_list<const char*> boxes,
                                             const std::string& result) {
    const auto ticked =
        std::ranges::count_if(boxes, [&](const char* box) { return state.ticked(box); });
    if (ticked >= 2)
        return tickRefusal(message::kOnlyOneTick, result);
    if (ticked == 0)
        return tickRefusal(message::kNoTick, result);
    return std::nullopt;
}

std::optional<Refusal> refuseSashCount(const FormState& state, const std::string& field,
                                       const std::string& result) {
    if (state.isEmpty(field))
        return Refusal{"Введите количество переплетов !", field, result};
    const std::string& sashes = state.text(field);
    if (sashes != "1" && sashes != "2")
        return Refusal{"Введите количество переплетов 1 или 2!", field, result};
    return std::nullopt;
}

} // namespace velaro

#include "core/refusals.h"

#include <algorithm>

namespace velaro {

Refusal fieldRefusal(std::string message, const std::string& field, std::string result) {
    return {std::move(message), field, std::move(result)};
}

Refusal tickRefusal(std::string message, std::string result) {
    return {std::move(message), std::string(), std::move(result)};
}

std::optional<Refusal> refuseEmpty(const FormState& state, const std::string& field,
                                   std::string message, const std::string& result) {
    if (!state.isEmpty(field))
        return std::nullopt;
    return fieldRefusal(std::move(message), field, result);
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
        return fieldRefusal(message::kNoSashCount, field, result);
    const std::string& sashes = state.text(field);
    if (sashes != "1" && sashes != "2")
        return fieldRefusal(message::kSashCountOneOrTwo, field, result);
    return std::nullopt;
}

} // namespace velaro

#pragma once
// How a rule says no. A field refusal puts the focus in the field that needs attention; a tick
// refusal leaves the focus where it is. Both empty the result field after the box closes. The
// messages several windows share are written here once.

#include "core/rule.h"

#include <initializer_list>
#include <optional>
#include <string>

namespace velaro {

namespace message {
inline constexpr const char* kOnlyOneTick = "Оставьте только одну галочку !";
inline constexpr const char* kNoTick = "Поставьте галочку !";
inline constexpr const char* kWrongTicks = "Галочки расставлены неверно!";
inline constexpr const char* kTripleGlazingNeedsTwoSashes =
    "При тройном остеклении количество переплетов должно быть 2!";
} // namespace message

Refusal tickRefusal(const std::string& message, const std::string& result);

// An empty field is refused with its own message.
std::optional<Refusal> refuseEmpty(const FormState& state, const std::string& field,
                                   const std::string& message, const std::string& result);

// Exactly one of the boxes: two or more are refused before none.
std::optional<Refusal> refuseUnlessOneTicked(const FormState& state,
                                             std::initializer_list<const char*> boxes,
                                             const std::string& result);

// The sash count present and written exactly "1" or "2". It is compared as text, so «1,0» or
// «01» are refused before any conversion.
std::optional<Refusal> refuseSashCount(const FormState& state, const std::string& field,
                                       const std::string& result);

} // namespace velaro

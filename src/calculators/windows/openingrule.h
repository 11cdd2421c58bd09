#pragma once
// What the three window-opening calculators share in their rules: the checks on the area and
// sash-count fields, and the coefficient table that turns the opening area into the painted
// area.

#include "core/coefficients.h"
#include "core/refusals.h"

#include <initializer_list>
#include <optional>

namespace velaro::opening {

inline constexpr const char* kArea = "Edit2";
inline constexpr const char* kSashes = "Edit3";
inline constexpr const char* kResult = "Edit4";
inline constexpr const char* kOiled = "CheckBox4";

// The area and the sash count: present, and the count written exactly "1" or "2". Each of these
// refusals puts the focus in its field.
std::optional<Refusal> refuseFields(const FormState& state);

// A condition's coefficient with a number of sashes, and the oiled parts' factor applied after it.
struct SashFactors {
    long double coefficient;
    long double oiled;
};
struct ConditionFactors {
    const char* condition;
    SashFactors oneSash;
    SashFactors twoSashes;
};
// The table of conditions whose only further factor is the oiled parts': for each condition a
// row for one sash, then a row for two.
CoefficientTable tableBySashes(std::initializer_list<ConditionFactors> conditions);

// Exactly one of the conditions must be ticked.
std::optional<Refusal> refuseConditionCount(const FormState& state,
                                            std::initializer_list<const char*> conditions);

// After the checks: reads the area, then the sash count, and runs the area through the chain
// the ticks and the sash count select, rounded to two decimals.
Outcome paintedArea(const FormState& state, const CoefficientTable& table);

} // namespace velaro::opening

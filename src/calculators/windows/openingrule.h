#pragma once
// What the three window-opening calculators share in their rules: the checks on the area and
// sash-count fields, the refusals on ticks, and the coefficient tables that turn the opening
// area into the painted area.

#include "core/rule.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace velaro::opening {

inline constexpr const char* kArea = "Edit2";
inline constexpr const char* kSashes = "Edit3";
inline constexpr const char* kResult = "Edit4";

inline const std::string kOnlyOneTick = "Оставьте только одну галочку !";
inline const std::string kNoTick = "Поставьте галочку !";

// The area and the sash count: present, and the count written exactly "1" or "2" (compared as
// text, so «1,0» or «01» are refused). Each of these refusals puts the focus in its field.
std::optional<Refusal> refuseFields(const FormState& state);

// A refusal on ticks: the focus stays where it is and the result is emptied.
Refusal tickRefusal(const std::string& message);

int tickedCount(const FormState& state, std::initializer_list<const char*> boxes);

// Exactly one of the conditions must be ticked.
std::optional<Refusal> refuseConditionCount(const FormState& state,
                                            std::initializer_list<const char*> conditions);

// The factors the opening area is multiplied by, left to right. Empty: a cell that the checks
// never let through.
using Factors = std::vector<long double>;

// One row of a coefficient table: the boxes ticked (and no other box of the table), and the
// factors for one sash and for two.
struct Coefficients {
    std::vector<std::string> ticked;
    Factors oneSash;
    Factors twoSashes;
};
using CoefficientTable = std::vector<Coefficients>;

// After the checks: reads the area, then the sash count, picks the row matching the ticks and
// writes the product, factor by factor in extended precision, rounded to two decimals.
Outcome paintedArea(const FormState& state, const CoefficientTable& table);

} // namespace velaro::opening

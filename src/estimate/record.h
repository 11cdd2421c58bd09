#pragma once
// One line of the sheet from one successful Compute: what was measured (the window's filled
// fields that the result does not write), the ticked conditions, each by its short name where the
// window gives one, the trail of the main result (its named constants by name) and the main
// result as shown.

#include "core/rule.h"
#include "estimate/sheet.h"

#include <optional>

namespace velaro {

// nullopt where the results show nothing to record.
std::optional<Line> lineOfCompute(const QString& element, const QString& calculator,
                                  const FormState& state, const Results& results);

} // namespace velaro

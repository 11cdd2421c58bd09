#pragma once
// Window openings of industrial buildings: the opening area times the coefficient of the
// ticked size class and the sash count, less for oiled parts.

#include "calculators/windows/openingwindow.h"

namespace velaro {

namespace industrialwindows {
Outcome compute(const FormState& state);
} // namespace industrialwindows

class IndustrialWindow : public OpeningWindow {
  public:
    explicit IndustrialWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

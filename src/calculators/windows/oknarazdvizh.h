#pragma once
// Window openings with separate sashes: the opening area times the coefficient of the ticked
// wall-and-filling condition and the sash count, less for oiled parts.

#include "calculators/windows/openingwindow.h"

namespace velaro {

namespace oknarazdvizh {
Outcome compute(const FormState& state);
} // namespace oknarazdvizh

class TForm20 : public OpeningWindow {
  public:
    explicit TForm20(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Window openings with separate sashes: the opening area times the coefficient of the ticked
// wall-and-filling condition and the sash count, less for oiled parts.

#include "calculators/windows/openingwindow.h"

namespace velaro {

namespace separatesashes {
Outcome compute(const FormState& state);
} // namespace separatesashes

class SeparateSashesWindow : public OpeningWindow {
  public:
    explicit SeparateSashesWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

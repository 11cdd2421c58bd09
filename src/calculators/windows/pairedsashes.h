#pragma once
// Window openings with paired sashes, transoms and wooden shop windows: the opening area times
// the coefficient of the ticked characteristic and the sash count, more for triple glazing,
// less for oiled parts.

#include "calculators/windows/openingwindow.h"

namespace velaro {

namespace pairedsashes {
Outcome compute(const FormState& state);
} // namespace pairedsashes

class PairedSashesWindow : public OpeningWindow {
  public:
    explicit PairedSashesWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

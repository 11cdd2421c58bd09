#pragma once
// Window openings with paired sashes, transoms and wooden shop windows: the opening area times
// the coefficient of the ticked characteristic and the sash count, more for triple glazing,
// less for oiled parts.

#include "calculators/windows/openingwindow.h"

namespace velaro {

namespace oknasparen {
Outcome compute(const FormState& state);
} // namespace oknasparen

class TForm21 : public OpeningWindow {
  public:
    explicit TForm21(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Doorways with glazed leaves: the solid-leaf window's twin without timber walls, with smaller
// coefficients.

#include "calculators/doors/leafdoors.h"

namespace velaro {

namespace dveriosteklenie {
Outcome compute(const FormState& state);
} // namespace dveriosteklenie

class TForm25 : public LeafDoorWindow {
  public:
    explicit TForm25(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

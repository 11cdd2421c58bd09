#pragma once
// Doorways with glazed leaves: the solid-leaf window's twin without timber walls, with smaller
// coefficients.

#include "calculators/doors/leafdoors.h"

namespace velaro {

namespace glazeddoors {
Outcome compute(const FormState& state);
} // namespace dveriosteklenie

class GlazedDoorWindow : public LeafDoorWindow {
  public:
    explicit GlazedDoorWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

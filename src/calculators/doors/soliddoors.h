#pragma once
// Doorways with solid leaves: masonry walls, timber walls or partitions, the architraves and
// the 140–160 mm partitions, and primed parts, which scale timber and partitions down.

#include "calculators/doors/leafdoors.h"

namespace velaro {

namespace soliddoors {
Outcome compute(const FormState& state);
} // namespace dverigluhie

class SolidDoorWindow : public LeafDoorWindow {
  public:
    explicit SolidDoorWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

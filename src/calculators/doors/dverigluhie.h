#pragma once
// Doorways with solid leaves: masonry walls, timber walls or partitions, the architraves and
// the 140–160 mm partitions, and primed parts, which scale timber and partitions down.

#include "calculators/doors/leafdoors.h"

namespace velaro {

namespace dverigluhie {
Outcome compute(const FormState& state);
} // namespace dverigluhie

class TForm24 : public LeafDoorWindow {
  public:
    explicit TForm24(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// The framing of an open doorway without a leaf (an arch) in partitions: the partitions tick is
// required, 140–160 mm partitions take a larger coefficient, primed parts scale it down.

#include "calculators/doors/doorwindow.h"

namespace velaro {

namespace doorwayframing {
Outcome compute(const FormState& state);
} // namespace doorwayframing

class DoorwayFramingWindow : public DoorWindow {
  public:
    explicit DoorwayFramingWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

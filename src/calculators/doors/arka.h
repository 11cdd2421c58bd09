#pragma once
// The framing of an open doorway without a leaf (an arch) in partitions: the partitions tick is
// required, 140–160 mm partitions take a larger coefficient, primed parts scale it down.

#include "calculators/doors/doorwindow.h"

namespace velaro {

namespace arka {
Outcome compute(const FormState& state);
} // namespace arka

class TForm27 : public DoorWindow {
  public:
    explicit TForm27(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Cabinet doors in partitions: one coefficient, scaled down when the parts are primed.

#include "calculators/doors/doorwindow.h"

namespace velaro {

namespace cabinetdoors {
Outcome compute(const FormState& state);
} // namespace cabinetdoors

class CabinetDoorWindow : public DoorWindow {
  public:
    explicit CabinetDoorWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

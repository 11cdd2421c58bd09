#pragma once
// Cabinet doors in partitions: one coefficient, scaled down when the parts are primed.

#include "calculators/doors/doorwindow.h"

namespace velaro {

namespace shkafniedveri {
Outcome compute(const FormState& state);
} // namespace shkafniedveri

class TForm26 : public DoorWindow {
  public:
    explicit TForm26(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Balcony doors: separate or paired leaves with one or two sashes, paired leaves optionally with
// triple glazing. Primed parts are charged nothing extra, which the window states as a note.

#include "calculators/doors/doorwindow.h"

namespace velaro {

namespace balconydoors {
Outcome compute(const FormState& state);
} // namespace balconydoors

class BalconyDoorWindow : public DoorWindow {
  public:
    explicit BalconyDoorWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Pipes without fittings: nine runs of diameter × length, each run's area and the total.

#include "core/calculatorwindow.h"

namespace velaro {

namespace kalkulyat61 {
// Run areas at three decimals, the total of the unrounded runs at two.
Outcome compute(const FormState& state);
} // namespace kalkulyat61

class TForm2 : public CalculatorWindow {
  public:
    explicit TForm2(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

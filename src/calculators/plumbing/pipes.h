#pragma once
// Pipes without fittings: nine runs of diameter × length, each run's area and the total.

#include "core/calculatorwindow.h"

namespace velaro {

namespace pipes {
// Run areas at three decimals, the total of the unrounded runs at two.
Outcome compute(const FormState& state);
} // namespace pipes

class PipesWindow : public CalculatorWindow {
  public:
    explicit PipesWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

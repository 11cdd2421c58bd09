#pragma once
// Stucco products: the base area times a coefficient chosen by the pattern (sparse or dense)
// and by whether the relief is higher than 30 mm.

#include "core/calculatorwindow.h"

namespace velaro {

namespace stuccoproducts {
// Both inputs and exactly one tick are required, checked before anything is read.
Outcome compute(const FormState& state);
} // namespace stuccoproducts

class StuccoProductsWindow : public CalculatorWindow {
  public:
    explicit StuccoProductsWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

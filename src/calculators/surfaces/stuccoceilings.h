#pragma once
// Stucco ceilings: the ceiling's horizontal projection times a coefficient chosen by how much
// of it the stucco products cover.

#include "core/calculatorwindow.h"

namespace velaro {

namespace stuccoceilings {
// Both inputs are required; a percentage above 100 is refused.
Outcome compute(const FormState& state);
} // namespace stuccoceilings

class StuccoCeilingsWindow : public CalculatorWindow {
  public:
    explicit StuccoCeilingsWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

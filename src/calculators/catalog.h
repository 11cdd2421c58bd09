#pragma once
// Every calculator window the shell creates, by the number of its window class (TForm2 …
// TForm27), with the caption of the main-window button that opens it. The catalogue knows every
// calculator; no calculator knows another.

#include "core/calculatorwindow.h"

#include <functional>
#include <vector>

namespace velaro {

struct CalculatorEntry {
    int formNumber;
    QString caption; // the calculator's name on its main-window button
    std::function<CalculatorWindow*(char decimalSeparator)> create;
};

// All of them, in ascending window number.
std::vector<CalculatorEntry> allCalculators();

// The window-opening and the door calculators.
std::vector<CalculatorEntry> windowCalculators();
std::vector<CalculatorEntry> doorCalculators();
// The windows of one input and one coefficient, rows of one table.
std::vector<CalculatorEntry> oneInputCalculators();

} // namespace velaro

#pragma once
// Every calculator window the shell creates, by the number of its window class (TForm2 …
// TForm27). Each family lists its own windows; no calculator knows another.

#include "core/calculatorwindow.h"

#include <functional>
#include <vector>

namespace velaro {

struct CalculatorEntry {
    int formNumber;
    std::function<CalculatorWindow*(char decimalSeparator)> create;
};

std::vector<CalculatorEntry> plumbingCalculators();
std::vector<CalculatorEntry> surfaceCalculators();
std::vector<CalculatorEntry> windowCalculators();
std::vector<CalculatorEntry> doorCalculators();

// All of them, in ascending window number.
std::vector<CalculatorEntry> allCalculators();

// A window not yet filled in: the frame with its caption, size and menu.
CalculatorEntry placeholderCalculator(int formNumber, const QString& module,
                                      const QString& caption, QSize clientSize);

// An entry for a window class that takes only the decimal separator.
template <int FormNumber, class Window> CalculatorEntry calculatorEntry() {
    return {FormNumber, [](char separator) -> CalculatorWindow* { return new Window(separator); }};
}

} // namespace velaro

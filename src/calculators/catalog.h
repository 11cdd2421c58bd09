#pragma once
// Every calculator window the shell creates, by the number of its window class (TForm2 …
// TForm27), with the caption of the main-window button that opens it. Each family lists its
// own windows; no calculator knows another.

#include "core/calculatorwindow.h"

#include <functional>
#include <vector>

namespace velaro {

struct CalculatorEntry {
    int formNumber;
    QString caption; // the calculator's name on its main-window button
    std::function<CalculatorWindow*(char decimalSeparator)> create;
};

std::vector<CalculatorEntry> plumbingCalculators();
std::vector<CalculatorEntry> surfaceCalculators();
std::vector<CalculatorEntry> windowCalculators();
std::vector<CalculatorEntry> doorCalculators();
// The windows of one input and one coefficient, from both of the families above.
std::vector<CalculatorEntry> oneInputCalculators();

// All of them, in ascending window number.
std::vector<CalculatorEntry> allCalculators();

// An entry for a window class that takes only the decimal separator.
template <class Window> CalculatorEntry calculatorEntry(int formNumber, const char* caption) {
    return {formNumber, QString::fromUtf8(caption),
            [](char separator) -> CalculatorWindow* { return new Window(separator); }};
}

} // namespace velaro

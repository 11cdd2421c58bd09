#pragma once
// Every calculator window the shell creates, by the number of its window class (TForm2 …
// TForm27), with the caption of the main-window button that opens it and the element its lines
// name on the estimate sheet. Each calculator file adds its own windows; the catalogue gathers
// them, and no calculator knows another.

#include "core/calculatorwindow.h"
#include "core/opening.h"

#include <functional>
#include <vector>

namespace velaro {

struct CalculatorEntry {
    int formNumber;
    QString caption; // the calculator's name on its main-window button
    // The element its lines on the estimate sheet are for, in full where the caption breaks off
    // and with the words that tell it from its neighbours: «Окна со спаренными переплетами».
    QString sheetName;
    std::function<CalculatorWindow*(char decimalSeparator)> create;
    // Whether its lines are window or door openings, deducted from their room's walls.
    OpeningSource opening = {};
};

using Calculators = std::vector<CalculatorEntry>;

// All of them, in ascending window number.
Calculators allCalculators();

// An entry that builds `Window` from `arguments` and the decimal separator.
template <class Window, class... Arguments>
CalculatorEntry calculator(int formNumber, const char* caption, const char* sheetName,
                           Arguments... arguments) {
    return {formNumber, QString::fromUtf8(caption), QString::fromUtf8(sheetName),
            [arguments...](char separator) -> CalculatorWindow* {
                return new Window(arguments..., separator);
            }};
}

// The calculators of each file.
Calculators pipesCalculators();
Calculators pipelineCalculators();
Calculators stuccoCeilingCalculators();
Calculators stuccoProductCalculators();
Calculators oneInputCalculators();
Calculators windowOpeningCalculators();
Calculators balconyDoorCalculators();
Calculators areaDoorCalculators();

} // namespace velaro

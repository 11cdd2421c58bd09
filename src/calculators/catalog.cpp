#include "calculators/catalog.h"

#include <algorithm>

namespace velaro {

std::vector<CalculatorEntry> allCalculators() {
    std::vector<CalculatorEntry> all;
    for (auto family : {plumbingCalculators, surfaceCalculators, windowCalculators,
                        doorCalculators}) {
        auto entries = family();
        all.insert(all.end(), entries.begin(), entries.end());
    }
    std::sort(all.begin(), all.end(),
              [](const auto& a, const auto& b) { return a.formNumber < b.formNumber; });
    return all;
}

CalculatorEntry placeholderCalculator(int formNumber, const QString& module,
                                      const QString& caption, QSize clientSize) {
    const WindowDescription description{QStringLiteral("TForm%1").arg(formNumber), module,
                                        caption, clientSize};
    return {formNumber, [description](char separator) {
                return new CalculatorWindow(description, separator);
            }};
}

} // namespace velaro

#include "calculators/catalog.h"

#include <algorithm>

namespace velaro {

std::vector<CalculatorEntry> allCalculators() {
    std::vector<CalculatorEntry> all;
    for (auto family : {plumbingCalculators, surfaceCalculators, windowCalculators,
                        doorCalculators, oneInputCalculators}) {
        auto entries = family();
        all.insert(all.end(), entries.begin(), entries.end());
    }
    std::sort(all.begin(), all.end(),
              [](const auto& a, const auto& b) { return a.formNumber < b.formNumber; });
    return all;
}

} // namespace velaro

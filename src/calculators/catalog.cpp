#include "calculators/catalog.h"

#include <algorithm>

namespace velaro {

Calculators allCalculators() {
    Calculators all;
    for (const auto files : {pipesCalculators, pipelineCalculators, stuccoCeilingCalculators,
                             stuccoProductCalculators, oneInputCalculators,
                             windowOpeningCalculators, balconyDoorCalculators, areaDoorCalculators})
        for (CalculatorEntry& entry : files())
            all.push_back(std::move(entry));
    std::ranges::sort(all, {}, &CalculatorEntry::formNumber);
    return all;
}

} // namespace velaro

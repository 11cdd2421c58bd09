#include "calculators/catalog.h"
#include "calculators/windows/oknapromish.h"
#include "calculators/windows/oknarazdvizh.h"
#include "calculators/windows/oknasparen.h"

namespace velaro {

std::vector<CalculatorEntry> windowCalculators() {
    return {
        calculatorEntry<20, TForm20>(),
        calculatorEntry<21, TForm21>(),
        calculatorEntry<22, TForm22>(),
    };
}

} // namespace velaro

#include "calculators/catalog.h"
#include "calculators/surfaces/lepizdeliya.h"
#include "calculators/surfaces/leppotolok.h"

namespace velaro {

std::vector<CalculatorEntry> surfaceCalculators() {
    return {
        calculatorEntry<TForm10>(10, "Площадь окраски лепных потолков"),
        calculatorEntry<TForm15>(15, "Площадь окраски лепных изделий"),
    };
}

} // namespace velaro

#include "calculators/catalog.h"
#include "calculators/doors/arka.h"
#include "calculators/doors/dveribalkon.h"
#include "calculators/doors/dverigluhie.h"
#include "calculators/doors/dveriosteklenie.h"
#include "calculators/doors/shkafniedveri.h"

namespace velaro {

std::vector<CalculatorEntry> doorCalculators() {
    return {
        calculatorEntry<23, TForm23>(), calculatorEntry<24, TForm24>(),
        calculatorEntry<25, TForm25>(), calculatorEntry<26, TForm26>(),
        calculatorEntry<27, TForm27>(),
    };
}

} // namespace velaro

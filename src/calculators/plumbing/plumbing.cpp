#include "calculators/catalog.h"
#include "calculators/plumbing/chugunradiator.h"
#include "calculators/plumbing/chugunradiatori.h"
#include "calculators/plumbing/chuguntrubi.h"
#include "calculators/plumbing/kalkulyat61.h"
#include "calculators/plumbing/moika.h"
#include "calculators/plumbing/smivbachok.h"
#include "calculators/plumbing/trubisfason.h"
#include "calculators/plumbing/vanna.h"

namespace velaro {

std::vector<CalculatorEntry> plumbingCalculators() {
    return {
        calculatorEntry<2, TForm2>(),
        calculatorEntry<3, TForm3>(),
        calculatorEntry<4, TForm4>(),
        calculatorEntry<5, TForm5>(),
        calculatorEntry<6, TForm6>(),
        calculatorEntry<7, TForm7>(),
        calculatorEntry<8, TForm8>(),
        calculatorEntry<9, TForm9>(),
    };
}

} // namespace velaro

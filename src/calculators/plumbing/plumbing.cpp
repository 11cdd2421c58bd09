#include "calculators/catalog.h"
#include "calculators/plumbing/chugunradiator.h"
#include "calculators/plumbing/chugunradiatori.h"
#include "calculators/plumbing/kalkulyat61.h"
#include "calculators/plumbing/moika.h"
#include "calculators/plumbing/smivbachok.h"
#include "calculators/plumbing/vanna.h"

namespace velaro {

std::vector<CalculatorEntry> plumbingCalculators() {
    return {
        calculatorEntry<2, TForm2>(),
        placeholderCalculator(3, "trubisfason", QStringLiteral("Калькулятор окраски стальных трубопроводов"), {492, 569}),
        placeholderCalculator(4, "chuguntrubi", QStringLiteral("Калькулятор окраски чугунных трубопроводов"), {492, 433}),
        calculatorEntry<5, TForm5>(),
        calculatorEntry<6, TForm6>(),
        calculatorEntry<7, TForm7>(),
        calculatorEntry<8, TForm8>(),
        calculatorEntry<9, TForm9>(),
    };
}

} // namespace velaro

#include "calculators/catalog.h"
#include "calculators/plumbing/chuguntrubi.h"
#include "calculators/plumbing/kalkulyat61.h"
#include "calculators/plumbing/trubisfason.h"

namespace velaro {

std::vector<CalculatorEntry> plumbingCalculators() {
    return {
        calculatorEntry<2, TForm2>(),
        calculatorEntry<3, TForm3>(),
        calculatorEntry<4, TForm4>(),
        placeholderCalculator(5, "moika", QStringLiteral("Калькулятор окраски моек и раковин"), {492, 523}),
        placeholderCalculator(6, "vanna", QStringLiteral("Калькулятор окраски ванн "), {492, 488}),
        placeholderCalculator(7, "smivbachok", QStringLiteral("Калькулятор окраски смывного бачка"), {492, 528}),
        placeholderCalculator(8, "chugunradiator", QStringLiteral("Калькулятор окраски чугунных радиаторов МС-140 500"), {492, 524}),
        placeholderCalculator(9, "chugunradiatori", QStringLiteral("Калькулятор окраски чугунных радиаторов МС-140 300"), {492, 525}),
    };
}

} // namespace velaro

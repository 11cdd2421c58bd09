#include "calculators/catalog.h"
#include "calculators/surfaces/lepizdeliya.h"
#include "calculators/surfaces/leppotolok.h"

namespace velaro {

std::vector<CalculatorEntry> surfaceCalculators() {
    return {
        calculatorEntry<10, TForm10>(),
        placeholderCalculator(11, "kessonpotolok", QStringLiteral("Калькулятор окраски кесонных потолков"), {492, 433}),
        placeholderCalculator(12, "rebristperekritiya", QStringLiteral("Калькулятор окраски потолков ребристых перекрытий"), {492, 461}),
        placeholderCalculator(13, "vagonka", QStringLiteral("Калькулятор окраски вагонки"), {492, 469}),
        placeholderCalculator(14, "brevno", QStringLiteral("Калькулятор окраски бревенчатых стен"), {492, 491}),
        calculatorEntry<15, TForm15>(),
        placeholderCalculator(16, "prostreshetki", QStringLiteral("Калькулятор окраски стальных решеток"), {492, 504}),
        placeholderCalculator(17, "sredniereshetki", QStringLiteral("Калькулятор окраски стальных решеток"), {492, 500}),
        placeholderCalculator(18, "slozhniereshetki", QStringLiteral("Калькулятор окраски стальных решеток"), {492, 438}),
        placeholderCalculator(19, "volnistlisti", QStringLiteral("Калькулятор окраски волнистых поверхностей"), {492, 483}),
    };
}

} // namespace velaro

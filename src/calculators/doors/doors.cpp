#include "calculators/catalog.h"

namespace velaro {

std::vector<CalculatorEntry> doorCalculators() {
    return {
        placeholderCalculator(23, "dveribalkon", QStringLiteral("Калькулятор окраски балконных дверей"), {492, 563}),
        placeholderCalculator(24, "dverigluhie", QStringLiteral("Калькулятор окраски дверных проемов с глухими дверными полотнами"), {492, 675}),
        placeholderCalculator(25, "dveriosteklenie", QStringLiteral("Калькулятор окраски дверных проемов с остекленными дверными полотнами"), {492, 639}),
        placeholderCalculator(26, "shkafniedveri", QStringLiteral("Калькулятор окраски дверных проемов - шкафные двери"), {492, 513}),
        placeholderCalculator(27, "arka", QStringLiteral("Калькулятор окраски дверных проемов - обрамление открытого проема"), {492, 573}),
    };
}

} // namespace velaro

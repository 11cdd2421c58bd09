#include "calculators/catalog.h"

namespace velaro {

std::vector<CalculatorEntry> windowCalculators() {
    return {
        placeholderCalculator(20, "oknarazdvizh", QStringLiteral("Калькулятор окраски оконных проемов с раздельными переплетами"), {492, 635}),
        placeholderCalculator(21, "oknasparen", QStringLiteral("Калькулятор окраски оконных проемов со спаренными переплетами"), {492, 617}),
        placeholderCalculator(22, "oknapromish", QStringLiteral("Калькулятор окраски оконных проемов промышленных зданий"), {492, 599}),
    };
}

} // namespace velaro

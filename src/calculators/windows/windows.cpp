#include "calculators/catalog.h"
#include "calculators/windows/oknapromish.h"
#include "calculators/windows/oknarazdvizh.h"
#include "calculators/windows/oknasparen.h"

namespace velaro {

std::vector<CalculatorEntry> windowCalculators() {
    return {
        calculatorEntry<TForm20>(20, "Площадь окраски оконных проемов с раздельными переплетами"),
        calculatorEntry<TForm21>(21, "Площадь окраски оконных проемов со спаренными переплетами"),
        calculatorEntry<TForm22>(22, "Площадь окраски оконных проемов промышленных зданий"),
    };
}

} // namespace velaro

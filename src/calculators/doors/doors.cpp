#include "calculators/catalog.h"
#include "calculators/doors/arka.h"
#include "calculators/doors/dveribalkon.h"
#include "calculators/doors/dverigluhie.h"
#include "calculators/doors/dveriosteklenie.h"
#include "calculators/doors/shkafniedveri.h"

namespace velaro {

std::vector<CalculatorEntry> doorCalculators() {
    return {
        calculatorEntry<TForm23>(23, "Площадь окраски балконных дверей"),
        calculatorEntry<TForm24>(24, "Площадь окраски дверных проемов с глухими полотнами"),
        calculatorEntry<TForm25>(25, "Площадь окраски дверных проемов с остекленными полотнами"),
        calculatorEntry<TForm26>(26, "Площадь окраски шкафных дверей"),
        calculatorEntry<TForm27>(27, "Площадь окраски обрамлений дверных проемов (арка)"),
    };
}

} // namespace velaro

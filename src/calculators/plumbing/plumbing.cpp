#include "calculators/catalog.h"
#include "calculators/plumbing/chuguntrubi.h"
#include "calculators/plumbing/kalkulyat61.h"
#include "calculators/plumbing/trubisfason.h"

namespace velaro {

std::vector<CalculatorEntry> plumbingCalculators() {
    return {
        calculatorEntry<TForm2>(2, "Площадь окраски труб без фасонных частей..."),
        calculatorEntry<TForm3>(3, "Площадь окраски стальных труб с выступами, креплениями..."),
        calculatorEntry<TForm4>(4, "Площадь окраски чугунных труб, включая выступы, крепления..."),
    };
}

} // namespace velaro

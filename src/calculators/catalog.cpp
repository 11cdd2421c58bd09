#include "calculators/catalog.h"

#include "calculators/doors/arka.h"
#include "calculators/doors/dveribalkon.h"
#include "calculators/doors/dverigluhie.h"
#include "calculators/doors/dveriosteklenie.h"
#include "calculators/doors/shkafniedveri.h"
#include "calculators/plumbing/chuguntrubi.h"
#include "calculators/plumbing/kalkulyat61.h"
#include "calculators/plumbing/trubisfason.h"
#include "calculators/surfaces/lepizdeliya.h"
#include "calculators/surfaces/leppotolok.h"
#include "calculators/windows/oknapromish.h"
#include "calculators/windows/oknarazdvizh.h"
#include "calculators/windows/oknasparen.h"

#include <algorithm>

namespace velaro {
namespace {

// An entry for a window class that takes only the decimal separator.
template <class Window> CalculatorEntry entry(int formNumber, const char* caption) {
    return {formNumber, QString::fromUtf8(caption),
            [](char separator) -> CalculatorWindow* { return new Window(separator); }};
}

std::vector<CalculatorEntry> calculatorsFrom(int first, int last) {
    std::vector<CalculatorEntry> chosen;
    for (CalculatorEntry& calculator : allCalculators())
        if (calculator.formNumber >= first && calculator.formNumber <= last)
            chosen.push_back(std::move(calculator));
    return chosen;
}

} // namespace

std::vector<CalculatorEntry> allCalculators() {
    std::vector<CalculatorEntry> all{
        entry<TForm2>(2, "Площадь окраски труб без фасонных частей..."),
        entry<TForm3>(3, "Площадь окраски стальных труб с выступами, креплениями..."),
        entry<TForm4>(4, "Площадь окраски чугунных труб, включая выступы, крепления..."),
        entry<TForm10>(10, "Площадь окраски лепных потолков"),
        entry<TForm15>(15, "Площадь окраски лепных изделий"),
        entry<TForm20>(20, "Площадь окраски оконных проемов с раздельными переплетами"),
        entry<TForm21>(21, "Площадь окраски оконных проемов со спаренными переплетами"),
        entry<TForm22>(22, "Площадь окраски оконных проемов промышленных зданий"),
        entry<TForm23>(23, "Площадь окраски балконных дверей"),
        entry<TForm24>(24, "Площадь окраски дверных проемов с глухими полотнами"),
        entry<TForm25>(25, "Площадь окраски дверных проемов с остекленными полотнами"),
        entry<TForm26>(26, "Площадь окраски шкафных дверей"),
        entry<TForm27>(27, "Площадь окраски обрамлений дверных проемов (арка)"),
    };
    for (CalculatorEntry& calculator : oneInputCalculators())
        all.push_back(std::move(calculator));
    std::sort(all.begin(), all.end(),
              [](const auto& a, const auto& b) { return a.formNumber < b.formNumber; });
    return all;
}

std::vector<CalculatorEntry> windowCalculators() {
    return calculatorsFrom(20, 22);
}

std::vector<CalculatorEntry> doorCalculators() {
    return calculatorsFrom(23, 27);
}

} // namespace velaro

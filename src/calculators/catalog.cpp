#include "calculators/catalog.h"

#include "calculators/doors/doorwayframing.h"
#include "calculators/doors/balconydoors.h"
#include "calculators/doors/soliddoors.h"
#include "calculators/doors/glazeddoors.h"
#include "calculators/doors/cabinetdoors.h"
#include "calculators/plumbing/castironpipelines.h"
#include "calculators/plumbing/pipes.h"
#include "calculators/plumbing/steelpipelines.h"
#include "calculators/surfaces/stuccoproducts.h"
#include "calculators/surfaces/stuccoceilings.h"
#include "calculators/windows/industrialwindows.h"
#include "calculators/windows/separatesashes.h"
#include "calculators/windows/pairedsashes.h"

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
        entry<PipesWindow>(2, "Площадь окраски труб без фасонных частей..."),
        entry<SteelPipelinesWindow>(3, "Площадь окраски стальных труб с выступами, креплениями..."),
        entry<CastIronPipelinesWindow>(4, "Площадь окраски чугунных труб, включая выступы, крепления..."),
        entry<StuccoCeilingsWindow>(10, "Площадь окраски лепных потолков"),
        entry<StuccoProductsWindow>(15, "Площадь окраски лепных изделий"),
        entry<SeparateSashesWindow>(20, "Площадь окраски оконных проемов с раздельными переплетами"),
        entry<PairedSashesWindow>(21, "Площадь окраски оконных проемов со спаренными переплетами"),
        entry<IndustrialWindow>(22, "Площадь окраски оконных проемов промышленных зданий"),
        entry<BalconyDoorWindow>(23, "Площадь окраски балконных дверей"),
        entry<SolidDoorWindow>(24, "Площадь окраски дверных проемов с глухими полотнами"),
        entry<GlazedDoorWindow>(25, "Площадь окраски дверных проемов с остекленными полотнами"),
        entry<CabinetDoorWindow>(26, "Площадь окраски шкафных дверей"),
        entry<DoorwayFramingWindow>(27, "Площадь окраски обрамлений дверных проемов (арка)"),
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

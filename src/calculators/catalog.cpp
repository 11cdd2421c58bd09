#include "calculators/catalog.h"

#include "calculators/doors/balconydoors.h"
#include "calculators/doors/cabinetdoors.h"
#include "calculators/doors/doorwayframing.h"
#include "calculators/doors/leafdoors.h"
#include "calculators/plumbing/pipeline.h"
#include "calculators/plumbing/pipes.h"
#include "calculators/surfaces/stuccoceilings.h"
#include "calculators/surfaces/stuccoproducts.h"
#include "calculators/windows/industrialwindows.h"
#include "calculators/windows/pairedsashes.h"
#include "calculators/windows/separatesashes.h"

#include <algorithm>

namespace velaro {
namespace {

// An entry for a window class that takes only the decimal separator.
template <class Window> CalculatorEntry entry(int formNumber, const char* caption) {
    return {formNumber, QString::fromUtf8(caption),
            [](char separator) -> CalculatorWindow* { return new Window(separator); }};
}

// An entry for a window class built from one of its designs and the decimal separator.
template <class Window, class Design>
CalculatorEntry designed(int formNumber, const char* caption, const Design& (*design)()) {
    return {formNumber, QString::fromUtf8(caption), [design](char separator) -> CalculatorWindow* {
                return new Window(design(), separator);
            }};
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
        designed<pipeline::Window>(3, "Площадь окраски стальных труб с выступами, креплениями...",
                                   pipeline::steelPipelines),
        designed<pipeline::Window>(4,
                                   "Площадь окраски чугунных труб, включая выступы, крепления...",
                                   pipeline::castIronPipelines),
        entry<StuccoCeilingsWindow>(10, "Площадь окраски лепных потолков"),
        entry<StuccoProductsWindow>(15, "Площадь окраски лепных изделий"),
        entry<SeparateSashesWindow>(20,
                                    "Площадь окраски оконных проемов с раздельными переплетами"),
        entry<PairedSashesWindow>(21, "Площадь окраски оконных проемов со спаренными переплетами"),
        entry<IndustrialWindow>(22, "Площадь окраски оконных проемов промышленных зданий"),
        entry<BalconyDoorWindow>(23, "Площадь окраски балконных дверей"),
        designed<LeafDoorWindow>(24, "Площадь окраски дверных проемов с глухими полотнами",
                                 leafdoors::solidLeaves),
        designed<LeafDoorWindow>(25, "Площадь окраски дверных проемов с остекленными полотнами",
                                 leafdoors::glazedLeaves),
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

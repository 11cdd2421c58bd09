#include "calculators/doors/leafdoors.h"

#include <algorithm>
#include <stdexcept>

namespace velaro {
namespace {

using leafdoors::Coefficient;
using leafdoors::Table;

// The wall types a table knows, in the order of its rows.
std::vector<std::string_view> wallTypes(const Table& table) {
    std::vector<std::string_view> walls;
    for (const Coefficient& row : table)
        if (std::ranges::find(walls, row.wall) == walls.end())
            walls.push_back(row.wall);
    return walls;
}

// The boxes by name, as the window's controls.
const char* const kMasonryBox = leafdoors::kMasonry.data();
const char* const kTimberBox = leafdoors::kTimber.data();
const char* const kPartitionsBox = leafdoors::kPartitions.data();
const char* const kOneSideBox = leafdoors::kOneSide.data();
const char* const kBothSidesBox = leafdoors::kBothSides.data();
const char* const kThickBox = leafdoors::kThick.data();

bool hasWall(const Table& table, std::string_view wall) {
    return std::ranges::any_of(table, [wall](const Coefficient& row) { return row.wall == wall; });
}

} // namespace

Outcome leafdoors::compute(const Table& table, const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    const auto ticked = [&state](std::string_view box) { return state.ticked(std::string(box)); };

    const auto wallsTicked = std::ranges::count_if(wallTypes(table), ticked);
    if (wallsTicked > 1)
        return doors::refusal("Оставьте только одну галочку !");
    if (ticked(kOneSide) && ticked(kBothSides))
        return doors::refusal("Оставьте только одну галочку для наличников!");
    if (wallsTicked == 0)
        return doors::refusal("Поставьте галочку !");
    // Each further tick belongs to one wall type and is wrong without it.
    if (std::ranges::any_of(table, [&](const Coefficient& row) {
            return !row.further.empty() && ticked(row.further) && !ticked(row.wall);
        }))
        return doors::refusal("Галочки расставлены неверно!");

    // The plain row of a wall type applies when none of its further ticks is set.
    const auto applies = [&](const Coefficient& row) {
        if (!ticked(row.wall))
            return false;
        if (!row.further.empty())
            return ticked(row.further);
        return std::ranges::none_of(table, [&](const Coefficient& other) {
            return other.wall == row.wall && !other.further.empty() && ticked(other.further);
        });
    };
    const auto match = std::ranges::find_if(table, applies);
    if (match == table.end())
        throw std::logic_error("no coefficient row matches the ticks");

    long double area = state.number(doors::kArea);
    area = area * match->factor;
    if (state.ticked(doors::kPrimed))
        area = area * match->primedFactor;
    return doors::result(state, area);
}

LeafDoorWindow::LeafDoorWindow(const LeafDoorDesign& design, char decimalSeparator, QWidget* parent)
    : DoorWindow(design.window, decimalSeparator, parent) {
    const leafdoors::Table& table = design.table;
    const bool timber = hasWall(table, leafdoors::kTimber);

    // A window without timber walls has no row for them.
    const int partitions = timber ? 2 : 1;
    std::vector<GridCell> cells{
        {QStringLiteral("Стены каменные, состав заполнения: коробка, полотно:"), 0, 0, 1, 1,
         kMasonryBox},
        {QStringLiteral("С наличниками с одной стороны проема:"), 0, 1, 1, 1, kOneSideBox},
        {QStringLiteral("С наличниками с двух сторон проема:"), 0, 2, 1, 1, kBothSidesBox}};
    if (timber) {
        cells.push_back({QStringLiteral("Стены деревянные, состав заполнения: коробка, полотно, с "
                                        "наличниками с двух сторон:"),
                         1, 0, 1, 1, kTimberBox});
        cells.push_back({QString(), 1, 1, 1, 2});
    }
    cells.push_back({QStringLiteral("Перегородки, состав заполнения: коробка, полотно, с "
                                    "наличниками с двух сторон (с учетом нормальной толщины "
                                    "коробок):"),
                     partitions, 0, 1, 1, kPartitionsBox});
    cells.push_back({doors::kThickPartitions, partitions, 1, 1, 2, kThickBox});
    std::vector<int> rows{44, 58, 72};
    if (!timber)
        rows.erase(rows.begin() + 1);
    addAreaWindowParts({design.titleSecondLine,
                        design.picture,
                        true,
                        conditionGrid({180, 146, 146}, rows, cells),
                        PrimedText::SunkenCell,
                        {QStringLiteral("Площадь окрашиваемой поверхности"),
                         QStringLiteral("заполнения дверных проемов "), design.resultLastLine}});

    QStringList tabOrder{doors::kArea, kCompute,    kReset,      doors::kResult,
                         kMasonryBox,  kPrimedTick, kOneSideBox, kBothSidesBox};
    QStringList resetOrder{doors::kArea, doors::kResult, kMasonryBox};
    if (timber) {
        tabOrder << kTimberBox;
        resetOrder << kTimberBox;
    }
    tabOrder << kPartitionsBox << kThickBox;
    resetOrder << kPartitionsBox << kPrimedTick << kOneSideBox << kThickBox << kBothSidesBox;
    setTabOrder(tabOrder);
    setResetOrder(resetOrder);
    setRule([&table](const FormState& state) { return leafdoors::compute(table, state); });
}

} // namespace velaro

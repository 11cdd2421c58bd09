#include "calculators/doors/leafdoors.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace velaro {
namespace {

using leafdoors::Table;

// The wall type of a row, and its further tick (empty: none).
std::string_view wallOf(const Coefficients& row) {
    return row.ticked.front();
}
std::string_view furtherOf(const Coefficients& row) {
    return row.ticked.size() > 1 ? std::string_view(row.ticked[1]) : std::string_view();
}

// The wall types a table knows, in the order of its rows.
std::vector<std::string_view> wallTypes(const Table& table) {
    std::vector<std::string_view> walls;
    for (const Coefficients& row : table.rows)
        if (std::ranges::find(walls, wallOf(row)) == walls.end())
            walls.push_back(wallOf(row));
    return walls;
}

bool hasWall(const Table& table, std::string_view wall) {
    return std::ranges::any_of(table.rows,
                               [wall](const Coefficients& row) { return wallOf(row) == wall; });
}

} // namespace

Outcome leafdoors::compute(const Table& table, const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    const auto ticked = [&state](std::string_view box) { return state.ticked(std::string(box)); };

    const auto wallsTicked = std::ranges::count_if(wallTypes(table), ticked);
    if (wallsTicked > 1)
        return doors::refusal(message::kOnlyOneTick);
    if (ticked(kOneSide) && ticked(kBothSides))
        return doors::refusal("Оставьте только одну галочку для наличников!");
    if (wallsTicked == 0)
        return doors::refusal(message::kNoTick);
    // Each further tick belongs to one wall type and is wrong without it.
    if (std::ranges::any_of(table.rows, [&](const Coefficients& row) {
            return !furtherOf(row).empty() && ticked(furtherOf(row)) && !ticked(wallOf(row));
        }))
        return doors::refusal(message::kWrongTicks);
    return doors::paintedArea(state, table);
}

LeafDoorWindow::LeafDoorWindow(const LeafDoorDesign& design, char decimalSeparator, QWidget* parent)
    : DoorWindow(design.window, decimalSeparator, parent) {
    const leafdoors::Table& table = design.table;
    const bool timber = hasWall(table, leafdoors::kTimber);

    // A window without timber walls has no row for them.
    const int partitions = timber ? 2 : 1;
    std::vector<GridCell> cells{
        {QStringLiteral("Стены каменные, состав заполнения: коробка, полотно:"), 0, 0, 1, 1,
         leafdoors::kMasonry},
        {QStringLiteral("С наличниками с одной стороны проема:"), 0, 1, 1, 1, leafdoors::kOneSide},
        {QStringLiteral("С наличниками с двух сторон проема:"), 0, 2, 1, 1, leafdoors::kBothSides}};
    if (timber) {
        cells.push_back({QStringLiteral("Стены деревянные, состав заполнения: коробка, полотно, с "
                                        "наличниками с двух сторон:"),
                         1, 0, 1, 1, leafdoors::kTimber});
        cells.push_back({QString(), 1, 1, 1, 2});
    }
    cells.push_back({QStringLiteral("Перегородки, состав заполнения: коробка, полотно, с "
                                    "наличниками с двух сторон (с учетом нормальной толщины "
                                    "коробок):"),
                     partitions, 0, 1, 1, leafdoors::kPartitions});
    cells.push_back({doors::kThickPartitions, partitions, 1, 1, 2, leafdoors::kThick});
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
                         leafdoors::kMasonry,  kPrimedTick, leafdoors::kOneSide, leafdoors::kBothSides};
    QStringList resetOrder{doors::kArea, doors::kResult, leafdoors::kMasonry};
    if (timber) {
        tabOrder << leafdoors::kTimber;
        resetOrder << leafdoors::kTimber;
    }
    tabOrder << leafdoors::kPartitions << leafdoors::kThick;
    resetOrder << leafdoors::kPartitions << kPrimedTick << leafdoors::kOneSide << leafdoors::kThick << leafdoors::kBothSides;
    setTabOrder(tabOrder);
    setResetOrder(resetOrder);
    setRule([&table](const FormState& state) { return leafdoors::compute(table, state); });
}

} // namespace velaro

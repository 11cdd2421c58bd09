#include "calculators/doors/leafdoors.h"
#include "calculators/catalog.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace velaro {
namespace {

using namespace leafdoors;

// Primed parts leave masonry walls as they are and take timber and partitions to 0.3.
// clang-format off
const Table kSolidLeaves{{
    {{kMasonry},                {{2.4L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kOneSide},      {{2.6L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kBothSides},    {{2.8L}, {1.0L, {doors::kPrimed}}}},
    {{kTimber},                 {{2.7L}, {0.3L, {doors::kPrimed}}}},
    {{kPartitions},             {{2.7L}, {0.3L, {doors::kPrimed}}}},
    {{kPartitions, kThick},     {{2.9L}, {0.3L, {doors::kPrimed}}}},
}};
const Table kGlazedLeaves{{
    {{kMasonry},                {{1.8L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kOneSide},      {{2.0L}, {1.0L, {doors::kPrimed}}}},
    {{kMasonry, kBothSides},    {{2.2L}, {1.0L, {doors::kPrimed}}}},
    {{kPartitions},             {{2.1L}, {0.3L, {doors::kPrimed}}}},
    {{kPartitions, kThick},     {{2.3L}, {0.3L, {doors::kPrimed}}}},
}};
// clang-format on

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

WindowDescription descriptionOf(const LeafDoorDesign& design) {
    return {design.className, design.module,
            QStringLiteral("Калькулятор окраски дверных проемов с %1 дверными полотнами")
                .arg(design.leaves),
            QSize(CalculatorWindow::kClientWidth, design.clientHeight)};
}

} // namespace

const LeafDoorDesign& leafdoors::solidLeaves() {
    static const LeafDoorDesign solid{
        "TForm24", "dverigluhie", 675, QStringLiteral("глухими"), QSize(145, 153), kSolidLeaves};
    return solid;
}

const LeafDoorDesign& leafdoors::glazedLeaves() {
    static const LeafDoorDesign glazed{
        "TForm25",       "dveriosteklenie", 639, QStringLiteral("остекленными"),
        QSize(161, 161), kGlazedLeaves};
    return glazed;
}

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
    : DoorWindow(descriptionOf(design), decimalSeparator, parent) {
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
    addAreaWindowParts({QStringLiteral("ЗАПОЛНЕНИЯ ДВЕРНЫХ ПРОЕМОВ С %1 ДВЕРНЫМИ ПОЛОТНАМИ:")
                            .arg(design.leaves.toUpper()),
                        design.picture,
                        true,
                        conditionGrid({196, 138, 138}, rows, cells),
                        PrimedText::SunkenCell,
                        {QStringLiteral("Площадь окрашиваемой поверхности"),
                         QStringLiteral("заполнения дверных проемов "),
                         QStringLiteral("с %1 дверными полотнами:").arg(design.leaves)}});

    QStringList tabOrder{doors::kArea,
                         kCompute,
                         kReset,
                         doors::kResult,
                         leafdoors::kMasonry,
                         kPrimedTick,
                         leafdoors::kOneSide,
                         leafdoors::kBothSides};
    QStringList resetOrder{doors::kArea, doors::kResult, leafdoors::kMasonry};
    if (timber) {
        tabOrder << leafdoors::kTimber;
        resetOrder << leafdoors::kTimber;
    }
    tabOrder << leafdoors::kPartitions << leafdoors::kThick;
    resetOrder << leafdoors::kPartitions << kPrimedTick << leafdoors::kOneSide << leafdoors::kThick
               << leafdoors::kBothSides;
    setTabOrder(tabOrder);
    setResetOrder(resetOrder);
    setRule([&table](const FormState& state) { return leafdoors::compute(table, state); });
}

Calculators leafDoorCalculators() {
    return {calculator<LeafDoorWindow>(24, "Площадь окраски дверных проемов с глухими полотнами",
                                       leafdoors::solidLeaves()),
            calculator<LeafDoorWindow>(25,
                                       "Площадь окраски дверных проемов с остекленными полотнами",
                                       leafdoors::glazedLeaves())};
}

} // namespace velaro

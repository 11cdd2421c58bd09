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

    CellGrid grid{{180, 146, 146}, {}};
    grid.rows.push_back(
        {44,
         {{QStringLiteral("Стены каменные, состав заполнения: коробка, полотно:"), "CheckBox1"},
          {QStringLiteral("С наличниками с одной стороны проема:"), "CheckBox5"},
          {QStringLiteral("С наличниками с двух сторон проема:"), "CheckBox7"}}});
    if (timber)
        grid.rows.push_back({58,
                             {{QStringLiteral("Стены деревянные, состав заполнения: коробка, "
                                              "полотно, с наличниками с двух сторон:"),
                               "CheckBox2"},
                              {QString(), QString(), 2}}});
    grid.rows.push_back({72,
                         {{QStringLiteral("Перегородки, состав заполнения: коробка, полотно, с "
                                          "наличниками с двух сторон (с учетом нормальной "
                                          "толщины коробок):"),
                           "CheckBox3"},
                          {doors::kThickPartitions, "CheckBox6", 2}}});
    addAreaWindowParts({design.titleSecondLine,
                        design.picture,
                        true,
                        grid,
                        PrimedText::SunkenCell,
                        {QStringLiteral("Площадь окрашиваемой поверхности"),
                         QStringLiteral("заполнения дверных проемов "), design.resultLastLine}});

    QStringList tabOrder{"Edit2",     "Button1",   "Button2",   "Edit4",
                         "CheckBox1", "CheckBox4", "CheckBox5", "CheckBox7"};
    QStringList resetOrder{"Edit2", "Edit4", "CheckBox1"};
    if (timber) {
        tabOrder << "CheckBox2";
        resetOrder << "CheckBox2";
    }
    tabOrder << "CheckBox3"
             << "CheckBox6";
    resetOrder << "CheckBox3"
               << "CheckBox4"
               << "CheckBox5"
               << "CheckBox6"
               << "CheckBox7";
    setTabOrder(tabOrder);
    setResetOrder(resetOrder);
    setRule([&table](const FormState& state) { return leafdoors::compute(table, state); });
}

} // namespace velaro

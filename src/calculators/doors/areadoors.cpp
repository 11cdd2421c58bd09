// The door windows that read nothing but the area: doorways with solid or glazed leaves, cabinet
// doors and the framing of an open doorway (an arch). Each is a design, a row of data: its texts,
// sizes, grid of conditions, orders and coefficient table; one class builds them all.

#include "calculators/catalog.h"
#include "calculators/doors/doorwindow.h"

#include <algorithm>
#include <string_view>

namespace velaro {
namespace {

// Wall types, and the further ticks that belong to one of them.
constexpr const char* kMasonry = "CheckBox1";
constexpr const char* kTimber = "CheckBox2";
constexpr const char* kPartitions = "CheckBox3";
constexpr const char* kOneSide = "CheckBox5";   // architraves, with masonry walls
constexpr const char* kBothSides = "CheckBox7"; // architraves, with masonry walls
constexpr const char* kThick = "CheckBox6";     // 140–160 mm partitions

// A row's condition is a wall type and at most one further tick of it; its chain is the
// coefficient, then the primed parts' factor where ticked. Primed parts leave masonry walls as
// they are. Cabinet doors serve one case, stated without a box.
// clang-format off
const CoefficientTable kSolidLeafFactors{{
    {{kMasonry},                {{2.4L}, {1.0L, {kPrimedTick}}}},
    {{kMasonry, kOneSide},      {{2.6L}, {1.0L, {kPrimedTick}}}},
    {{kMasonry, kBothSides},    {{2.8L}, {1.0L, {kPrimedTick}}}},
    {{kTimber},                 {{2.7L}, {0.3L, {kPrimedTick}}}},
    {{kPartitions},             {{2.7L}, {0.3L, {kPrimedTick}}}},
    {{kPartitions, kThick},     {{2.9L}, {0.3L, {kPrimedTick}}}},
}};
const CoefficientTable kGlazedLeafFactors{{
    {{kMasonry},                {{1.8L}, {1.0L, {kPrimedTick}}}},
    {{kMasonry, kOneSide},      {{2.0L}, {1.0L, {kPrimedTick}}}},
    {{kMasonry, kBothSides},    {{2.2L}, {1.0L, {kPrimedTick}}}},
    {{kPartitions},             {{2.1L}, {0.3L, {kPrimedTick}}}},
    {{kPartitions, kThick},     {{2.3L}, {0.3L, {kPrimedTick}}}},
}};
const CoefficientTable kCabinetFactors{{
    {{},                        {{2.1L}, {0.3L, {kPrimedTick}}}},
}};
const CoefficientTable kFramingFactors{{
    {{kPartitions},             {{0.9L}, {0.4L, {kPrimedTick}}}},
    {{kPartitions, kThick},     {{1.1L}, {0.4L, {kPrimedTick}}}},
}};
// clang-format on

const QString kMasonryLeaf = QStringLiteral("Стены каменные, состав заполнения: коробка, полотно:");
const QString kOneSideText = QStringLiteral("С наличниками с одной стороны проема:");
const QString kBothSidesText = QStringLiteral("С наличниками с двух сторон проема:");
const QString kTimberLeaf = QStringLiteral(
    "Стены деревянные, состав заполнения: коробка, полотно, с наличниками с двух сторон:");
const QString kPartitionsLeaf =
    QStringLiteral("Перегородки, состав заполнения: коробка, полотно, с наличниками с двух "
                   "сторон (с учетом нормальной толщины коробок):");
const QString kThickText =
    QStringLiteral("Дополнительно поставьте галочку, если перегородки толщиной 140-160 мм с "
                   "коробками на всю ширину перегородки:");

// The conditions' names on the estimate sheet, alike in every design that has them.
const ShortNames kConditionNames{
    {kMasonry, "Стены каменные"},
    {kOneSide, "Наличники с одной стороны"},
    {kBothSides, "Наличники с двух сторон"},
    {kTimber, "Стены деревянные"},
    {kPartitions, "Перегородки"},
    {kThick, "Перегородки толщиной 140-160 мм"},
};

struct Design {
    int form;
    const char* button;  // the caption of its button in the main window
    const char* element; // what its estimate sheet lines are for
    const char* module;
    int height;
    // What fills the doorways, and what joins it to "дверных проемов" in the window's caption,
    // title and result caption.
    QString joiner;
    QString filling;
    QSize picture;
    bool tickInstruction; // "Поставьте галочку там, где условие выполняется:" over the grid
    bool primedInCell; // "Детали проолифленные:" in a sunken cell rather than a label
    std::vector<int> columns;
    std::vector<int> rows;
    std::vector<GridCell> cells;
    QStringList tabOrder;   // after the area, Compute, Reset and the result
    QStringList resetOrder; // after the area and the result
    const CoefficientTable* table;
    const char* noWall; // the refusal when the table has wall types and none is ticked
    // Cupboard doors stand in a partition rather than cut through a wall.
    bool deductedFromWalls = true;
};

// Each design in the order of its fields: form number, button caption; the element on the sheet,
// picture module, height; the filling's joiner and words, picture, instruction, primed cell; the
// grid's columns, rows and cells; tab and Reset orders; table, and the refusal when no wall type
// is ticked.
// clang-format off
const Design kSolidLeafDoors{
    24, "Площадь окраски дверных проемов с глухими полотнами",
    "Дверные проемы с глухими полотнами", "dverigluhie", 675,
    QStringLiteral(" "), QStringLiteral("с глухими дверными полотнами"), {145, 153}, true, true,
    {196, 138, 138}, {44, 58, 72},
    {{kMasonryLeaf, 0, 0, 1, 1, kMasonry}, {kOneSideText, 0, 1, 1, 1, kOneSide},
     {kBothSidesText, 0, 2, 1, 1, kBothSides},
     {kTimberLeaf, 1, 0, 1, 1, kTimber}, {QString(), 1, 1, 1, 2},
     {kPartitionsLeaf, 2, 0, 1, 1, kPartitions}, {kThickText, 2, 1, 1, 2, kThick}},
    {kMasonry, kPrimedTick, kOneSide, kBothSides, kTimber, kPartitions, kThick},
    {kMasonry, kTimber, kPartitions, kPrimedTick, kOneSide, kThick, kBothSides},
    &kSolidLeafFactors, message::kNoTick};

// The solid leaves' window without timber walls.
const Design kGlazedLeafDoors{
    25, "Площадь окраски дверных проемов с остекленными полотнами",
    "Дверные проемы с остекленными полотнами", "dveriosteklenie", 639,
    QStringLiteral(" "), QStringLiteral("с остекленными дверными полотнами"), {161, 161}, true, true,
    {196, 138, 138}, {44, 72},
    {{kMasonryLeaf, 0, 0, 1, 1, kMasonry}, {kOneSideText, 0, 1, 1, 1, kOneSide},
     {kBothSidesText, 0, 2, 1, 1, kBothSides},
     {kPartitionsLeaf, 1, 0, 1, 1, kPartitions}, {kThickText, 1, 1, 1, 2, kThick}},
    {kMasonry, kPrimedTick, kOneSide, kBothSides, kPartitions, kThick},
    {kMasonry, kPartitions, kPrimedTick, kOneSide, kThick, kBothSides},
    &kGlazedLeafFactors, message::kNoTick};

const Design kCabinetDoors{
    26, "Площадь окраски шкафных дверей",
    "Двери шкафные", "shkafniedveri", 513,
    QStringLiteral(" - "), QStringLiteral("шкафные двери"), {113, 161}, false, false,
    {476}, {30},
    {{QStringLiteral("Перегородки, состав заполнения: коробка, полотно, наличники с одной "
                     "стороны"), 0, 0}},
    {kPrimedTick}, {kPrimedTick}, &kCabinetFactors, nullptr, false};

const Design kDoorwayFraming{
    27, "Площадь окраски обрамлений дверных проемов (арка)",
    "Обрамления дверных проемов (арка)", "arka", 573,
    QStringLiteral(" - "), QStringLiteral("обрамление открытого проема"), {145, 161}, true, false,
    {237, 237}, {60},
    {{QStringLiteral("Перегородки, состав заполнения: коробка, наличники с двух сторон (с учетом "
                     "нормальной толщины коробок):"), 0, 0, 1, 1, kPartitions},
     {kThickText, 0, 1, 1, 1, kThick}},
    {kPrimedTick, kPartitions, kThick}, {kPartitions, kThick, kPrimedTick},
    &kFramingFactors, "Поставьте галочку для состава заполнения!"};
// clang-format on

// Refuses an empty area, then ticks no row of the table holds for, in this order: two wall
// types, both kinds of architraves, no wall type, a further tick without its wall. Ticks are
// checked before the area is read, so a malformed area is reported only after them.
Outcome paintedArea(const Design& design, const FormState& state) {
    if (auto refused = doors::refuseEmptyArea(state))
        return *refused;
    const auto ticked = [&state](std::string_view box) { return state.ticked(std::string(box)); };
    const auto refusal = [](std::string message) {
        return tickRefusal(std::move(message), doors::kResult);
    };
    const std::vector<Coefficients>& rows = design.table->rows;

    std::vector<std::string_view> walls; // each once, in the order of the rows
    for (const Coefficients& row : rows)
        if (!row.ticked.empty() && std::ranges::find(walls, row.ticked.front()) == walls.end())
            walls.push_back(row.ticked.front());
    const auto wallsTicked = std::ranges::count_if(walls, ticked);
    if (wallsTicked > 1)
        return refusal(message::kOnlyOneTick);
    if (std::ranges::find(walls, kMasonry) != walls.end() && ticked(kOneSide) && ticked(kBothSides))
        return refusal("Оставьте только одну галочку для наличников!");
    if (!walls.empty() && wallsTicked == 0)
        return refusal(design.noWall);
    if (std::ranges::any_of(rows, [&](const Coefficients& row) {
            return row.ticked.size() > 1 && ticked(row.ticked[1]) && !ticked(row.ticked[0]);
        }))
        return refusal(message::kWrongTicks);
    return design.table->result(state, doors::kResult, measured(state, doors::kArea));
}

// Title, the area beside the picture, the grid (under an instruction where it has boxes to
// tick), the primed-parts tick, and the foot.
class AreaDoorWindow : public DoorWindow {
  public:
    AreaDoorWindow(const Design* design, char decimalSeparator)
        : DoorWindow({QStringLiteral("TForm%1").arg(design->form), design->module,
                      QStringLiteral("Калькулятор окраски дверных проемов") + design->joiner +
                          design->filling,
                      QSize(kClientWidth, design->height)},
                     decimalSeparator) {
        int bottom = addTitle(design->joiner + design->filling.toUpper() + ':', client()->width());

        const QRect picture(
            QPoint(client()->width() - kMargin - design->picture.width(), bottom + kGap),
            design->picture);
        addPicture(picture);
        const FieldRow area = addFieldUnder(
            doors::kArea,
            QStringLiteral("Введите площадь дверных проемов \nпо наружному обводу коробок: "),
            QStringLiteral("м2"), QPoint(0, 0), kUnderPrompt);
        const QRect block = area.bounds();
        area.moveBy(QPoint((picture.left() - block.width()) / 2,
                           picture.top() + (picture.height() - block.height()) / 2));
        bottom = picture.bottom() + 1 + kGap;

        if (design->tickInstruction)
            bottom = addItalicLine(doors::kTickWhereItHolds, bottom) + 4;
        bottom =
            addConditionGrid(conditionGrid(design->columns, design->rows, design->cells), bottom);
        bottom = addPrimedTick(QPoint(kMargin, bottom + kGap), kUnderPrompt, false,
                               design->primedInCell ? QSize(150, 24) : QSize());
        addComputeResultReset(design->joiner + '\n' + design->filling + ':', bottom);

        setTabOrder(QStringList{doors::kArea, kCompute, kReset, doors::kResult} + design->tabOrder);
        setResetOrder(QStringList{doors::kArea, doors::kResult} + design->resetOrder);
        ShortNames names{{doors::kArea, doors::kAreaShortName}};
        names.insert(names.end(), kConditionNames.begin(), kConditionNames.end());
        setShortNames(std::move(names));
        setRule([design](const FormState& state) { return paintedArea(*design, state); });
    }
};

CalculatorEntry entry(const Design& design) {
    CalculatorEntry entry =
        calculator<AreaDoorWindow>(design.form, design.button, design.element, &design);
    entry.opening = {Opening::Door, doors::kArea, design.deductedFromWalls};
    return entry;
}

} // namespace

Calculators areaDoorCalculators() {
    return {entry(kSolidLeafDoors), entry(kGlazedLeafDoors), entry(kCabinetDoors),
            entry(kDoorwayFraming)};
}

} // namespace velaro

// The three window-opening calculators: openings with separate sashes, with paired sashes, and
// of industrial buildings. Each takes the opening area times the coefficient of the ticked
// condition and the sash count, less for oiled parts (more for triple glazing among the paired
// sashes). One window class builds all three from their designs: titles with the picture to their
// right, the area and sash-count fields, a grid of conditions, then the primed tick, Compute, the
// result and Reset spread over the rest of the window.

#include "calculators/catalog.h"
#include "core/coefficients.h"
#include "core/fonts.h"
#include "core/numericedit.h"
#include "core/refusals.h"

#include <QLabel>

#include <algorithm>

namespace velaro {
namespace {

constexpr const char* kArea = "Edit2";
constexpr const char* kSashes = "Edit3";
constexpr const char* kResult = "Edit4";
constexpr const char* kStoneWithSill = "CheckBox1";
constexpr const char* kStoneWithoutSill = "CheckBox2";
constexpr const char* kOiled = kPrimedTick; // "Детали проолифленные:"

constexpr int kMargin = 16; // the prompts' and the grids' left edge

// The area and the sash count: present, and the count written exactly "1" or "2". Each of these
// refusals puts the focus in its field.
std::optional<Refusal> refuseFields(const FormState& state) {
    if (auto refusal = refuseEmpty(state, kArea, "Введите площадь оконных проемов !", kResult))
        return refusal;
    return refuseSashCount(state, kSashes, kResult);
}

// After the checks: reads the area, then the sash count, and runs the area through the chain the
// ticks and the sash count select, rounded to two decimals.
Outcome paintedArea(const FormState& state, const CoefficientTable& table) {
    TrailTerm area = measured(state, kArea);
    const long double sashes = state.number(kSashes);
    return table.result(state, kResult, std::move(area), sashes);
}

// Separate sashes: walls and filling.

constexpr const char* kTimberWalls = "CheckBox3";

// Ticked condition and sash count → its factor, then the oiled parts' factor where ticked.
// clang-format off
const CoefficientTable kSeparateSashesTable{{
    {{kStoneWithSill},    {{1.5L}, {0.3L, {kOiled}}}, sashCount(1)},
    {{kStoneWithSill},    {{2.8L}, {0.3L, {kOiled}}}, sashCount(2)},
    {{kStoneWithoutSill}, {{1.2L}, {1.0L, {kOiled}}}, sashCount(1)},
    {{kStoneWithoutSill}, {{2.5L}, {1.0L, {kOiled}}}, sashCount(2)},
    {{kTimberWalls},      {{2.2L}, {0.6L, {kOiled}}}, sashCount(1)},
    {{kTimberWalls},      {{3.5L}, {0.5L, {kOiled}}}, sashCount(2)},
}};
// clang-format on

// Each condition is a stack of lines with its box after the last, and a rule below; the box is
// named by all its lines.
const QString kRule(39, QLatin1Char('_'));
constexpr int kLine = 16;
constexpr int kRuleLine = kLine + 7;
// clang-format off
const ConditionGrid kSeparateSashesGrid{
    .columns = {CalculatorWindow::kClientWidth - 2 * kMargin},
    .rows = {kLine, kLine, kRuleLine, kLine, kLine, kRuleLine, kLine, kLine, kLine, kRuleLine},
    .cells =
        {
            {"Стены каменные, состав заполнения: ", 0, 0},
            {"коробка, переплет, подоконная доска:", 1, 0, 1, 1, kStoneWithSill, {{0, 0}, {1, 0}}},
            {kRule, 2, 0},
            {"Стены каменные, состав заполнения: ", 3, 0},
            {"коробка, переплет, без подоконной доски:", 4, 0, 1, 1, kStoneWithoutSill,
             {{3, 0}, {4, 0}}},
            {kRule, 5, 0},
            {"Стены деревянные, состав заполнения: ", 6, 0},
            {"коробка, переплет, подоконная доска,", 7, 0},
            {"наличники с двух сторон:", 8, 0, 1, 1, kTimberWalls, {{6, 0}, {7, 0}, {8, 0}}},
            {kRule, 9, 0},
        },
    .style = ConditionGrid::Cells::Lines,
    .boxGap = 7,
    .left = kMargin,
    .nameSeparator = QStringLiteral(" "), // the lines of one sentence; doubled blanks fold
};
// clang-format on

// The conditions' names on the estimate sheet, where the window's are whole sentences.
const ShortNames kSeparateSashesNames{
    {kStoneWithSill, "Стены каменные, с подоконной доской"},
    {kStoneWithoutSill, "Стены каменные, без подоконной доски"},
    {kTimberWalls, "Стены деревянные"},
};

Outcome separateSashes(const FormState& state) {
    if (auto refusal = refuseFields(state))
        return *refusal;
    if (auto refusal = refuseUnlessOneTicked(
            state, {kStoneWithSill, kStoneWithoutSill, kTimberWalls}, kResult))
        return *refusal;
    return paintedArea(state, kSeparateSashesTable);
}

// Paired sashes: the characteristic of the filling, triple glazing beside the first two.

constexpr const char* kTransoms = "CheckBox3";
constexpr const char* kTripleWithSill = "CheckBox5";
constexpr const char* kTripleWithoutSill = "CheckBox6";
constexpr const char* kShopWindows = "CheckBox7";

// Characteristic and sash count → its factor, then triple glazing's and the oiled parts' where
// ticked. Triple glazing with one sash never gets this far; on the second characteristic it
// leaves out the oiled parts.
// clang-format off
const CoefficientTable kPairedSashesTable{{
    {{kStoneWithSill},    {{1.0L}, {1.0L, {kOiled}}},                             sashCount(1)},
    {{kStoneWithSill},    {{2.5L}, {1.5L, {kTripleWithSill}}, {0.3L, {kOiled}}},  sashCount(2)},
    {{kStoneWithoutSill}, {{1.0L}, {1.0L, {kOiled}}},                             sashCount(1)},
    {{kStoneWithoutSill}, {{2.2L}, {1.0L, {kOiled}}},                             sashCount(2)},
    {{kStoneWithoutSill, kTripleWithoutSill},
        {{2.2L, {kStoneWithoutSill}}, {1.5L, {kTripleWithoutSill}}},              sashCount(2)},
    {{kTransoms},         {{1.6L}, {0.7L, {kOiled}}},                             sashCount(1)},
    {{kTransoms},         {{1.0L}, {1.0L, {kOiled}}},                             sashCount(2)},
    {{kShopWindows},      {{1.75L}, {0.45L, {kOiled}}},                           sashCount(1)},
    {{kShopWindows},      {{3.5L}, {0.9L, {kOiled}}},                             sashCount(2)},
}};
// clang-format on

const QString kStoneWalls = QStringLiteral("Стены каменные, состав заполнения: ");
const QString kTripleGlazing = QStringLiteral("С тройным остеклением");

// Columns: kind of filling, characteristic with its box, glazing with its box. The cells are
// listed in the order of their names.
// clang-format off
const ConditionGrid kPairedSashesGrid{
    .columns = {104, 241, 123},
    .rows = {36, 44, 44, 44, 44},
    .cells =
        {
            {"Характеристика заполнения", 0, 0},
            {QString(), 0, 1, 1, 2},
            {kStoneWalls + "коробка, переплет, подоконная доска", 1, 1, 1, 1, kStoneWithSill},
            {QString(), 1, 0, 2, 1},
            {kStoneWalls + "коробка, переплет, без подоконной доски", 2, 1, 1, 1,
             kStoneWithoutSill},
            {kTripleGlazing, 1, 2, 1, 1, kTripleWithSill, {{1, 2}, {1, 1}}},
            {kTripleGlazing, 2, 2, 1, 1, kTripleWithoutSill, {{2, 2}, {2, 1}}},
            {"Фрамуги", 3, 0},
            {"Перегородки, состав заполнения: переплет, наличники с двух сторон", 3, 1, 1, 1,
             kTransoms, {{3, 0}, {3, 1}}},
            {"Витринное деревянное", 4, 0},
            {kStoneWalls + "коробка, переплет", 4, 1, 1, 1, kShopWindows, {{4, 0}, {4, 1}}},
            {QString(), 3, 2, 2, 1},
        },
    .left = kMargin,
};
// clang-format on

// Triple glazing goes with the characteristic ticked beside it, which the sheet names too.
const ShortNames kPairedSashesNames{
    {kStoneWithSill, "Стены каменные, с подоконной доской"},
    {kStoneWithoutSill, "Стены каменные, без подоконной доски"},
    {kTripleWithSill, "С тройным остеклением"},
    {kTripleWithoutSill, "С тройным остеклением"},
    {kTransoms, "Фрамуги"},
    {kShopWindows, "Витринное деревянное"},
};

Outcome pairedSashes(const FormState& state) {
    if (auto refusal = refuseFields(state))
        return *refusal;
    const auto ticked = [&](const char* box) { return state.ticked(box); };
    const bool tripleOnFirst = ticked(kStoneWithSill) && ticked(kTripleWithSill);
    const bool tripleOnSecond = ticked(kStoneWithoutSill) && ticked(kTripleWithoutSill);
    if ((tripleOnFirst || tripleOnSecond) && state.text(kSashes) != "2")
        return tickRefusal(message::kTripleGlazingNeedsTwoSashes, kResult);
    if (ticked(kTripleWithSill) && ticked(kTripleWithoutSill))
        return tickRefusal(message::kOnlyOneTick, kResult);
    if (auto refusal = refuseUnlessOneTicked(
            state, {kStoneWithSill, kStoneWithoutSill, kTransoms, kShopWindows}, kResult))
        return *refusal;
    if ((ticked(kTripleWithSill) && !ticked(kStoneWithSill)) ||
        (ticked(kTripleWithoutSill) && !ticked(kStoneWithoutSill)))
        return tickRefusal(message::kWrongTicks, kResult);
    return paintedArea(state, kPairedSashesTable);
}

// Industrial buildings: the size class of the opening.

constexpr const char* kUpTo4 = "CheckBox1";
constexpr const char* kOver4 = "CheckBox2";

// Ticked size class and sash count → its factor, then the oiled parts' factor where ticked. The
// class is what the user ticks; the area typed is not compared with 4 м2.
// clang-format off
const CoefficientTable kIndustrialTable{{
    {{kUpTo4}, {{2.1L}, {0.3L, {kOiled}}}, sashCount(1)},
    {{kUpTo4}, {{3.2L}, {0.3L, {kOiled}}}, sashCount(2)},
    {{kOver4}, {{1.7L}, {0.2L, {kOiled}}}, sashCount(1)},
    {{kOver4}, {{2.6L}, {0.2L, {kOiled}}}, sashCount(2)},
}};
// clang-format on

const QString kFilling = QStringLiteral(
    "Стены каменные, состав заполнения: коробка, переплет, раскладки, монтажные подоконные доски");

// Columns: size class, filling with its box.
// clang-format off
const ConditionGrid kIndustrialGrid{
    .columns = {168, 295},
    .rows = {30, 46, 46},
    .cells =
        {
            {"Характеристика заполнения", 0, 0},
            {QString(), 0, 1},
            {"Площадью до 4 м2 с раздельными переплетами", 1, 0},
            {kFilling, 1, 1, 1, 1, kUpTo4, {{1, 0}, {1, 1}}},
            {"Площадью более 4 м2 с раздельными переплетами", 2, 0},
            {kFilling, 2, 1, 1, 1, kOver4, {{2, 0}, {2, 1}}},
        },
    .left = kMargin,
};
// clang-format on

const ShortNames kIndustrialNames{
    {kUpTo4, "Площадью до 4 м2"},
    {kOver4, "Площадью более 4 м2"},
};

Outcome industrialWindows(const FormState& state) {
    if (auto refusal = refuseFields(state))
        return *refusal;
    if (auto refusal = refuseUnlessOneTicked(state, {kUpTo4, kOver4}, kResult))
        return *refusal;
    return paintedArea(state, kIndustrialTable);
}

// The window.

struct OpeningDesign {
    int formNumber;
    const char* className;
    const char* module;
    // The window's caption, its button's caption and the result caption's last line end with
    // the openings the window is for.
    const char* openings;
    int clientHeight;
    const char* titles;   // lines separated by '\n'
    int titlePixelHeight; // the smaller titles of the grid windows
    QSize picture;
    const ConditionGrid& conditions;
    Outcome (*rule)(const FormState&);
    const char* element;              // what its estimate sheet lines are for
    const ShortNames& conditionNames; // on the sheet, beside the fields' names all three share
};

// Window number, class, module, openings, client height; titles; their pixel height, picture,
// conditions and rule; the element and the conditions' names on the sheet.
// clang-format off
const OpeningDesign kDesigns[] = {
    {20, "TForm20", "oknarazdvizh", "с раздельными переплетами", 635,
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ\nЗАПОЛНЕНИЯ ОКОННЫХ ПРОЕМОВ\n"
     "ЖИЛЫХ И ОБЩЕСТВЕННЫХ ЗДАНИЙ\nС РАЗДЕЛЬНЫМИ ПЕРЕПЛЕТАМИ",
     13, QSize(41, 113), kSeparateSashesGrid, separateSashes,
     "Окна с раздельными переплетами", kSeparateSashesNames},
    {21, "TForm21", "oknasparen", "со спаренными переплетами", 617,
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ ЗАПОЛНЕНИЯ\n"
     "ОКОННЫХ ПРОЕМОВ ЖИЛЫХ И ОБЩЕСТВЕННЫХ ЗДАНИЙ\nСО СПАРЕННЫМИ ПЕРЕПЛЕТАМИ",
     10, QSize(73, 153), kPairedSashesGrid, pairedSashes,
     "Окна со спаренными переплетами", kPairedSashesNames},
    {22, "TForm22", "oknapromish", "промышленных зданий", 599,
     "ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ \n"
     "ЗАПОЛНЕНИЯ  ОКОННЫХ ПРОЕМОВ ПРОМЫШЛЕННЫХ ЗДАНИЙ",
     11, QSize(73, 153), kIndustrialGrid, industrialWindows,
     "Окна промышленных зданий", kIndustrialNames},
};
// clang-format on

constexpr int kFieldLeft = 260; // the fields stand in one column, their units to the right
constexpr int kUnderPrompt = 3; // from a prompt's foot to its field
constexpr int kFieldStep = 8;   // from one field to the next prompt
constexpr int kPictureInset = 8;
constexpr int kPrimedBlock = 40; // the instruction and the primed-parts line
constexpr int kPrimedTextGap = 7;

class OpeningWindow : public CalculatorWindow {
  public:
    OpeningWindow(const OpeningDesign& design, char decimalSeparator);
};

OpeningWindow::OpeningWindow(const OpeningDesign& design, char decimalSeparator)
    : CalculatorWindow({design.className, design.module,
                        QStringLiteral("Калькулятор окраски оконных проемов ") + design.openings,
                        QSize(kClientWidth, design.clientHeight)},
                       decimalSeparator) {
    const QRect picture(
        QPoint(kClientWidth - kPictureInset - design.picture.width(), kPictureInset),
        design.picture);
    addPicture(picture);

    // The titles are centred in the room the picture leaves, within the margin the prompts keep.
    QLabel* titles =
        addCentredLabel(design.titles, kPictureInset, serifFont(design.titlePixelHeight), kMargin,
                        picture.left() - kPictureInset - kMargin);

    const auto addPromptedField = [&](const char* field, const QString& prompt, const QString& unit,
                                      int top) {
        const FieldRow row =
            addFieldUnder(field, prompt, unit, QPoint(kMargin, top), kUnderPrompt, kFieldLeft);
        return row.field->geometry().bottom() + 1;
    };
    const int areaBottom = addPromptedField(
        kArea, QStringLiteral("Введите площадь оконных проемов по наружному обводу коробок:"),
        QStringLiteral("м2"), titles->geometry().bottom() + 10);
    const int sashesBottom =
        addPromptedField(kSashes, QStringLiteral("Введите количество переплетов (1 или 2):"),
                         QStringLiteral("шт."), areaBottom + kFieldStep);
    const int instructionTop = std::max(sashesBottom, picture.bottom()) + 10;
    addInstruction(QStringLiteral("Поставьте галочку там, где условие выполняется:"),
                   QPoint(kMargin, instructionTop));
    const int conditionsBottom = addConditionGrid(design.conditions, instructionTop + 22);

    // The foot: the room below the conditions is shared out evenly above the primed tick,
    // Compute, the result and Reset, which stands on the bottom margin.
    const FieldRow result = addLevelFieldRow(
        kResult,
        QStringLiteral("Площадь окрашиваемой поверхности\nзаполнения оконных проемов\n") +
            design.openings + ':',
        QStringLiteral("м2"), kMargin, kFieldLeft);
    // Centred lines, as every calculator's result caption.
    result.prompt->setAlignment(kResultCaptionAlignment);
    const int content = kPrimedBlock + kButtonHeight + result.prompt->height() + kButtonHeight;
    const int gap = (client()->height() - kFootMargin - conditionsBottom - content) / 4;
    const int primedTop = conditionsBottom + gap;
    addPrimedTick(QPoint(kMargin, primedTop), kPrimedTextGap, true);
    const int computeTop = primedTop + kPrimedBlock + gap;
    result.moveBy(QPoint(0, computeTop + kButtonHeight + gap));
    addFoot(computeTop, result, client()->height() - kFootMargin - kButtonHeight);

    // The boxes in the order of their names: Reset unticks them so once it has emptied the
    // fields, and the tab order visits them so, the sash count after the first.
    QStringList boxes{kPrimedTick};
    for (const GridCell& cell : design.conditions.cells)
        if (cell.box)
            boxes << cell.box;
    boxes.sort();
    setResetOrder(QStringList{kSashes, kArea, kResult} + boxes);
    setTabOrder(QStringList{kArea, kCompute, kReset, kResult, boxes.front(), kSashes} +
                boxes.mid(1));
    ShortNames names{{kArea, "Площадь проемов"}, {kSashes, "Переплетов"}};
    names.insert(names.end(), design.conditionNames.begin(), design.conditionNames.end());
    setShortNames(std::move(names));
    setRule(design.rule);
}

} // namespace

Calculators windowOpeningCalculators() {
    Calculators entries;
    for (const OpeningDesign& design : kDesigns)
        entries.push_back({design.formNumber,
                           QStringLiteral("Площадь окраски оконных проемов ") + design.openings,
                           QString::fromUtf8(design.element),
                           [&design](char separator) -> CalculatorWindow* {
                               return new OpeningWindow(design, separator);
                           },
                           {Opening::Window, kArea, true}});
    return entries;
}

} // namespace velaro

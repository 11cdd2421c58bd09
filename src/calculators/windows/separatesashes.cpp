#include "calculators/windows/separatesashes.h"
#include "calculators/catalog.h"

#include "calculators/windows/openingrule.h"

namespace velaro {
namespace {

// The window: class, module, height; titles and their pixel height; picture; the openings.
// clang-format off
const OpeningLayout kLayout{"TForm20", "oknarazdvizh", 635,
    {QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАШИВАЕМОЙ ПОВЕРХНОСТИ"),
     QStringLiteral("ЗАПОЛНЕНИЯ ОКОННЫХ ПРОЕМОВ"),
     QStringLiteral("ЖИЛЫХ И ОБЩЕСТВЕННЫХ ЗДАНИЙ"),
     QStringLiteral("С РАЗДЕЛЬНЫМИ ПЕРЕПЛЕТАМИ")},
    13, QSize(41, 113), QStringLiteral("с раздельными переплетами")};
// clang-format on

// Ticked condition and sash count → its factor, then the oiled parts' factor where ticked.
// clang-format off
const CoefficientTable kCoefficients = opening::tableBySashes({
    // condition     1 sash, oiled   2 sashes, oiled
    {"CheckBox1",    {1.5L, 0.3L},   {2.8L, 0.3L}},
    {"CheckBox2",    {1.2L, 1.0L},   {2.5L, 1.0L}},
    {"CheckBox3",    {2.2L, 0.6L},   {3.5L, 0.5L}},
});
// clang-format on

constexpr const char* kStoneWithSill = "CheckBox1";
constexpr const char* kStoneWithoutSill = "CheckBox2";
constexpr const char* kTimberWalls = "CheckBox3";

// Each condition is a stack of lines with its box after the last, and a rule below; the box is
// named by all its lines.
const QString kRule(39, QLatin1Char('_'));
constexpr int kLine = 16;
constexpr int kRuleLine = kLine + 7;
// clang-format off
const ConditionGrid kConditions{
    .columns = {CalculatorWindow::kClientWidth - 2 * OpeningWindow::kMargin},
    .rows = {kLine, kLine, kRuleLine, kLine, kLine, kRuleLine, kLine, kLine, kLine, kRuleLine},
    .cells =
        {
            {QStringLiteral("Стены каменные, состав заполнения: "), 0, 0},
            {QStringLiteral("коробка, переплет, подоконная доска:"), 1, 0, 1, 1, kStoneWithSill,
             {{0, 0}, {1, 0}}},
            {kRule, 2, 0},
            {QStringLiteral("Стены каменные, состав заполнения: "), 3, 0},
            {QStringLiteral("коробка, переплет, без подоконной доски:"), 4, 0, 1, 1,
             kStoneWithoutSill, {{3, 0}, {4, 0}}},
            {kRule, 5, 0},
            {QStringLiteral("Стены деревянные, состав заполнения: "), 6, 0},
            {QStringLiteral("коробка, переплет, подоконная доска,"), 7, 0},
            {QStringLiteral("наличники с двух сторон:"), 8, 0, 1, 1, kTimberWalls,
             {{6, 0}, {7, 0}, {8, 0}}},
            {kRule, 9, 0},
        },
    .style = ConditionGrid::Cells::Plain,
    .boxGap = 7,
    .left = OpeningWindow::kMargin,
    .nameSeparator = QString(),
    .squareBoxes = true,
};
// clang-format on

} // namespace

Outcome separatesashes::compute(const FormState& state) {
    if (auto refusal = opening::refuseFields(state))
        return *refusal;
    if (auto refusal =
            opening::refuseConditionCount(state, {"CheckBox1", "CheckBox2", "CheckBox3"}))
        return *refusal;
    return opening::paintedArea(state, kCoefficients);
}

SeparateSashesWindow::SeparateSashesWindow(char decimalSeparator, QWidget* parent)
    : OpeningWindow(kLayout, kConditions,
                    {kStoneWithSill, kStoneWithoutSill, kTimberWalls, kPrimedTick},
                    decimalSeparator, parent) {
    setTabOrder({opening::kArea, kCompute, kReset, opening::kResult, kStoneWithSill,
                 opening::kSashes, kStoneWithoutSill, kTimberWalls, kPrimedTick});
    setRule(separatesashes::compute);
}

Calculators separateSashCalculators() {
    return {calculator<SeparateSashesWindow>(
        20, "Площадь окраски оконных проемов с раздельными переплетами")};
}

} // namespace velaro
